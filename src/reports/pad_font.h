#pragma once

#include <QColor>
#include <QFont>
#include <QSize>
#include <QString>

class QWidget;

namespace vexo {

// The pad's font as the platform describes a logical font: a character height (negative: the em
// size), an average character width, angles, weight, character set, pitch and family, face name.
class MYFONT
{
public:
    MYFONT(QSize size, int pitchAndFamily, int charset, int escapement, int weight);

    int height() const { return m_height; } // negative: a character height
    int width() const { return m_width; }
    int escapement() const { return m_escapement; }
    int orientation() const { return m_escapement; }
    int weight() const { return m_weight; }
    int charset() const { return m_charset; }
    int pitchAndFamily() const { return m_pitchAndFamily; }
    int outputPrecision() const { return 2; }
    int clipPrecision() const { return 1; }
    int quality() const { return 0; }
    const QString &faceName() const { return m_face; }

    // The font itself: the face at the character height in pixels, stretched so that its average
    // character is `width` pixels wide. The face is found by its name or its metric twin.
    QFont font() const;
    // What a rich-text control takes of the font: face, height and weight; a control keeps no width,
    // so the text keeps the face's own proportions.
    QFont controlFont() const;

private:
    int m_height;
    int m_width;
    int m_escapement;
    int m_weight;
    int m_charset;
    int m_pitchAndFamily;
    QString m_face = QStringLiteral("Courier New");
};

// Courier New of `width` × `height` pixels, fixed pitch, modern family, Turkish character set, normal
// weight.
MYFONT CREATEFONT(int width, int height);

// The font dialog passes through a seam like the message boxes, so that tests answer it. It gets the
// font and the text colour to preset and changes both when the user confirms; false for Cancel.
class FontDialogs
{
public:
    virtual ~FontDialogs() = default;
    virtual bool chooseFont(QWidget *owner, QFont &font, QColor &colour);
};

FontDialogs &fontDialogs();
// Installs a chooser (not owned); nullptr puts Qt's font dialog back.
void setFontDialogs(FontDialogs *dialogs);

} // namespace vexo
