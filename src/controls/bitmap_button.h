#pragma once

#include "controls/bitmap_layout.h"
#include "controls/custom_text_control.h"

#include <QIcon>
#include <QList>

#include <optional>

namespace vexo {

// Whether buttons draw their face and caption through the current style (the "themed" look) or as
// classic 3-D push buttons. The answer is the style's unless a test sets it.
class BitmapButtonThemes
{
public:
    static bool loaded();
    // Overrides the answer; none goes back to asking the style.
    static void setLoaded(std::optional<bool> answer);
};
bool JOVXPTHEMESLOADED();

// A button's images by state: 0 normal, 1 pressed, 2 hot, 3 disabled, all drawn at one size. A list
// with fewer images serves every state from those it has.
struct BitmapImageList
{
    QSize size{16, 16};
    QList<QIcon> images;
    int count() const { return int(images.size()); }
};

// A push button that paints itself: an image from its image list and the caption at one of five
// caption positions, with looks for the normal, hot, pressed, focused and disabled states. A click
// (left release while pressed, click(), Enter, or Space) runs the owner's handler registered under
// the button's name (see NamedCommandOwner).
//
// The painting runs as a pipeline of steps that subclasses may replace one by one: background, face,
// image, caption, focus; the layout area comes from _GetClientRect.
class JOVBITMAPBUTTON : public JOVCUSTOMTEXTCNTRL
{
    Q_OBJECT
public:
    explicit JOVBITMAPBUTTON(QWidget *owner = nullptr, const QString &caption = QString());

    CaptionPos captionPos() const { return m_captionPos; }
    CaptionPos setCaptionPos(CaptionPos pos);
    // Takes one of the five symbols; another text keeps the position held. Returns the position held.
    CaptionPos setCaptionPos(const QString &symbol);

    const std::optional<BitmapImageList> &ImageList() const { return m_imageList; }
    void setImageList(const std::optional<BitmapImageList> &list);
    bool UseXPTheme() const { return m_themed; }
    void setUseXPTheme(bool themed);

    bool isPressed() const { return m_pressed; }
    bool isHot() const { return m_hot; }
    bool isFocused() const { return m_focused; }
    // Whether the face and caption are drawn themed right now.
    bool drawsThemed() const { return m_themed && JOVXPTHEMESLOADED(); }

    // The button's click: runs the owner's handler of the button's name. A disabled button does
    // nothing.
    void click();
    // Sets the pushed-in look; a change clears the hot look.
    void setState(bool pressed);

    void Draw(QPainter &painter) override;

    virtual void _DrawBackground(QPainter &painter);
    virtual void _DrawControl(QPainter &painter);
    virtual void _DrawImage(QPainter &painter);
    virtual void _DrawText(QPainter &painter);
    virtual void _DrawFocus(QPainter &painter);
    // The area the image, caption and focus rectangle are laid out in.
    virtual QSize _GetClientRect() const;
    virtual EdgeRect _CalcImageRect() const;
    // Measured in the painter's current font.
    virtual EdgeRect _CalcTextRect(const QPainter &painter) const;

    // An 8 x 8 checkerboard of single pixels (the first row starts with a set pixel), for
    // half-tone fills; no drawing step of the button uses it.
    static QBrush _GetHalftoneBrush();

    QSize sizeHint() const override;

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    bool shifted() const { return m_pressed || !isEnabled(); }

    std::optional<BitmapImageList> m_imageList;
    CaptionPos m_captionPos = CaptionPos::CENTER;
    bool m_pressed = false;
    bool m_focused = false;
    bool m_hot = false;
    bool m_themed = false;
    bool m_spaceDown = false;
};

} // namespace vexo
