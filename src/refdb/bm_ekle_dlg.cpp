#include "refdb/bm_ekle_dlg.h"

#include "controls/number_field.h"
#include "controls/picture_button.h"
#include "platform/dbf_field.h"
#include "platform/message_sink.h"
#include "problem/number_text.h"
#include "problem/turkish_text.h"
#include "resources/resource_library.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>

namespace vexo {

QString normaliseAbbreviation(const QString &text)
{
    return TRENDIRECT2(CHRCONTAMPLE(text.trimmed().left(10))).toUpper();
}

QString abbreviationProblem(const QString &abbreviation)
{
    return dbf::structureProblem({{abbreviation.trimmed(), u'C', 11, 0}});
}

bool decimalsAccepted(const QString &text)
{
    static const QRegularExpression whole(QStringLiteral("^\\s*[0-4]\\s*$"));
    return whole.match(text).hasMatch();
}

BM_EKLE_DLG::BM_EKLE_DLG(QWidget *owner, const QStringList &values) : QDialog(owner)
{
    setWindowTitle(QStringLiteral("Besin Maddesi Özellik Yazımı"));
    setWindowIcon(ResourceLibrary::icon(QStringLiteral("VXOMAIN")));
    setModal(true);

    auto *grid = new QGridLayout;
    const QStringList labels = {QStringLiteral("Besin maddesi adı:"), QStringLiteral("Kısaltma:"),
                                QStringLiteral("Birim:"), QStringLiteral("Desimal hane sayısı:")};
    const int widths[] = {180, 120, 78, 80};
    QLineEdit **fields[] = {&SLE_BMADI, &SLE_KISALTMA, &SLE_BRIM, &SLE_DESIM};
    for (int i = 0; i < 4; ++i) {
        auto *edit = new QLineEdit(this);
        edit->setFixedWidth(widths[i]);
        edit->installEventFilter(this);
        *fields[i] = edit;
        auto *label = new QLabel(labels[i], this);
        label->setBuddy(edit);
        grid->addWidget(label, i, 0);
        grid->addWidget(edit, i, 1, Qt::AlignLeft);
    }
    okButton = pictureButton(this, QStringLiteral("VXOOK2"), QStringLiteral("Tamam"), QSize(32, 32), QSize(48, 40));
    cancelButton = pictureButton(this, QStringLiteral("VXOIPTAL2"), QStringLiteral("İptal"), QSize(32, 32), QSize(48, 40));
    for (QPushButton *b : {okButton, cancelButton}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    auto *outer = new QVBoxLayout(this);
    outer->addLayout(grid);
    outer->addLayout(buttons);

    // The values the dialog opens with are the program's writes; only textEdited (the user's own
    // typing) counts as a change.
    const auto value = [&](int i) { return i < values.size() ? values[i] : QString(); };
    if (!value(0).trimmed().isEmpty())
        SLE_BMADI->setText(value(0));
    if (!value(1).trimmed().isEmpty()) {
        SLE_KISALTMA->setText(value(1));
        SLE_KISALTMA->setEnabled(false);
    } else {
        SLE_KISALTMA->setMaxLength(10);
    }
    if (!value(2).trimmed().isEmpty())
        SLE_BRIM->setText(value(2));
    if (!value(3).trimmed().isEmpty())
        SLE_DESIM->setText(value(3));
    m_lastDecimals = SLE_DESIM->text();
    guardNumberTyping(SLE_DESIM, numberCharactersText(fieldName(3), false));

    for (QLineEdit *e : {SLE_BMADI, SLE_BRIM, SLE_DESIM}) {
        connect(e, &QLineEdit::textEdited, this, [this] {
            LBDEG = true;
            m_decimalsRefused = false;
        });
    }
    connect(SLE_KISALTMA, &QLineEdit::textEdited, this, [this](const QString &t) {
        if (!t.isEmpty())
            LADEG = true;
    });
    connect(okButton, &QPushButton::clicked, this, &BM_EKLE_DLG::PB_OK);
    connect(cancelButton, &QPushButton::clicked, this, &BM_EKLE_DLG::PB_IPTAL);
}

QString BM_EKLE_DLG::fieldName(int i)
{
    static const char *const names[] = {"Besin maddesi adı", "Kısaltma", "Birim", "Desimal hane sayısı"};
    return QString::fromUtf8(names[qBound(0, i, 3)]);
}

void BM_EKLE_DLG::normalise(QLineEdit *field)
{
    if (field == SLE_DESIM && SLE_DESIM->text().trimmed().isEmpty())
        return; // refused at OK with the focus here
    if (field == SLE_DESIM && !decimalsAccepted(SLE_DESIM->text())) {
        // A typed number of places that is none keeps the one the field had, and says why.
        SLE_DESIM->setText(m_lastDecimals);
        m_decimalsRefused = true;
        refuseTyped(SLE_DESIM, kDecimalsRefused);
        return;
    }
    if (field == SLE_DESIM) {
        SLE_DESIM->setText(SDAYA(SLE_DESIM->text(), 0));
        m_lastDecimals = SLE_DESIM->text();
    } else if (field == SLE_KISALTMA && SLE_KISALTMA->isEnabled()) {
        SLE_KISALTMA->setText(normaliseAbbreviation(SLE_KISALTMA->text()));
    }
}

bool BM_EKLE_DLG::eventFilter(QObject *watched, QEvent *event)
{
    auto *field = qobject_cast<QLineEdit *>(watched);
    if (field && event->type() == QEvent::FocusOut)
        normalise(field);
    if (field && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            focusNextChild();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void BM_EKLE_DLG::PB_OK()
{
    // Normalised first, as losing the focus to the button would (normalising twice changes nothing).
    normalise(SLE_KISALTMA);
    if (m_decimalsRefused) {
        // The click that left the field brought the refusal: it is seen before anything ends.
        m_decimalsRefused = false;
        SLE_DESIM->setFocus();
        return;
    }
    if (!SLE_DESIM->text().trimmed().isEmpty() && !decimalsAccepted(SLE_DESIM->text())) {
        // Typed and confirmed without leaving the field: the field keeps the number it had.
        SLE_DESIM->setText(m_lastDecimals);
        refuse(SLE_DESIM, kDecimalsRefused);
        return;
    }
    normalise(SLE_DESIM);
    QLineEdit *const fields[] = {SLE_BMADI, SLE_KISALTMA, SLE_BRIM, SLE_DESIM};
    for (int i = 0; i < 4; ++i) {
        if (fields[i]->text().trimmed().isEmpty()) {
            refuse(fields[i], fieldName(i) + QStringLiteral(" girilmedi..."));
            return;
        }
    }
    // Only a whole number of 0 to 4 places, and an abbreviation a table takes as a column name.
    if (LBDEG && !decimalsAccepted(SLE_DESIM->text())) {
        refuse(SLE_DESIM, kDecimalsRefused);
        return;
    }
    if (const QString problem = LADEG ? abbreviationProblem(SLE_KISALTMA->text()) : QString(); !problem.isEmpty()) {
        refuse(SLE_KISALTMA, kAbbreviationRefused + QStringLiteral(" : ") + problem);
        return;
    }
    if (LBDEG) {
        SBMADI = SLE_BMADI->text().trimmed();
        SBRIM = SLE_BRIM->text().trimmed();
        SDESIM = SDAYA(SLE_DESIM->text(), 0);
    }
    if (LADEG)
        SKISALTMA = SLE_KISALTMA->text().trimmed();
    if (!LBDEG && !LADEG) {
        PB_IPTAL();
        return;
    }
    RESULT = 1;
    done(1);
}

void BM_EKLE_DLG::refuse(QLineEdit *field, const QString &why)
{
    showMessage(this, QStringLiteral("Uyarı..."), why, MB_OK | MB_ICONINFORMATION);
    field->setFocus();
    field->selectAll();
}

void BM_EKLE_DLG::PB_IPTAL()
{
    SBMADI.clear();
    SKISALTMA.clear();
    SBRIM.clear();
    SDESIM.clear();
    LBDEG = false;
    LADEG = false;
    RESULT = 0;
    done(0);
}

void BM_EKLE_DLG::reject()
{
    PB_IPTAL();
}

} // namespace vexo
