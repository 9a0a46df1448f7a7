#include "matrix/choice_dialogs.h"

#include "controls/grid_subclasses.h"
#include "controls/picture_button.h"
#include "problem/number_text.h"
#include "resources/resource_library.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace vexo {

namespace {

const QString kHint = QStringLiteral("Tek tıklama veya boşluk tuşu ile seçim");

QString positionText(int i)
{
    return QString::number(i).rightJustified(3);
}

// The look both lists share: zebra rows by shown position, light-grey lines, bold 8-point captions,
// nothing editable, columns fixed in place.
void setUpListGrid(BBROWSER &grid, std::shared_ptr<BARRAYSERVER> server, int frozen)
{
    grid.setROWMODE(BrowserRowMode::ABSOLUTE);
    grid.setROWCOUNTMODE(BrowserRowCountMode::RECCOUNT);
    grid.USE(std::move(server));
    grid.setFREEZE(frozen);
    grid.setEDITABLE(false);
    grid.setENABLECOLUMNMOVE(false);
    grid.addCOLORCONDITION({BCOLORCONDITION::oddOrderPosition(), std::nullopt, QBrush(QColor(235, 240, 255))});
    grid.setGRID({1, QColor(223, 223, 223)});
    BVIEWSTYLE caption;
    QFont font(QStringLiteral("Arial"), 8);
    font.setBold(true);
    caption.font = font;
    caption.alignment = Qt::AlignCenter;
    grid.setCAPTIONVIEW(caption);
}

void captionColumn(BBROWSER &grid, const QString &name, const QString &caption, Qt::Alignment align)
{
    if (BDATACOLUMN *c = grid.GETCOLUMN(name)) {
        c->setCAPTION(caption);
        BVIEWSTYLE look;
        look.alignment = align;
        c->setCAPTIONVIEW(look);
        c->setEDITABLE(false);
        c->CALCULATEWIDTH();
    }
}

QPushButton *button(QWidget *parent, const QString &picture, const QString &tip)
{
    return pictureButton(parent, picture, tip, QSize(24, 24), QSize(40, 36));
}

void finishLayout(QDialog &d, BBROWSER *grid, const QList<QPushButton *> &buttons)
{
    auto *layout = new QGridLayout(&d);
    layout->addWidget(grid, 0, 0, 1, int(buttons.size()) + 1);
    auto *hint = new QLabel(kHint, &d);
    layout->addWidget(hint, 1, 0);
    for (int i = 0; i < buttons.size(); ++i)
        layout->addWidget(buttons[i], 1, i + 1);
    d.setWindowIcon(ResourceLibrary::icon(QStringLiteral("VXOMAIN")));
    d.setModal(true);
    d.resize(360, 380);
}

} // namespace

ServerFields choiceFields()
{
    return {{QStringLiteral("NUM"), u'C', 3, 0}, {QStringLiteral("NAME"), u'C', 28, 0}};
}

ServerFields markFields()
{
    return {{QStringLiteral("CHK"), u'L', 1, 0}, {QStringLiteral("NUM"), u'C', 3, 0},
            {QStringLiteral("NAME"), u'C', 28, 0}};
}

QList<QStringList> choiceRows(const QStringList &items)
{
    QList<QStringList> rows;
    for (int i = 0; i < items.size(); ++i)
        rows.append({positionText(i + 1), items[i]});
    return rows;
}

ServerRows markRows(const QStringList &items)
{
    ServerRows rows;
    for (int i = 0; i < items.size(); ++i)
        rows.append({false, positionText(i + 1), items[i]});
    return rows;
}

QList<int> tickedPositions(const BARRAYSERVER &server)
{
    QList<int> positions;
    const int chk = server.FIELDPOS(QStringLiteral("CHK"));
    const int num = server.FIELDPOS(QStringLiteral("NUM"));
    for (int rec = 1; rec <= server.LASTREC(); ++rec)
        if (server.valueAt(rec, chk).toBool())
            positions.append(int(Val(server.textAt(rec, num))));
    return positions;
}

void tickAll(BARRAYSERVER &server, bool on)
{
    const int chk = server.FIELDPOS(QStringLiteral("CHK"));
    server.SUSPENDNOTIFICATION();
    for (bool more = server.GOTOP(); more && !server.eof(); more = server.SKIP(1))
        server.FIELDPUT(chk, on);
    server.GOTOP();
    server.RESETNOTIFICATION();
}

BCHOICE::BCHOICE(QWidget *owner, const QString &caption, const QStringList &items) : QDialog(owner)
{
    setWindowTitle(caption);
    m_server = std::make_shared<BARRAYSERVER>(choiceFields(), choiceRows(items));
    m_grid = new CHOICE_BBROWSER(this, this);
    if (m_server->USED()) {
        setUpListGrid(*m_grid, m_server, 1);
        auto *ticks = m_grid->ADDCOLUMN(std::make_unique<BCHECKCOLUMN>(QStringLiteral("CHECK")));
        ticks->setCAPTION(QStringLiteral("Seç"));
        ticks->setWIDTH(20);
        ticks->CALCULATEWIDTH();
        m_grid->OPENCOLUMN(ticks, 1);
        captionColumn(*m_grid, QStringLiteral("NUM"), QStringLiteral("No:"), Qt::AlignCenter);
        captionColumn(*m_grid, QStringLiteral("NAME"), QStringLiteral("İsim"), Qt::AlignLeft | Qt::AlignVCenter);
        m_grid->KEYCOMMAND(Qt::Key_Space, [this] { CHKSELECT(); });
        m_grid->RECALCULATE();
        m_grid->setCURRENTCOLUMN(1);
    }
    m_ok = button(this, QStringLiteral("VXOOK2"), QStringLiteral("Tamam"));
    m_cancel = button(this, QStringLiteral("VXOIPTAL2"), QStringLiteral("İptal"));
    connect(m_ok, &QPushButton::clicked, this, &BCHOICE::PBTAMAM);
    connect(m_cancel, &QPushButton::clicked, this, &BCHOICE::PBIPTAL);
    finishLayout(*this, m_grid, {m_ok, m_cancel});
    m_grid->SETFOCUS();
}

BCHOICE::~BCHOICE() = default;

void BCHOICE::CHKSELECT()
{
    m_grid->CELLCLICKED();
}

int BCHOICE::GETSELECTED() const
{
    auto *ticks = dynamic_cast<BCHECKCOLUMN *>(m_grid->GETOPENCOLUMN(QStringLiteral("CHECK")));
    return ticks && ticks->CHECKEDCOUNT() > 0 ? ticks->checkedRecords().first() : 0;
}

void BCHOICE::PBTAMAM()
{
    NSELECTED = GETSELECTED();
    done(1);
}

void BCHOICE::PBIPTAL()
{
    NSELECTED = 0;
    done(0);
}

BMARKTOPBOT::BMARKTOPBOT(QWidget *owner, const QString &caption, const QStringList &items) : QDialog(owner)
{
    setWindowTitle(caption);
    m_server = std::make_shared<BARRAYSERVER>(markFields(), markRows(items));
    m_grid = new MTBOT_BBROWSER(this, this);
    if (m_server->USED()) {
        setUpListGrid(*m_grid, m_server, 2);
        m_grid->setCheckBoxView(true);
        captionColumn(*m_grid, QStringLiteral("CHK"), QStringLiteral("Seç"), Qt::AlignCenter);
        captionColumn(*m_grid, QStringLiteral("NUM"), QStringLiteral("No:"), Qt::AlignCenter);
        captionColumn(*m_grid, QStringLiteral("NAME"), QStringLiteral("İsim"), Qt::AlignLeft | Qt::AlignVCenter);
        m_grid->KEYCOMMAND(Qt::Key_Space, [this] { CHKSELECT(); });
        m_grid->RECALCULATE();
        m_grid->setCURRENTCOLUMN(3);
    }
    m_all = button(this, QStringLiteral("HEPSEC"), QStringLiteral("Hepsini seç"));
    m_none = button(this, QStringLiteral("HEPKAL"), QStringLiteral("Hepsini kaldır"));
    m_ok = button(this, QStringLiteral("VXOOK2"), QStringLiteral("Tamam"));
    m_cancel = button(this, QStringLiteral("VXOIPTAL2"), QStringLiteral("İptal"));
    connect(m_all, &QPushButton::clicked, this, &BMARKTOPBOT::PBHSEC);
    connect(m_none, &QPushButton::clicked, this, &BMARKTOPBOT::PBHKALDIR);
    connect(m_ok, &QPushButton::clicked, this, &BMARKTOPBOT::PBTAMAM);
    connect(m_cancel, &QPushButton::clicked, this, &BMARKTOPBOT::PBIPTAL);
    finishLayout(*this, m_grid, {m_all, m_none, m_ok, m_cancel});
    m_grid->SETFOCUS();
}

BMARKTOPBOT::~BMARKTOPBOT() = default;

void BMARKTOPBOT::CHKSELECT()
{
    if (!m_server->USED() || m_server->eof())
        return;
    const int chk = m_server->FIELDPOS(QStringLiteral("CHK"));
    m_server->FIELDPUT(chk, !m_server->FIELDGET(chk).toBool());
    m_server->NOTIFY(ServerNotify::FileChange);
}

void BMARKTOPBOT::PBTAMAM()
{
    ANSELECTED = tickedPositions(*m_server);
    done(1);
}

void BMARKTOPBOT::PBIPTAL()
{
    ANSELECTED.clear();
    done(0);
}

void BMARKTOPBOT::setAll(bool on)
{
    if (!m_server->USED())
        return;
    m_grid->SUSPENDUPDATE();
    tickAll(*m_server, on);
    m_grid->RESTOREUPDATE();
    m_grid->REFRESH();
    m_grid->SETFOCUS();
}

void BMARKTOPBOT::PBHSEC()
{
    setAll(true);
}

void BMARKTOPBOT::PBHKALDIR()
{
    setAll(false);
}

} // namespace vexo
