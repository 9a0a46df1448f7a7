#pragma once

#include <QColor>
#include <QDialog>
#include <QFont>
#include <QSize>
#include <QString>

class QComboBox;
class QDialogButtonBox;
class QFontDialog;
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

// The pad's font dialog: Qt's font chooser with the text colour beside it ("Renk:", the sixteen
// standard colours and the preset one when it is none of them), "Tamam" and "İptal". Confirmed
// without a change to the font, it hands back the font it was preset with, whatever sizes the
// chooser rounds to.
class PadFontDialog : public QDialog
{
    Q_OBJECT

public:
    PadFontDialog(QWidget *owner, const QFont &font, const QColor &colour);

    QFontDialog *fontChooser() const { return m_chooser; }
    QComboBox *colourChoice() const { return m_colours; }
    QDialogButtonBox *buttons() const { return m_buttons; }

    QFont chosenFont() const;
    QColor chosenColour() const;

private:
    QFontDialog *m_chooser;
    QComboBox *m_colours;
    QDialogButtonBox *m_buttons;
    QFont m_preset;  // as handed in
    QFont m_initial; // as the chooser showed it at the start
};

FontDialogs &fontDialogs();
// Installs a chooser (not owned); nullptr puts Qt's font dialog back.
void setFontDialogs(FontDialogs *dialogs);

} // namespace vexo
