#include "editfields/wm_bitmap_button.h"

#include "editfields/date_sle.h"
#include "editfields/search_sle.h"
#include "resources/resource_library.h"

#include <QPainter>

namespace vexo {

PartnerGeometry partnerButtonGeometry(const QRect &edit)
{
    return {QRect(edit.topLeft(), QSize(edit.width() - 30, edit.height())),
            QRect(edit.left() + edit.width() - 28, edit.top(), 30, edit.height() + 1)};
}

void placePartnerButton(QWidget *field, QWidget *button)
{
    const PartnerGeometry g = partnerButtonGeometry(field->geometry());
    button->setGeometry(g.button);
    field->resize(g.edit.size());
    button->show();
}

WMBITMAPBUTTON::WMBITMAPBUTTON(QWidget *owner, const QString &upPicture, const QString &downPicture)
    : QPushButton(owner)
    , m_up(ResourceLibrary::pixmap(upPicture))
    , m_down(ResourceLibrary::pixmap(downPicture))
{
    setFocusPolicy(Qt::TabFocus);
    connect(this, &QPushButton::pressed, this, [this] {
        state.setPressed(true);
        update();
    });
    connect(this, &QPushButton::released, this, [this] {
        state.setPressed(false);
        update();
    });
}

void WMBITMAPBUTTON::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), palette().brush(QPalette::Button));
    const QPixmap &picture = currentPicture();
    // The picture sits in the middle of the button, which is a little larger than it.
    const QPoint at((width() - picture.width()) / 2, (height() - picture.height()) / 2);
    p.drawPixmap(at, picture);
}

DATEPB::DATEPB(QWidget *owner, DATESLE *partner)
    : WMBITMAPBUTTON(owner, QStringLiteral("IBM_CALUP"), QStringLiteral("IBM_CALDN"))
    , m_partner(partner)
{
    setObjectName(QStringLiteral("DATEPB"));
    connect(this, &QPushButton::clicked, this, [this] {
        if (m_partner && !m_partner->isReadOnly())
            m_partner->command(kCommandCalendar);
    });
}

DATESLE *DATEPB::OSLE() const
{
    return m_partner;
}

SEARCHPB::SEARCHPB(QWidget *owner, SEARCHSLE *partner)
    : WMBITMAPBUTTON(owner, QStringLiteral("IBM_MAGNIFUP"), QStringLiteral("IBM_MAGNIFDN"))
    , m_partner(partner)
{
    setObjectName(QStringLiteral("SEARCHPB"));
    setFocusPolicy(Qt::NoFocus); // unlike the calendar button it is no tab stop
    connect(this, &QPushButton::clicked, this, [this] {
        if (m_partner && !m_partner->isReadOnly())
            m_partner->search();
    });
}

SEARCHSLE *SEARCHPB::OSLE() const
{
    return m_partner;
}

} // namespace vexo
