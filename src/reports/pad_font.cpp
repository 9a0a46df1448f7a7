#include "reports/pad_font.h"

#include <QFontDialog>
#include <QFontMetricsF>

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
}

bool FontDialogs::chooseFont(QWidget *owner, QFont &font, QColor &colour)
{
    // Qt's dialog has no colour choice, so the colour stays as it was.
    Q_UNUSED(colour);
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, font, owner);
    if (ok)
        font = chosen;
    return ok;
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
