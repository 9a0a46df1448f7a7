#pragma once

#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QRect>

namespace vexo {

class DATESLE;
class SEARCHSLE;

// The pressed-or-released state of a bitmap button. A two-state button latches: the first click
// leaves it pressed, the next one releases it.
struct BitmapButtonState
{
    bool LDOWN = false;
    bool LTWOSTATE = false;
    bool LINSTATE = false;

    void setPressed(bool pressed)
    {
        if (!LTWOSTATE)
            LDOWN = pressed;
        else if (pressed && !LDOWN)
            LINSTATE = LDOWN = true;
        else if (!pressed && LINSTATE)
            LINSTATE = false;
        else if (!pressed)
            LDOWN = false;
    }
};

// Where a partner button goes beside its field (Qt's coordinates, top-left origin): 30 pixels wide,
// level with the field's top, one pixel taller, ending 2 pixels right of the field's old right edge;
// the field is narrowed by 30, leaving a gap of 2.
struct PartnerGeometry
{
    QRect edit;
    QRect button;
};
PartnerGeometry partnerButtonGeometry(const QRect &edit);
// Places the button beside the field in the field's owner and narrows the field for it.
void placePartnerButton(QWidget *field, QWidget *button);

// A push button drawn from two pictures, released and pressed.
class WMBITMAPBUTTON : public QPushButton
{
    Q_OBJECT
public:
    WMBITMAPBUTTON(QWidget *owner, const QString &upPicture, const QString &downPicture);

    BitmapButtonState state;
    const QPixmap &HBITMAPUP() const { return m_up; }
    const QPixmap &HBITMAPDOWN() const { return m_down; }
    // The picture the button shows now.
    const QPixmap &currentPicture() const { return state.LDOWN ? m_down : m_up; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap m_up;
    QPixmap m_down;
};

// The calendar button of a date field: a click opens the calendar unless the field is read-only.
class DATEPB : public WMBITMAPBUTTON
{
    Q_OBJECT
public:
    static constexpr int kId = 10101;
    DATEPB(QWidget *owner, DATESLE *partner);
    DATESLE *OSLE() const;

private:
    QPointer<DATESLE> m_partner;
};

// The magnifier button of a search field: a click searches unless the field is read-only.
class SEARCHPB : public WMBITMAPBUTTON
{
    Q_OBJECT
public:
    static constexpr int kId = 10103;
    SEARCHPB(QWidget *owner, SEARCHSLE *partner);
    SEARCHSLE *OSLE() const;

private:
    QPointer<SEARCHSLE> m_partner;
};

} // namespace vexo
