#pragma once

#include "controls/outlook_bar_element.h"

namespace vexo {

// One entry of a header's group: an icon of the bar's image list with its caption. The bar's layout
// gives it the icon rectangle (AREA) and the caption rectangle.
class OUTLOOKBARITEM : public OUTLOOKBARBASE
{
public:
    OUTLOOKBARITEM(const QString &name, const QString &caption, int imageIndex, const QVariant &value = {});

    int IMAGEINDEX() const { return imageIndex_; }
    OUTLOOKBARHEADER *HEADER() const { return header_; }
    void setPARENTHEADER__(OUTLOOKBARHEADER *header) { header_ = header; }
    OUTLOOKBAR *CONTROL() const override;

    BoundingBox LABELAREA() const { return label_.BOUNDINGBOX(); }
    BoundingBox setLABELAREA(const BoundingBox &box);
    const WRECT &labelRect() const { return label_; }
    void setLabelRect(const WRECT &r) { label_ = r; }

    // The height the item takes in the item area: the icon, and the caption under it when it has one.
    int TOTALHEIGHT() const;
    QColor GRADIENTCOLOR() const { return gradientColor_; }
    void setGRADIENTCOLOR(const QColor &c) { gradientColor_ = c; }

    // Hit on the icon column (down to the caption) or on the caption, and only inside the item area.
    bool HITTEST(QPoint p) const override;
    void UPDATE() override;

    bool DRAW(QPainter &p) const;
    void HILITE(QPainter &p, bool hilite) const;
    bool PRESS(bool down) { return setPressed(down); }
    void DRAWSTD(QPainter &p, bool hilite) const;
    bool DRAWJOV(QPainter &p, bool hilite) const;
    bool DRAWNEW(QPainter &p, bool hilite) const;
    bool DRAWBACKGROUND(QPainter &p, const WRECT &r) const;
    bool DRAWHILITEBACKGROUND(QPainter &p, const WRECT &r) const;
    bool DRAWGRADIENTFILLBACKGROUND(QPainter &p, const WRECT &r, bool hilite) const;

private:
    // The rows the icon column of the hit region and the band of the Jov look reach down to.
    int captionBottom() const { return qMax(label_.TOP, label_.BOTTOM); }
    WRECT band(bool toCaption) const;

    int imageIndex_ = 0;
    OUTLOOKBARHEADER *header_ = nullptr;
    WRECT label_;
    QColor gradientColor_{255, 255, 255};
};

} // namespace vexo
