#pragma once

#include "controls/outlook_bar_element.h"
#include "controls/outlook_bar_layout.h"

#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace vexo {

class OUTLOOKBARITEM;

// A header button of the navigation bar with its group of items, its scroll position and its two
// scroll arrows. The bar lays it out and draws it; the header turns a scroll request into a new first
// visible item.
class OUTLOOKBARHEADER : public OUTLOOKBARBASE
{
public:
    OUTLOOKBARHEADER(const QString &name, const QString &caption, const QVariant &value = {}, int imageIndex = 0);
    ~OUTLOOKBARHEADER() override;

    // Items, in the order they were added; each is found under the name it had when it was added.
    OUTLOOKBARITEM *ADDITEM(std::unique_ptr<OUTLOOKBARITEM> item);
    int ITEMCOUNT() const { return int(items_.size()); }
    OUTLOOKBARITEM *GETITEM(int position) const; // from 1; none outside 1..ITEMCOUNT
    OUTLOOKBARITEM *GETITEMFROMSYMBOL(const QString &name) const;

    bool SCROLLUP();
    bool SCROLLDOWN();
    int FIRSTVISIBLEITEM() const { return firstVisible_; }
    void setFIRSTVISIBLEITEM(int position) { firstVisible_ = position; }
    int LASTVISIBLEITEM() const { return lastVisible_; }
    void setLASTVISIBLEITEM(int position) { lastVisible_ = position; }
    bool ISUPARROW() const { return isUpArrow_; }
    void setISUPARROW(bool shown) { isUpArrow_ = shown; }
    bool ISDOWNARROW() const { return isDownArrow_; }
    void setISDOWNARROW(bool shown) { isDownArrow_ = shown; }
    OUTLOOKBARARROW &UPARROW() { return upArrow_; }
    OUTLOOKBARARROW &DOWNARROW() { return downArrow_; }
    const OUTLOOKBARARROW &UPARROW() const { return upArrow_; }
    const OUTLOOKBARARROW &DOWNARROW() const { return downArrow_; }
    bool SETUPARROWPOS(const WRECT &r);
    bool SETDOWNARROWPOS(const WRECT &r);

    // Own colours; assigning them does not repaint.
    QColor TEXTCOLOR() const { return textColor_; }
    void setTEXTCOLOR(const QColor &c) { textColor_ = c; }
    QColor HILITECOLOR() const { return hiliteColor_; }
    void setHILITECOLOR(const QColor &c) { hiliteColor_ = c; }
    QColor GRADIENTCOLOR() const { return gradientColor_; }
    void setGRADIENTCOLOR(const QColor &c) { gradientColor_ = c; }
    // Gives every item the same gradient colour.
    void ITEMSGRADIENTCOLOR__(const QColor &c);
    int IMAGEINDEX() const { return imageIndex_; }

    // The bar's properties of the same names.
    QColor BACKGROUNDCOLOR() const;
    QColor HILITEBACKGROUNDCOLOR() const;
    std::optional<QColor> ITEMSBACKGROUNDCOLOR() const;
    bool ISITEMSBOXED() const;
    OutlookBarStyle STYLE() const;

    OUTLOOKBAR *CONTROL() const override { return bar_; }
    void setOUTLOOKBAR__(OUTLOOKBAR *bar) { bar_ = bar; }
    void UPDATE() override;

    void DRAW(QPainter &p) const;
    void DRAWSTD(QPainter &p) const;
    void DRAWJOV(QPainter &p) const;
    void DRAWNEW(QPainter &p) const;
    void DRAWJOVTEXT_(QPainter &p) const;
    // The caption as the drawn header shows it: cut short with an ellipsis where the header is too
    // narrow for it.
    QString shownCaption() const;
    // The header width that shows the whole caption in the bold font of the active header.
    int fullCaptionWidth() const;
    bool DRAWGRADIENTFILLBACKGROUND(QPainter &p, const WRECT &r, bool active) const;
    bool DRAWITEMS(QPainter &p, const WRECT &area) const;
    bool DRAWARROWS(QPainter &p) const;
    bool PRESS(bool down) { return setPressed(down); }

private:
    bool isActive() const;
    QFont captionFont() const;
    QRect captionRect() const;
    int imageShift() const;
    void drawFrame(QPainter &p, bool gradient) const;
    void drawIcon(QPainter &p) const;

    std::vector<std::pair<QString, std::unique_ptr<OUTLOOKBARITEM>>> items_;
    int firstVisible_ = -1;
    int lastVisible_ = -1;
    OUTLOOKBAR *bar_ = nullptr;
    bool isUpArrow_ = false;
    bool isDownArrow_ = false;
    OUTLOOKBARARROW upArrow_{UP_ARROW, *this};
    OUTLOOKBARARROW downArrow_{DOWN_ARROW, *this};
    QColor textColor_;
    QColor hiliteColor_;
    QColor gradientColor_{247, 194, 95};
    int imageIndex_ = 0;
};

} // namespace vexo
