#pragma once

#include "controls/outlook_bar_rect.h"

#include <QColor>
#include <QIcon>
#include <QList>
#include <QPalette>
#include <QSize>
#include <QString>
#include <QVariant>

#include <utility>

class QPainter;

namespace vexo {

class OUTLOOKBAR;
class OUTLOOKBARHEADER;

// The desktop colours the bar's drawing asks for, numbered as the platform numbers them; each is taken
// from a palette.
enum SystemColor {
    COLOR_HIGHLIGHT = 13,
    COLOR_BTNFACE = 15,
    COLOR_BTNSHADOW = 16,
    COLOR_GRAYTEXT = 17,
    COLOR_BTNTEXT = 18,
    COLOR_BTNHIGHLIGHT = 20,
    COLOR_MENUHILIGHT = 29,
};
QColor systemColor(SystemColor which, const QPalette &palette);

// The icons of the bar's items or headers, all of one size, given by the caller.
class OutlookBarImageList
{
public:
    enum class Look { Normal, Selected, Disabled };

    OutlookBarImageList() = default;
    OutlookBarImageList(QSize iconSize, QList<QIcon> icons) : size_(iconSize), icons_(std::move(icons)) {}

    QSize iconSize() const { return size_; }
    qsizetype count() const { return icons_.size(); }

    // Draws image `index` (from 0) with its top-left corner at `at`; an index outside the list draws
    // nothing. Selected blends the icon with the highlight colour, Disabled embosses it in grey.
    void draw(QPainter &painter, int index, QPoint at, Look look, const QPalette &palette) const;

private:
    QSize size_;
    QList<QIcon> icons_;
};

// What every part of the bar has: a name to be found by, its place on the bar, and whether it is
// enabled and held down.
class OUTLOOKBARELEMENT
{
public:
    explicit OUTLOOKBARELEMENT(const QString &name) : name_(name) {}
    virtual ~OUTLOOKBARELEMENT() = default;
    OUTLOOKBARELEMENT(const OUTLOOKBARELEMENT &) = delete;
    OUTLOOKBARELEMENT &operator=(const OUTLOOKBARELEMENT &) = delete;

    const QString &NAMESYM() const { return name_; }
    void setNAMESYM(const QString &name) { name_ = name; }
    const WRECT &AREA() const { return area_; }
    void setAREA(const WRECT &area) { area_ = area; }

    virtual bool HITTEST(QPoint p) const { return area_.POINTINSIDE(p); }

    bool ISENABLED() const { return enabled_; }
    bool ISPRESSED() const { return pressed_; }
    // Both repaint the bar even when the state does not change.
    void ENABLE();
    void DISABLE();
    virtual void UPDATE() {}
    virtual OUTLOOKBAR *CONTROL() const { return nullptr; }

protected:
    // Sets the pressed look; true when it changed, and then the bar redraws at once.
    bool setPressed(bool down);

private:
    QString name_;
    WRECT area_;
    bool pressed_ = false;
    bool enabled_ = true;
};

// Headers and items: an element with a caption and a value kept for the application.
class OUTLOOKBARBASE : public OUTLOOKBARELEMENT
{
public:
    OUTLOOKBARBASE(const QString &name, const QString &caption, const QVariant &value = {})
        : OUTLOOKBARELEMENT(name), caption_(caption), value_(value)
    {
    }

    const QString &CAPTION() const { return caption_; }
    void setCAPTION(const QString &caption) { caption_ = caption; }
    const QVariant &VALUE() const { return value_; }
    void setVALUE(const QVariant &value) { value_ = value; }

private:
    QString caption_;
    QVariant value_;
};

// One of the two scroll arrows of a header, named "_UP" or "_DOWN".
class OUTLOOKBARARROW : public OUTLOOKBARELEMENT
{
public:
    OUTLOOKBARARROW(const QString &name, OUTLOOKBARHEADER &header) : OUTLOOKBARELEMENT(name), header_(header) {}

    void UPDATE() override;
    OUTLOOKBAR *CONTROL() const override;
    bool DRAW(QPainter &painter) const;
    bool PRESS(bool down) { return setPressed(down); }

private:
    OUTLOOKBARHEADER &header_;
};

inline const QString UP_ARROW = QStringLiteral("_UP");
inline const QString DOWN_ARROW = QStringLiteral("_DOWN");

} // namespace vexo
