#include "reports/margin_dialog.h"

#include "controls/edit_subclasses.h"
#include "controls/number_field.h"
#include "controls/picture_button.h"
#include "platform/dialog_units.h"
#include "reports/pad_rules.h"
#include "reports/pad_window.h"
#include "resources/resource_library.h"

#include <QLabel>
#include <QPushButton>

namespace vexo {

MARGINDIALOG::MARGINDIALOG(PADWIN *owner)
    : QDialog(owner)
    , m_owner(owner)
{
    setObjectName(QStringLiteral("MARGINDIALOG"));
    setWindowTitle(QStringLiteral("Sayfa Marjı"));
    setWindowIcon(ResourceLibrary::icon(QStringLiteral("IDI_COCPADICON")));
    setModal(true);
    QFont font(QStringLiteral("MS Shell Dlg"), 8);
    font.setStyleHint(QFont::SansSerif);
    setFont(font);
    const auto dlu = [&](int x, int y, int w, int h) { return dluRect(font, x, y, w, h); };
    setFixedSize(dlu(0, 0, 130, 55).size());

    auto *leftLabel = new QLabel(QStringLiteral("Sol marj...:"), this);
    leftLabel->setGeometry(dlu(8, 11, 34, 12));
    auto *rightLabel = new QLabel(QStringLiteral("Sağ marj..:"), this);
    rightLabel->setGeometry(dlu(8, 33, 34, 11));
    m_left = new QVSLE(this);
    m_left->setObjectName(QStringLiteral("SLELM"));
    m_left->setGeometry(dlu(48, 11, 36, 11));
    m_right = new QVSLE(this);
    m_right->setObjectName(QStringLiteral("SLERM"));
    m_right->setGeometry(dlu(48, 33, 36, 11));

    const auto button = [&](const char *name, const QString &picture, const QString &tip, QRect r) {
        QPushButton *b = pictureButton(this, picture, tip, r.size() * 2 / 3, r.size());
        b->setObjectName(QString::fromLatin1(name));
        b->move(r.topLeft());
        return b;
    };
    m_ok = button("PBOK", QStringLiteral("VXOOK2"), QStringLiteral("Tamam"), dlu(96, 3, 28, 22));
    m_ok->setDefault(true);
    m_cancel = button("PBCANCEL", QStringLiteral("VXOIPTAL2"), QStringLiteral("İptal"), dlu(96, 29, 28, 22));
    m_cancel->setAutoDefault(false);
    connect(m_ok, &QPushButton::clicked, this, &MARGINDIALOG::PBOK);
    connect(m_cancel, &QPushButton::clicked, this, &MARGINDIALOG::PBCANCEL);

    guardNumberTyping(m_left, numberCharactersText(leftName(), false));
    guardNumberTyping(m_right, numberCharactersText(rightName(), false));
    POSTINIT();
    m_left->setFocus();
}

QString MARGINDIALOG::leftName()
{
    return QStringLiteral("Sol marj");
}

QString MARGINDIALOG::rightName()
{
    return QStringLiteral("Sağ marj");
}

void MARGINDIALOG::POSTINIT()
{
    m_lastLeft = QStringLiteral("0");
    m_lastRight = QStringLiteral("7");
    m_left->setCURRENTTEXT(m_lastLeft);
    m_right->setCURRENTTEXT(m_lastRight);
}

void MARGINDIALOG::PBOK()
{
    // A margin is a number of inches, never negative; what is not keeps the field's value and the
    // dialog open, so no margin the user did not give reaches the pad.
    if (!acceptTypedNumber(m_left, leftName(), false, m_lastLeft)) {
        m_left->setFocus();
        return;
    }
    if (!acceptTypedNumber(m_right, rightName(), false, m_lastRight)) {
        m_right->setFocus();
        return;
    }
    m_lastLeft = m_left->text();
    m_lastRight = m_right->text();
    if (m_owner) {
        m_owner->NLEFTMARGIN = marginFieldTwips(m_left->text());
        m_owner->NRIGHTMARGIN = marginFieldTwips(m_right->text());
    }
    done(1);
}

void MARGINDIALOG::PBCANCEL()
{
    done(0);
}

} // namespace vexo
