#include "refdb/nutrient_add_dialog.h"

#include "controls/barray_server.h"
#include "controls/grid_subclasses.h"
#include "problem/dbserverr.h"
#include "problem/messages.h"
#include "problem/reference_tables.h"
#include "refdb/ingredient_add_dialog.h"
#include "refdb/reference_additions.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace vexo {

namespace {

enum ListField { CHK = 1, NUM, BMNAME_, BIRIM };

} // namespace

BBESMADEKLE_DLG::BBESMADEKLE_DLG(QWidget *owner)
    : TickListDialog(owner)
{
    setWindowTitle(QStringLiteral("Besin Maddesi Ekleme Diyaloğu"));
    BROWSER = new BMEKLE_BBROWSER(this, &m_gridOwner);
    PBHSEC_ = button(this, QStringLiteral("Hep. Seç "), QStringLiteral("Hepsini seç"));
    PBHKALDIR_ = button(this, QStringLiteral("Hep. Kaldır "), QStringLiteral("Hepsini kaldır"));
    PBEKLE_ = button(this, QStringLiteral("Ekle "), QStringLiteral("Seçili besin maddelerini ekle"));
    PBIPTAL_ = button(this, QStringLiteral("İptal "), QStringLiteral("İptal"));
    FT_ACIKLAMA = new QLabel(QStringLiteral("Tek tıklama veya boşluk tuşu ile seçim"), this);
    FT_ACIKLAMA->setAlignment(Qt::AlignCenter);
    auto *grid = new QGridLayout(this);
    grid->addWidget(BROWSER, 0, 0, 5, 1);
    grid->addWidget(PBHSEC_, 0, 1);
    grid->addWidget(PBHKALDIR_, 1, 1);
    grid->addWidget(PBEKLE_, 2, 1);
    grid->addWidget(PBIPTAL_, 3, 1);
    grid->setRowStretch(4, 1);
    grid->addWidget(FT_ACIKLAMA, 5, 0, 1, 2);
    resize(420, 360);

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
    const QStringList captions = {QStringLiteral("Seç"), QStringLiteral("No:"), QStringLiteral("Besin Maddesi Adı"),
                                  QStringLiteral("Birim")};
    for (int c = 1; c <= BROWSER->COLUMNCOUNT(); ++c) {
        BDATACOLUMN *col = BROWSER->GETCOLUMN(c);
        col->setCAPTION(captions.value(c - 1));
        col->setALIGNMENT(c <= NUM ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter);
        col->CALCULATEWIDTH();
    }
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

void BBESMADEKLE_DLG::SONKONT()
{
    NRESULT = 0;
    if (m_CHKDEG && ANYCHCKED()
        && askYesNo(this, QStringLiteral("Uyarı..."),
                    QStringLiteral("Seçilen besin maddeleri var!\r\n\r\nAktif matrise eklensin mi?")))
        PBEKLE();
    SERVERCLOSE();
}

void BBESMADEKLE_DLG::SERVERCLOSE()
{
    closeReferenceTables();
    if (m_server && m_server->USED())
        m_server->CLOSE();
}

bool ReferenceEditorDialogs::addIngredients(QWidget *owner, int)
{
    DATADLGSENSITIVESEARCH dialog(owner);
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
