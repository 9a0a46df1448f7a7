#pragma once

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QWidget>

#include <optional>

class QPainter;

namespace vexo {

// The base of the self-drawn text controls (bitmap button, hyperlink): a caption that is also the
// window's text, a font, a text colour and the colour set-up done before painting. Every paint is
// one call of Draw, which the base leaves empty.
//
// The setters are typed, so a caption that is not a text or a colour that is not a colour cannot
// reach the control; there is no "wrong argument type" error to raise.
class JOVCUSTOMTEXTCNTRL : public QWidget
{
    Q_OBJECT
public:
    explicit JOVCUSTOMTEXTCNTRL(QWidget *owner = nullptr, const QString &caption = QString());

    QString Caption() const { return m_caption; }
    // Stores the caption and makes it the window's text; returns it.
    QString setCaption(const QString &caption);
    // Names the control (the name its owner's handler is registered under) and sets its caption.
    void setHyperLabel(const QString &name, const QString &caption);
    QString TextValue() const { return Caption(); }
    QString setTextValue(const QString &text) { return setCaption(text); }

    // Sets the control's font, or clears it when none is given (the window then takes the
    // application's font); returns the font held before.
    std::optional<QFont> FontOp(const std::optional<QFont> &font = std::nullopt);
    // The control's font: its own; else the owner's when the owner was given a font of its own (the
    // control still holds none); else the font the window uses, kept as the control's from now on.
    QFont Font();
    // Sets the control's font, or clears it (the window then takes the system's general font);
    // returns the font now held.
    std::optional<QFont> setFont(const std::optional<QFont> &font);
    // The font the control holds of its own, without creating one.
    const std::optional<QFont> &heldFont() const { return m_font; }

    // None means the palette's window-text colour.
    const std::optional<QColor> &TextColor() const { return m_textColor; }
    // Stores the colour and repaints at once when the control is shown.
    std::optional<QColor> setTextColor(const std::optional<QColor> &colour);

    // The background brush; none paints with the palette's button colour.
    const std::optional<QBrush> &Background() const { return m_background; }
    void setBackground(const std::optional<QBrush> &brush);

    // Asks for a repaint of the whole control.
    void Update() { update(); }
    // Paints the control; the base paints nothing.
    virtual void Draw(QPainter &painter);
    // Sets the painter's pen to the text colour and its background to the control's background;
    // returns the brush to fill the background with.
    virtual QBrush __SetColors(QPainter &painter) const;

    // The window's text as it is now.
    QString __GetText() const { return windowTitle(); }
    QString __SetText(const QString &text);

    // How many times Draw ran; for tests.
    int drawCount() const { return m_draws; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_caption;
    std::optional<QFont> m_font;
    std::optional<QColor> m_textColor;
    std::optional<QBrush> m_background;
    int m_draws = 0;
};

} // namespace vexo
