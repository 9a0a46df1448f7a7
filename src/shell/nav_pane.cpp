#include "shell/nav_pane.h"

#include "resources/resource_library.h"

#include <QResizeEvent>

#include <algorithm>

namespace vexo {

namespace {

struct PaneItem
{
    const char *name;
    const char *caption;
    int image;
};

struct PaneHeader
{
    const char *name;
    const char *caption;
    int value;
    int image;
    std::vector<PaneItem> items;
};

const std::vector<PaneHeader> &paneHeaders()
{
    static const std::vector<PaneHeader> headers = {
        {"AKTIF_PROBLEM_GIRISLERI", "Aktif Problem Girişleri", 100, 10,
         {{"YM_GIRIS", "Yem Maddesi Verileri", 1},
          {"BM_GIRIS", "Besin Maddesi Verileri", 2},
          {"AMAT_GIRIS", "Aktif Matris Yazımı", 3},
          {"BMO_GIRIS", "Besin Maddesi Oranları", 4},
          {"YMGRUBU", "Yem Maddesi Grupları", 5}}},
        {"COZUMLER", "Çözüm Raporu", 101, 11, {{"COZUM", "Yem Formülü", 6}}},
        {"VERI_RAPORU", "Veri Raporları", 102, 12, {{"AMATREPORT", "Aktif Matris", 7}, {"HMFIATLIST", "Ham Madde Fiyatları", 9}}},
    };
    return headers;
}

} // namespace

VKOLBARDLG::VKOLBARDLG(QWidget *owner, RunCommand run) : QWidget(owner), run_(std::move(run))
{
    setObjectName(QStringLiteral("VKOLBARDLG"));
    bar_ = new OUTLOOKBAR(this, this);
    bar_->setObjectName(QStringLiteral("OOBAR"));
    OLBITEMCLICKED = [this](OUTLOOKBARITEM &item) {
        if (run_)
            run_(item.NAMESYM());
    };
    CREATEOUTLOOKBAR();
}

VKOLBARDLG::~VKOLBARDLG() = default;

void VKOLBARDLG::CREATEOUTLOOKBAR()
{
    QList<QIcon> icons;
    for (const char *name : {"ICON_DEPENSE", "ICON_COMPTES", "HALICO", "ICON_AA", "ICON_RECETTE", "RUNMODE",
                             "RUNMODE2", "RUNMODE3", "RUNMODE4", "HAVUCH", "VXOYILDIRIM", "VXOYILDIRIM4"})
        icons << ResourceLibrary::icon(QString::fromLatin1(name));
    bar_->setIMAGELIST(OutlookBarImageList(QSize(32, 32), icons));
    for (const PaneHeader &h : paneHeaders()) {
        auto header = std::make_unique<OUTLOOKBARHEADER>(QString::fromUtf8(h.name), QString::fromUtf8(h.caption),
                                                         h.value, h.image);
        for (const PaneItem &i : h.items) {
            auto item = std::make_unique<OUTLOOKBARITEM>(QString::fromUtf8(i.name), QString::fromUtf8(i.caption), i.image);
            if (qstrcmp(i.name, "HMFIATLIST") == 0)
                item->ENABLE();
            else
                item->DISABLE();
            header->ADDITEM(std::move(item));
        }
        bar_->ADDHEADER(std::move(header));
    }
    bar_->setACTIVEHEADER(kFirstPaneHeader);
    bar_->setSTYLE(OutlookBarStyle::JOVSTYLE);
    bar_->setITEMSPACING(8);
    bar_->setBACKGROUNDCOLOR(QColor(127, 127, 127));
    bar_->setHILITEBACKGROUNDCOLOR(QColor(127, 127, 127));
}

void VKOLBARDLG::UPDATEBAR()
{
    bar_->setGeometry(2, 2, std::max(0, width() - 4), std::max(0, height() - 4));
    bar_->RECALC();
    bar_->update();
}

void VKOLBARDLG::setItemEnabled(const QString &header, const QString &item, bool enabled)
{
    OUTLOOKBARHEADER *h = bar_->GETHEADERFROMSYMBOL(header);
    OUTLOOKBARITEM *i = h ? h->GETITEMFROMSYMBOL(item) : nullptr;
    if (!i)
        return;
    if (enabled)
        i->ENABLE();
    else
        i->DISABLE();
}

bool VKOLBARDLG::isItemEnabled(const QString &header, const QString &item) const
{
    OUTLOOKBARHEADER *h = bar_->GETHEADERFROMSYMBOL(header);
    OUTLOOKBARITEM *i = h ? h->GETITEMFROMSYMBOL(item) : nullptr;
    return i && i->ISENABLED();
}

int VKOLBARDLG::neededWidth() const
{
    int widest = 0;
    for (const PaneHeader &h : paneHeaders())
        if (const OUTLOOKBARHEADER *header = bar_->GETHEADERFROMSYMBOL(QString::fromUtf8(h.name)))
            widest = std::max(widest, header->fullCaptionWidth());
    return widest + 4; // the bar's margin in the pane (UPDATEBAR)
}

void VKOLBARDLG::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    UPDATEBAR();
}

} // namespace vexo
