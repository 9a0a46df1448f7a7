#include "solver/report_data_dialog.h"

#include "controls/edit_subclasses.h"
#include "controls/number_field.h"
#include "resources/resource_library.h"

#include <QButtonGroup>
#include <QEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace vexo {

namespace {

struct FieldPlace
{
    ReportDataForm::Field field;
    int x, y, w, h;
};

const FieldPlace kFields[] = {
    {ReportDataForm::MIXCAPA, 52, 7, 40, 11},    {ReportDataForm::PARABIRIM, 52, 25, 40, 11},
    {ReportDataForm::AGIRBIRIM, 52, 44, 40, 11}, {ReportDataForm::SLE_SKADI, 52, 62, 188, 11},
    {ReportDataForm::SLE_KYADI, 52, 81, 188, 11}, {ReportDataForm::SLE_HAZIR, 52, 99, 188, 11},
};

struct LabelPlace
{
    const char16_t *caption;
    int x, y, w, h;
};

// The captions reach to a dialog unit short of their fields, so that "Ağırlık birimi:" keeps its
// colon in the fonts this program meets.
const LabelPlace kLabels[] = {
    {u"Mikser kapasitesi..:", 8, 3, 43, 17}, {u"Para birimi..:", 8, 29, 43, 11},
    {u"Ağırlık birimi:", 8, 44, 43, 11},    {u"Şirket adı...:", 8, 62, 43, 11},
    {u"Karma      yem adı.....:", 8, 77, 43, 19}, {u"Hazırlayan.:", 8, 99, 43, 12},
};

} // namespace

QRect KYPARMGIR_WIN::dlu(int x, int y, int w, int h) const
{
    // Dialog units: a quarter of the font's average character width, an eighth of its height.
    const QFontMetrics fm(font());
    const double cx = fm.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) / 52.0;
    const double cy = fm.height();
    return QRect(qRound(x * cx / 4), qRound(y * cy / 8), qRound(w * cx / 4), qRound(h * cy / 8));
}

KYPARMGIR_WIN::KYPARMGIR_WIN(QWidget *owner, ReportDataForm &form)
    : QDialog(owner), m_form(form)
{
    setWindowTitle(QStringLiteral("Rapor Verileri"));
    setWindowIcon(ResourceLibrary::icon(QStringLiteral("VXOTOD")));
    setModal(true);
    QFont small = font();
    small.setPointSize(8);
    setFont(small);
    setFixedSize(dlu(0, 0, 248, 126).size());

    for (const LabelPlace &l : kLabels) {
        auto *label = new QLabel(QString::fromUtf16(l.caption), this);
        label->setWordWrap(l.h > 12); // the two-line captions
        label->setGeometry(dlu(l.x, l.y, l.w, l.h));
    }
    for (const FieldPlace &f : kFields) {
        auto *edit = new QVSLE(this);
        edit->setGeometry(dlu(f.x, f.y, f.w, f.h));
        edit->setCURRENTTEXT(m_form.text(f.field));
        edit->installEventFilter(this);
        m_fields[f.field] = edit;
        const auto which = f.field;
        connect(edit, &QLineEdit::textEdited, this, [this, which](const QString &t) { m_form.edit(which, t); });
    }

    guardNumberTyping(m_fields[ReportDataForm::MIXCAPA], numberCharactersText(ReportDataForm::mixerName(), false));

    auto *typeBox = new QGroupBox(QStringLiteral("Tipi:"), this);
    typeBox->setGeometry(dlu(100, 3, 48, 41));
    auto *formatBox = new QGroupBox(QStringLiteral("Fotmatı:"), this);
    formatBox->setGeometry(dlu(156, 14, 52, 41));
    auto radio = [this](QGroupBox *box, const QString &caption, const QString &tip, QRect place) {
        auto *b = new QRadioButton(caption, this);
        b->setToolTip(tip);
        b->setGeometry(place);
        b->raise();
        auto *group = box->findChild<QButtonGroup *>();
        if (!group)
            group = new QButtonGroup(box);
        group->addButton(b);
        connect(b, &QRadioButton::clicked, this, [this, b] { BUTTONCLICK(b); });
        return b;
    };
    m_detay = radio(typeBox, QStringLiteral("Detay"), QStringLiteral("Detay rapor al"), dlu(108, 14, 36, 11));
    m_ozet = radio(typeBox, QStringLiteral("Özet"), QStringLiteral("Özet rapor al"), dlu(108, 25, 32, 11));
    m_tekst = radio(formatBox, QStringLiteral("Tekst"), QStringLiteral("Tekst formatında rapor hazırla ve göster"),
                    dlu(164, 25, 36, 11));
    m_pdf = radio(formatBox, QStringLiteral("PDF"), QStringLiteral("PDF formatında rapor  hazırla ve göster"),
                  dlu(164, 36, 32, 12));

    auto button = [this](const QString &icon, const QString &tip, QRect place) {
        auto *b = new QPushButton(this);
        const QIcon image = ResourceLibrary::icon(icon);
        if (image.isNull())
            b->setText(tip);
        b->setIcon(image);
        b->setIconSize(QSize(24, 24));
        b->setToolTip(tip);
        b->setAutoDefault(false);
        b->setGeometry(place);
        return b;
    };
    m_ok = button(QStringLiteral("VXOOK2"), QStringLiteral("Tamam"), dlu(216, 7, 24, 22));
    m_cancel = button(QStringLiteral("VXOIPTAL2"), QStringLiteral("İptal"), dlu(216, 33, 24, 22));
    connect(m_ok, &QPushButton::clicked, this, &KYPARMGIR_WIN::PBTAMAM);
    connect(m_cancel, &QPushButton::clicked, this, &KYPARMGIR_WIN::PBIPTAL);

    // Tab order: the fields from top to bottom, then the choices and the buttons.
    QWidget *order[] = {m_fields[0], m_fields[1], m_fields[2], m_fields[3], m_fields[4], m_fields[5],
                        m_detay, m_ozet, m_tekst, m_pdf, m_ok, m_cancel};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
    showRadios();
}

void KYPARMGIR_WIN::showRadios()
{
    m_detay->setChecked(!m_form.ozet());
    m_ozet->setChecked(m_form.ozet());
    m_tekst->setChecked(!m_form.pdf());
    m_pdf->setChecked(m_form.pdf());
    m_tekst->setEnabled(m_form.formatEnabled());
    m_pdf->setEnabled(m_form.formatEnabled());
}

void KYPARMGIR_WIN::BUTTONCLICK(QRadioButton *clicked)
{
    if (clicked == m_detay)
        m_form.clickDetay();
    else if (clicked == m_ozet)
        m_form.clickOzet();
    else if (clicked == m_tekst)
        m_form.clickTekst();
    else if (clicked == m_pdf)
        m_form.clickPdf();
    showRadios();
}

bool KYPARMGIR_WIN::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusOut && watched == m_fields[ReportDataForm::MIXCAPA]) {
        QVSLE *mixer = m_fields[ReportDataForm::MIXCAPA];
        const QString refusal = m_form.leave(ReportDataForm::MIXCAPA);
        mixer->setCURRENTTEXT(m_form.text(ReportDataForm::MIXCAPA));
        if (!refusal.isEmpty())
            refuseTyped(mixer, refusal);
    }
    return QDialog::eventFilter(watched, event);
}

void KYPARMGIR_WIN::keyPressEvent(QKeyEvent *event)
{
    // Enter moves on to the next field, as Tab does; on a button it presses the button.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (auto *b = qobject_cast<QPushButton *>(focusWidget())) {
            b->click();
            return;
        }
        focusNextChild();
        return;
    }
    QDialog::keyPressEvent(event);
}

void KYPARMGIR_WIN::PBTAMAM()
{
    QString refusal;
    if (!m_form.accept(&refusal)) {
        // The report waits for a capacity the user gives; the field shows the value it keeps.
        QVSLE *mixer = m_fields[ReportDataForm::MIXCAPA];
        mixer->setCURRENTTEXT(m_form.text(ReportDataForm::MIXCAPA));
        mixer->setFocus();
        refuseTyped(mixer, refusal);
        return;
    }
    done(1);
}

void KYPARMGIR_WIN::PBIPTAL()
{
    m_form.cancel();
    done(0);
}

void KYPARMGIR_WIN::reject()
{
    PBIPTAL();
}

} // namespace vexo
