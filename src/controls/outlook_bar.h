#pragma once

#include "controls/outlook_bar_element.h"
#include "controls/outlook_bar_header.h"
#include "controls/outlook_bar_item.h"
#include "controls/outlook_bar_layout.h"

#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace vexo {

// What the bar's owner may offer. The bar reports an event only when the owner has set its handler.
struct OutlookBarOwner
{
    virtual ~OutlookBarOwner() = default;
    std::function<void(OUTLOOKBARHEADER &)> OLBHEADERCHANGED; // another header was opened
    std::function<void(OUTLOOKBARITEM &)> OLBITEMCLICKED;     // an enabled item was clicked
    std::function<void(OUTLOOKBARITEM &)> OLBITEMCHANGED;     // the click was on another item than last time
};

// The navigation bar: a column of header buttons, one of them open, whose items (icons with captions)
// fill the space between the headers above and below it, with scroll arrows when they do not fit.
class OUTLOOKBAR : public QWidget
{
    Q_OBJECT

public:
    explicit OUTLOOKBAR(OutlookBarOwner *owner = nullptr, QWidget *parent = nullptr);
    ~OUTLOOKBAR() override;

    OutlookBarOwner *owner() const { return owner_; }
    void setOwner(OutlookBarOwner *owner) { owner_ = owner; }

    // Properties; assigning one repaints unless told otherwise.
    const OutlookBarImageList *IMAGELIST() const { return imageList_ ? &*imageList_ : nullptr; }
    void setIMAGELIST(std::optional<OutlookBarImageList> list);
    const OutlookBarImageList *SMALLIMAGELIST() const { return smallImageList_ ? &*smallImageList_ : nullptr; }
    void setSMALLIMAGELIST(std::optional<OutlookBarImageList> list);
    QColor BACKGROUNDCOLOR() const { return background_; }
    void setBACKGROUNDCOLOR(const QColor &c);
    QColor HILITEBACKGROUNDCOLOR() const { return hiliteBackground_; }
    void setHILITEBACKGROUNDCOLOR(const QColor &c) { hiliteBackground_ = c; } // no repaint
    std::optional<QColor> ITEMSBACKGROUNDCOLOR() const { return itemsBackground_; }
    void setITEMSBACKGROUNDCOLOR(std::optional<QColor> c);
    const QString &ACTIVEHEADER() const { return activeHeader_; }
    void setACTIVEHEADER(const QString &name);
    int HEADERHEIGHT() const { return headerHeight_; }
    void setHEADERHEIGHT(int height); // a negative height is ignored
    int ITEMTOPSPACE() const { return itemTopSpace_; }
    void setITEMTOPSPACE(int space);
    int ITEMSPACING() const { return itemSpacing_; }
    void setITEMSPACING(int spacing);
    bool ISITEMSBOXED() const { return itemsBoxed_; }
    void setISITEMSBOXED(bool boxed);
    int LABELSPACING() const { return labelSpacing_; }
    OutlookBarStyle STYLE() const { return style_; }
    // Sets the style and the colours it brings; a value outside the three styles is ignored.
    OutlookBarStyle setSTYLE(OutlookBarStyle style);

    int IMAGEWIDTH() const { return imageList_ ? imageList_->iconSize().width() : 0; }
    int IMAGEHEIGHT() const { return imageList_ ? imageList_->iconSize().height() : 0; }
    int SMALLIMAGEWIDTH() const { return smallImageList_ ? smallImageList_->iconSize().width() : 0; }
    int SMALLIMAGEHEIGHT() const { return smallImageList_ ? smallImageList_->iconSize().height() : 0; }
    int VERTICALITEMSPACE() const { return IMAGEHEIGHT() + itemSpacing_; }
    int HORIZONTALITEMSPACE() const { return IMAGEWIDTH(); }

    // Headers and items. The bar takes the header; a header is found by the name it had when added.
    bool ADDHEADER(std::unique_ptr<OUTLOOKBARHEADER> header);
    bool INSERTHEADER(std::unique_ptr<OUTLOOKBARHEADER> header, const QString &before);
    int headerCount() const { return int(headers_.size()); }
    OUTLOOKBARHEADER *header(int index) const { return headers_.at(std::size_t(index)).second.get(); }
    OUTLOOKBARHEADER *GETHEADERFROMSYMBOL(const QString &name) const;
    OUTLOOKBARHEADER *GETACTIVEHEADER() const { return GETHEADERFROMSYMBOL(activeHeader_); }
    OUTLOOKBARITEM *GETITEMFROMSYMBOL(const QString &name) const; // the open header's items only
    void SETITEMCAPTION(const QString &name, const QString &caption);

    // Layout, hit tests and scrolling.
    void RECALC();
    WRECT GETINSIDERECT() const { return insideRect_; }
    int LOWERHEADERSTOP() const { return lowerHeaderStop_; }
    OutlookBarLayoutInput layoutInput() const;
    CaptionMeasure captionMeasure() const;
    OUTLOOKBARHEADER *GETHEADERFROMPOINT(QPoint p) const;
    OUTLOOKBARITEM *GETITEMFROMPOINT(QPoint p) const;
    bool SCROLLUP();
    bool SCROLLDOWN();

    void UPDATE() { update(); }
    bool DRAWBACKGROUND(QPainter &p) const;
    bool DRAWHEADERS(QPainter &p) const;
    bool DRAWITEMS(QPainter &p) const;
    bool DRAWARROWS(QPainter &p) const;

    // The press and hover state, for the owner's and the tests' eyes.
    const QString &PRESSEDHEADER() const { return pressedHeader_; }
    const QString &PRESSEDITEM() const { return pressedItem_; }
    const QString &PRESSEDARROW() const { return pressedArrow_; }
    const QString &HILITEDITEM() const { return hilitedItem_; }
    const QString &LASTCLICKEDITEM() const { return lastClickedItem_; }
    bool isMouseTrapped() const { return mouseTrapped_; }
    const QTimer &restyleTimer() const { return restyleTimer_; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void MOUSETRAPON() { mouseTrapped_ = true; }
    void MOUSETRAPOFF() { mouseTrapped_ = false; }
    void mouseDrag(QPoint p);
    void mouseHover(QPoint p);
    void setHilited(const QString &name);
    OUTLOOKBARARROW *pressedArrowElement() const;

    OutlookBarOwner *owner_ = nullptr;
    std::optional<OutlookBarImageList> imageList_;
    std::optional<OutlookBarImageList> smallImageList_;
    QColor background_;
    QColor hiliteBackground_;
    std::optional<QColor> itemsBackground_;
    QString activeHeader_;
    QString lastClickedItem_;
    QString pressedHeader_;
    QString pressedItem_;
    QString pressedArrow_;
    QString hilitedItem_;
    std::vector<std::pair<QString, std::unique_ptr<OUTLOOKBARHEADER>>> headers_;
    int headerHeight_ = 22;
    int lowerHeaderStop_ = 0;
    int itemTopSpace_ = 5;
    int labelSpacing_ = 3;
    int itemSpacing_ = 6;
    WRECT insideRect_;
    bool itemsBoxed_ = false;
    OutlookBarStyle style_ = OutlookBarStyle::STDSTYLE;
    bool mouseTrapped_ = false;
    QTimer restyleTimer_;
};

// The new style's items colour from the menu highlight: every channel grows by a fifth (0 becomes 20),
// at most 255.
QColor lightenedItemsColor(const QColor &menuHilight);

// Whether the desktop draws with a themed style rather than the classic one.
bool visualStylesActive(const QWidget *widget);

} // namespace vexo
