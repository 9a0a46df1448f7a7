#pragma once

#include <QBrush>
#include <QColor>
#include <QCursor>
#include <QLabel>
#include <QPixmap>
#include <QString>
#include <QVariant>

#include <optional>

namespace vexo {

// The window library's colours given by a single number: 0 black, 1 blue, 2 green, 3 cyan, 4 red,
// 7 white; any other number is no colour (an invalid QColor).
QColor predefinedColour(int number);

// A brush that lets its drawing object go when the object is finished with (AXIT), so that a
// control's background brush is freed with the control.
class FTHBRUSH_
{
public:
    explicit FTHBRUSH_(const QColor &colour, Qt::BrushStyle style = Qt::SolidPattern);
    ~FTHBRUSH_();
    FTHBRUSH_(const FTHBRUSH_ &) = delete;
    FTHBRUSH_ &operator=(const FTHBRUSH_ &) = delete;

    const QBrush &brush() const { return m_brush; }
    bool destroyed() const { return m_destroyed; }
    void Destroy();
    void AXIT() { Destroy(); }

private:
    QBrush m_brush;
    bool m_destroyed = false;
};

// A fixed text that opens a link when clicked: LINK, or its own caption when LINK is empty, through
// the desktop's shell-open seam. Blue on white. It shows the hand pointer while a mouse-tracking
// window tells it the mouse is over it (MOUSEENTER) until it tells it the mouse left (MOUSEEXIT).
class FIXEDTEXTHYPERLINK : public QLabel
{
    Q_OBJECT
public:
    explicit FIXEDTEXTHYPERLINK(QWidget *owner = nullptr, const QString &caption = QString());
    ~FIXEDTEXTHYPERLINK() override;

    QString LINK;

    // What a click opens.
    QString target() const;
    const FTHBRUSH_ &backgroundBrush() const { return *m_brush; }
    // The pointer kept at the last MOUSEENTER.
    std::optional<QCursor> savedCursor() const { return m_saved; }

    Q_INVOKABLE void MOUSEENTER();
    Q_INVOKABLE void MOUSEEXIT();

protected:
    void mousePressEvent(QMouseEvent *event) override;

private:
    FTHBRUSH_ *m_brush;
    std::optional<QCursor> m_saved;
};

// A bitmap read from a file at its natural size instead of from the program's resources; a file that
// cannot be read leaves it without a picture.
class VOBITMAPFROMDISK
{
public:
    VOBITMAPFROMDISK(const QVariant &unused, const QString &file);
    const QPixmap &Handle() const { return m_pixmap; }
    bool isNull() const { return m_pixmap.isNull(); }
    QSize Size() const { return m_pixmap.size(); }

private:
    QPixmap m_pixmap;
};

} // namespace vexo
