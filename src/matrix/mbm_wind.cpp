#include "matrix/mbm_wind.h"

#include "controls/edit_subclasses.h"
#include "controls/number_field.h"
#include "controls/picture_button.h"
#include "problem/number_text.h"
#include "resources/resource_library.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace vexo {

QString MBM_WIND::valueName()
{
    return QStringLiteral("Makro BM değeri");
}

MBM_WIND::MBM_WIND(QWidget *owner, const QString &prompt, const QString &value)
    : QDialog(owner), m_given(value), m_last(value)
{
    setWindowTitle(QStringLiteral("Makro BM Yeni Değer Girişi"));
    setWindowIcon(ResourceLibrary::icon(QStringLiteral("VXOTOD")));
    setModal(true);
    m_prompt = new QLabel(prompt, this);
    m_prompt->setFont(QFont(QStringLiteral("Arial"), 10));
    m_prompt->setWordWrap(true);
    m_edit = new QVSLE(this);
    m_edit->setCURRENTTEXT(value);
    m_edit->installEventFilter(this);
    guardNumberTyping(m_edit, numberCharactersText(valueName()));
    connect(m_edit, &QLineEdit::textEdited, this, [this] { m_refused = false; });
    m_ok = pictureButton(this, QStringLiteral("VXOOK2"), QStringLiteral("Tamam"), QSize(24, 24), QSize(40, 36));
    m_ok->setDefault(true);
    m_cancel = pictureButton(this, QStringLiteral("VXOIPTAL2"), QStringLiteral("İptal"), QSize(24, 24), QSize(40, 36));
    m_cancel->setAutoDefault(false);
    connect(m_ok, &QPushButton::clicked, this, &MBM_WIND::PBTAMAM);
    connect(m_cancel, &QPushButton::clicked, this, &MBM_WIND::PBIPTAL);

    auto *grid = new QGridLayout(this);
    grid->addWidget(m_prompt, 0, 0);
    grid->addWidget(m_edit, 1, 0);
    grid->addWidget(m_ok, 0, 1);
    grid->addWidget(m_cancel, 1, 1);
    const QFontMetrics fm(font());
    resize(qRound(224 * fm.averageCharWidth() / 4.0), qRound(59 * fm.height() / 8.0));
    CTXTVAL = value;
    m_edit->setFocus();
}

bool MBM_WIND::takeTyped()
{
    // A value is a number (a negative too) that fits the 11-character cell it is written into; what is
    // not gives the field its last value back and says why.
    if (!acceptTypedNumber(m_edit, valueName(), true, m_last))
        return false;
    bool fits = false;
    const QString value = SDAYA(m_edit->text(), 4, &fits);
    if (!fits) {
        m_edit->setCURRENTTEXT(m_last);
        refuseTyped(m_edit, typedNumberRefusal(valueName(), TypedNumberFault::NotANumber));
        return false;
    }
    m_edit->setCURRENTTEXT(value);
    m_last = value;
    return true;
}

bool MBM_WIND::eventFilter(QObject *watched, QEvent *event)
{
    // Judged and normalised only when the field is left after the user changed it.
    if (watched == m_edit && event->type() == QEvent::FocusOut && m_edit->isModified()) {
        m_edit->setModified(false);
        m_refused = !takeTyped();
    }
    return QDialog::eventFilter(watched, event);
}

void MBM_WIND::PBTAMAM()
{
    if (m_refused) {
        // The click that left the field brought the refusal: it is seen before anything ends.
        m_refused = false;
        m_edit->setFocus();
        return;
    }
    // The value goes back as a number text, so it fits the 11-character cell it is written into.
    if (!takeTyped()) {
        m_edit->setFocus();
        return;
    }
    CTXTVAL = m_last;
    done(1);
}

void MBM_WIND::PBIPTAL()
{
    CTXTVAL = m_given;
    done(0);
}

void MBM_WIND::reject()
{
    PBIPTAL();
}

} // namespace vexo
