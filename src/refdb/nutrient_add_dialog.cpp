#include "refdb/nutrient_add_dialog.h"

#include "controls/barray_server.h"
#include "controls/grid_subclasses.h"
#include "problem/dbserverr.h"
#include "problem/messages.h"
#include "problem/reference_tables.h"
#include "refdb/ingredient_add_dialog.h"
#include "refdb/reference_additions.h"

#include "controls/icon_presets.h"
#include "platform/dialog_units.h"
#include "resources/resource_library.h"

#include <QLabel>
#include <QPushButton>

namespace vexo {

namespace {

enum ListField { CHK = 1, NUM, BMNAME_, BIRIM };

} // namespace

BBESMADEKLE_DLG::BBESMADEKLE_DLG(QWidget *owner)
    : TickListDialog(owner)
{
    setObjectName(QStringLiteral("BBesMadEkle_Dlg"));
    setWindowTitle(QStringLiteral("Besin Maddesi Ekleme Diyaloğu"));
    setWindowIcon(ResourceLibrary::icon(QStringLiteral("BMMUHT")));
    setModal(true);
    const QFont dialogFont = font();
    auto dlu = [&](int x, int y, int w, int h) { return dluRect(dialogFont, x, y, w, h); };
    setFixedSize(dlu(0, 0, 252, 193).size());
    BROWSER = new BMEKLE_BBROWSER(this, &m_gridOwner);
    BROWSER->setObjectName(QStringLiteral("BROWSER"));
    BROWSER->setGeometry(dlu(6, 6, 168, 162));
    PBHSEC_ = new HSECPUSHBUTTON(this, QStringLiteral("Hep. Seç "));
    PBHSEC_->setObjectName(QStringLiteral("PBHSEC"));
    PBHSEC_->setToolTip(QStringLiteral("Hepsini seç"));
    PBHSEC_->setGeometry(dlu(182, 6, 64, 16));
    PBHKALDIR_ = new HKALPUSHBUTTON(this, QStringLiteral("Hep. Kaldır "));
    PBHKALDIR_->setObjectName(QStringLiteral("PBHKALDIR"));
    PBHKALDIR_->setToolTip(QStringLiteral("Hepsini kaldır"));
    PBHKALDIR_->setGeometry(dlu(182, 26, 64, 16));
    PBEKLE_ = new OKPUSHBUTTON(this, QStringLiteral("Ekle "));
    PBEKLE_->setObjectName(QStringLiteral("PBEKLE"));
    PBEKLE_->setToolTip(QStringLiteral("Seçili besin maddelerini ekle"));
    PBEKLE_->setGeometry(dlu(182, 132, 64, 16));
    PBIPTAL_ = new CANCELPUSHBUTTON(this, QStringLiteral("İptal "));
    PBIPTAL_->setObjectName(QStringLiteral("PBIPTAL"));
    PBIPTAL_->setToolTip(QStringLiteral("İptal"));
    PBIPTAL_->setGeometry(dlu(182, 152, 64, 16));
    for (QPushButton *b : {PBHSEC_, PBHKALDIR_, PBEKLE_, PBIPTAL_})
        b->setAutoDefault(false);
    FT_ACIKLAMA = new QLabel(QStringLiteral("Tek tıklama veya boşluk tuşu ile seçim"), this);
    FT_ACIKLAMA->setObjectName(QStringLiteral("FT_ACIKLAMA"));
    FT_ACIKLAMA->setAlignment(Qt::AlignCenter);
    FT_ACIKLAMA->setGeometry(dlu(6, 174, 168, 12));

    m_gridOwner.CHKDEG = [this](bool on) { m_CHKDEG = on; };
    connect(PBHSEC_, &QPushButton::clicked, this, &BBESMADEKLE_DLG::PBHSEC);
    connect(PBHKALDIR_, &QPushButton::clicked, this, &BBESMADEKLE_DLG::PBHKALDIR);
    connect(PBEKLE_, &QPushButton::clicked, this, &BBESMADEKLE_DLG::PBEKLE);
    connect(PBIPTAL_, &QPushButton::clicked, this, &BBESMADEKLE_DLG::PBIPTAL);

    if (!BMDATAFOPEN())
        return;
    DBSERVERR &defs = *referenceTables().OBMDESCDBF;
    for (defs.goTop(); !defs.eof(); defs.skip()) {
        const QString abbreviation = defs.fieldGet(QStringLiteral("ABRRE")).toString().trimmed();
        if (abbreviation.isEmpty())
            continue;
        m_AABRRE.append(abbreviation);
        m_ABIRIM.append(defs.fieldGet(QStringLiteral("UNIT")).toString().trimmed());
    }
    if (!RMDATAFOPEN()) {
        SERVERCLOSE();
        return;
    }
    m_opened = true;
    const QString widest = recordNumberText(quint32(m_AABRRE.size()), quint32(m_AABRRE.size()));
    ServerRows rows;
    for (int i = 0; i < m_AABRRE.size(); ++i)
        rows.append({false, recordNumberText(quint32(i + 1), quint32(m_AABRRE.size())), m_AABRRE.at(i),
                     m_ABIRIM.at(i)});
    const ServerFields fields = {{QStringLiteral("CHK"), u'L', 1, 0}, {QStringLiteral("NUM"), u'C', int(widest.size()), 0},
                                 {QStringLiteral("BMNAME"), u'C', 15, 0}, {QStringLiteral("BIRIM"), u'C', 11, 0}};
    m_server = std::make_shared<BARRAYSERVER>(fields, rows);
    BROWSER->USE(m_server);
    BROWSER->setEDITABLE(false);
    BROWSER->setENABLECOLUMNMOVE(false);
    BROWSER->setCheckBoxView(true);
    BROWSER->setFREEZE(2);
    BROWSER->addCOLORCONDITION({BCOLORCONDITION::oddRecNo(), std::nullopt, QBrush(QColor(235, 242, 250))});
    BROWSER->setGRID(BGRID{1, QColor(223, 223, 223)});
    BVIEWSTYLE caption = BROWSER->CAPTIONVIEW();
    QFont captionFont(QStringLiteral("Arial"), 8);
    captionFont.setStyleHint(QFont::SansSerif);
    captionFont.setBold(true);
    caption.font = captionFont;
    caption.alignment = Qt::AlignCenter;
    BROWSER->setCAPTIONVIEW(caption);
    const QStringList captions = {QStringLiteral("Seç"), QStringLiteral("No:"), QStringLiteral("Besin Maddesi Adı"),
                                  QStringLiteral("Birim")};
    for (int c = 1; c <= BROWSER->COLUMNCOUNT(); ++c) {
        BDATACOLUMN *col = BROWSER->GETCOLUMN(c);
        col->setCAPTION(captions.value(c - 1));
        col->setALIGNMENT(c <= NUM ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter);
        col->CALCULATEWIDTH();
    }
    fitGridWidth(BROWSER, {PBHSEC_, PBHKALDIR_, PBEKLE_, PBIPTAL_}, {FT_ACIKLAMA});
    BROWSER->KEYCOMMAND(Qt::Key_Space, [this] { CHKSELECT(); });
    BROWSER->setCURRENTCOLUMN(BMNAME_);
    BROWSER->SETFOCUS();
}

BBESMADEKLE_DLG::~BBESMADEKLE_DLG()
{
    SERVERCLOSE();
}

void BBESMADEKLE_DLG::CHKSELECT()
{
    BARRAYSERVER *s = BROWSER->SERVER();
    if (!s || !s->USED() || s->eof())
        return;
    s->FIELDPUT(CHK, !s->FIELDGET(CHK).toBool());
    s->NOTIFY(ServerNotify::FileChange);
    m_CHKDEG = true;
    BROWSER->REFRESH();
    BROWSER->SETFOCUS();
}

void BBESMADEKLE_DLG::PBHSEC()
{
    setAllTicks(BROWSER, CHK, true);
    m_CHKDEG = true;
}

void BBESMADEKLE_DLG::PBHKALDIR()
{
    setAllTicks(BROWSER, CHK, false);
    m_CHKDEG = false;
}

bool BBESMADEKLE_DLG::ANYCHCKED()
{
    return anyTicked(BROWSER, CHK);
}

void BBESMADEKLE_DLG::PBEKLE()
{
    NRESULT = 0;
    if (m_CHKDEG) {
        const QList<int> chosen = tickedNumbers(BROWSER, CHK, NUM);
        if (!chosen.isEmpty() && referenceTables().ORMDBF) {
            NutrientAddition addition(*referenceTables().ORMDBF, this);
            addition.AABRRE = m_AABRRE;
            addition.ABIRIM = m_ABIRIM;
            addition.GETRNOOFYM();
            if (addition.BESINMADDESIEKLE(chosen))
                NRESULT = 1;
        }
        m_CHKDEG = false;
    }
    SERVERCLOSE();
    finish(NRESULT);
}

bool BBESMADEKLE_DLG::SONKONT()
{
    NRESULT = 0;
    if (m_CHKDEG && ANYCHCKED()) {
        const MessageAnswer answer = askSaveBeforeClosing(
            this, QStringLiteral("Uyarı..."), QStringLiteral("Seçilen besin maddeleri var!\r\n\r\nAktif matrise eklensin mi?"));
        if (answer == MessageAnswer::Cancel)
            return false; // the list stays with its ticks
        if (answer == MessageAnswer::Yes)
            PBEKLE();
    }
    SERVERCLOSE();
    return true;
}

void BBESMADEKLE_DLG::SERVERCLOSE()
{
    closeReferenceTables();
    if (m_server && m_server->USED())
        m_server->CLOSE();
}

bool ReferenceEditorDialogs::addIngredients(QWidget *owner, int room)
{
    DATADLGSENSITIVESEARCH dialog(owner, room);
    if (!dialog.opened())
        return false;
    dialog.exec();
    return dialog.NRESULT == 1;
}

bool ReferenceEditorDialogs::addNutrients(QWidget *owner)
{
    BBESMADEKLE_DLG dialog(owner);
    if (!dialog.opened())
        return false;
    dialog.exec();
    return dialog.NRESULT == 1;
}

} // namespace vexo
