#pragma once

#include <QIcon>
#include <QPushButton>
#include <QRect>

#include <optional>

namespace vexo {

// A rectangle by its edges, right and bottom one past the last pixel, as the button's painting rules
// count them.
struct EdgeRect
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    QRect toRect() const { return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)); }
    bool operator==(const EdgeRect &) const = default;
};

// Where the parts of an icon push button go for a button of `size` in a given state.
struct IconButtonGeometry
{
    EdgeRect frame;       // the 3-D frame (one pixel larger than the button when neither focused nor pressed)
    bool outline = false; // a dark line along the top and left edge (focused or pressed)
    QRect icon;           // empty when the button has no up icon
    EdgeRect caption;     // the caption is centred in it; the focus rectangle runs around it
};

IconButtonGeometry iconButtonGeometry(QSize size, bool pressed, bool focused, bool hasUpIcon, int leftIconBorder = 4);

// A push button that paints itself: a 3-D face, an icon at the left (separate icons for the normal,
// pressed and disabled state), the caption centred in the rest, embossed grey when disabled, and a
// focus rectangle around the caption.
//
// An icon slot holds "none" (std::nullopt) or an icon; an icon whose picture is missing is still set:
// it draws nothing but keeps its room at the left of the caption.
class ICONPUSHBUTTON : public QPushButton
{
    Q_OBJECT
public:
    explicit ICONPUSHBUTTON(QWidget *owner = nullptr, const QString &caption = QString());

    // Assigns only, as the icons are set once by the presets. Setting one of the up and down icons
    // also fills the other when it is still none.
    void setICONUP(const std::optional<QIcon> &icon);
    void setICONDOWN(const std::optional<QIcon> &icon);
    void setICONDISABLED(const std::optional<QIcon> &icon);
    void setLEFTICONBORDER(quint32 x) { m_leftIconBorder = x; }
    // A colour value 0x00BBGGRR; 0 means the palette's button-text colour.
    void setBUTTONTEXTCOLOR(quint32 colour) { m_buttonTextColor = colour; }

    void ENABLE();
    void DISABLE();

    // Read back for the windows that place the button and for tests.
    const std::optional<QIcon> &iconUp() const { return m_iconUp; }
    const std::optional<QIcon> &iconDown() const { return m_iconDown; }
    const std::optional<QIcon> &iconDisabled() const { return m_iconDisabled; }
    quint32 leftIconBorder() const { return m_leftIconBorder; }
    quint32 buttonTextColor() const { return m_buttonTextColor; }
    // The icon the current state shows (none when no up icon is set).
    std::optional<QIcon> currentIcon() const;
    QColor captionColor() const;
    // How many repaints the button's own rules asked for (icons, enabling); for tests.
    int repaintRequests() const { return m_repaints; }
    bool painted() const { return !m_unpainted; }

    // Room for the icon (as wide as the button is high) beside the caption.
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void requestRepaint();

    std::optional<QIcon> m_iconUp;
    std::optional<QIcon> m_iconDown;
    std::optional<QIcon> m_iconDisabled;
    quint32 m_leftIconBorder = 4;
    quint32 m_buttonTextColor = 0;
    bool m_unpainted = true;
    int m_repaints = 0;
};

} // namespace vexo
