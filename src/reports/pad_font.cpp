#include "reports/pad_font.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace vexo {

MYFONT::MYFONT(QSize size, int pitchAndFamily, int charset, int escapement, int weight)
    : m_height(-size.height())
    , m_width(size.width())
    , m_escapement(escapement)
    , m_weight(weight)
    , m_charset(charset & 0xFF)
    , m_pitchAndFamily(pitchAndFamily & 0xFF)
{
}

QFont MYFONT::controlFont() const
{
    QFont f(m_face);
    f.setPixelSize(qAbs(m_height));
    // Weights are on the same 100..900 scale; 0 asks for the face's normal weight.
    f.setWeight(QFont::Weight(qBound(100, m_weight == 0 ? 400 : m_weight, 900)));
    f.setStyleHint((m_pitchAndFamily & 0xF0) == 0x30 ? QFont::TypeWriter : QFont::AnyStyle);
    f.setFixedPitch((m_pitchAndFamily & 0x03) == 1);
    return f;
}

QFont MYFONT::font() const
{
    QFont f = controlFont();
    if (m_width > 0) {
        const qreal natural = QFontMetricsF(f).averageCharWidth();
        if (natural > 0)
            f.setStretch(qBound(1, qRound(100.0 * m_width / natural), 4000));
    }
    return f;
}

MYFONT CREATEFONT(int width, int height)
{
    return MYFONT(QSize(width, height), 0x31, 162, 0, 400);
}

namespace {

FontDialogs *g_fontDialogs = nullptr;

// The standard text colours a font dialog offers.
struct NamedColour
{
    const char16_t *name;
    QRgb rgb;
};
constexpr NamedColour kTextColours[] = {
    {u"Siyah", 0x000000},   {u"Bordo", 0x800000},  {u"Yeşil", 0x008000},  {u"Zeytin", 0x808000},
    {u"Lacivert", 0x000080}, {u"Mor", 0x800080},    {u"Deniz Yeşili", 0x008080}, {u"Gri", 0x808080},
    {u"Gümüş", 0xC0C0C0},   {u"Kırmızı", 0xFF0000}, {u"Açık Yeşil", 0x00FF00}, {u"Sarı", 0xFFFF00},
    {u"Mavi", 0x0000FF},    {u"Fuşya", 0xFF00FF},  {u"Su Mavisi", 0x00FFFF}, {u"Beyaz", 0xFFFFFF},
};

QIcon swatch(const QColor &colour)
{
    QPixmap pixmap(24, 12);
    pixmap.fill(colour);
    QPainter painter(&pixmap);
    painter.setPen(Qt::darkGray);
    painter.drawRect(pixmap.rect().adjusted(0, 0, -1, -1));
    return QIcon(pixmap);
}

bool sameChoice(const QFont &a, const QFont &b)
{
    return a.family() == b.family() && qFuzzyCompare(a.pointSizeF(), b.pointSizeF()) && a.weight() == b.weight()
        && a.italic() == b.italic() && a.underline() == b.underline() && a.strikeOut() == b.strikeOut();
}

} // namespace

PadFontDialog::PadFontDialog(QWidget *owner, const QFont &font, const QColor &colour)
    : QDialog(owner)
    , m_chooser(new QFontDialog(this))
    , m_colours(new QComboBox(this))
    , m_buttons(new QDialogButtonBox(this))
    , m_preset(font)
{
    setWindowTitle(QStringLiteral("Yazı Tipi"));
    // The chooser lives inside this dialog as a plain widget, without buttons of its own.
    m_chooser->setWindowFlags(Qt::Widget);
    m_chooser->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
    QFont shown = font;
    if (shown.pointSizeF() <= 0) // the chooser lists point sizes
        shown.setPointSizeF(QFontInfo(font).pointSizeF());
    m_chooser->setCurrentFont(shown);
    m_initial = m_chooser->currentFont();

    bool listed = false;
    for (const NamedColour &c : kTextColours) {
        const QColor value = QColor::fromRgb(c.rgb);
        m_colours->addItem(swatch(value), QString::fromUtf16(c.name), value);
        if (value.rgb() == colour.rgb()) {
            m_colours->setCurrentIndex(m_colours->count() - 1);
            listed = true;
        }
    }
    if (!listed && colour.isValid()) {
        m_colours->addItem(swatch(colour), QStringLiteral("Özel"), colour);
        m_colours->setCurrentIndex(m_colours->count() - 1);
    }
    auto *colourLabel = new QLabel(QStringLiteral("&Renk:"), this);
    colourLabel->setBuddy(m_colours);

    m_buttons->addButton(QStringLiteral("Tamam"), QDialogButtonBox::AcceptRole)->setDefault(true);
    m_buttons->addButton(QStringLiteral("İptal"), QDialogButtonBox::RejectRole);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *colourRow = new QHBoxLayout;
    colourRow->addWidget(colourLabel);
    colourRow->addWidget(m_colours);
    colourRow->addStretch(1);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_chooser);
    layout->addLayout(colourRow);
    layout->addWidget(m_buttons);
}

QFont PadFontDialog::chosenFont() const
{
    const QFont current = m_chooser->currentFont();
    return sameChoice(current, m_initial) ? m_preset : current;
}

QColor PadFontDialog::chosenColour() const
{
    return m_colours->currentData().value<QColor>();
}

bool FontDialogs::chooseFont(QWidget *owner, QFont &font, QColor &colour)
{
    PadFontDialog dialog(owner, font, colour);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    font = dialog.chosenFont();
    colour = dialog.chosenColour();
    return true;
}

FontDialogs &fontDialogs()
{
    static FontDialogs qtDialogs;
    return g_fontDialogs ? *g_fontDialogs : qtDialogs;
}

void setFontDialogs(FontDialogs *dialogs)
{
    g_fontDialogs = dialogs;
}

} // namespace vexo
