#include "refdb/bm_edit_win.h"

#include "controls/bdata_column.h"
#include "controls/command_registry.h"
#include "controls/grid_subclasses.h"
#include "controls/picture_button.h"
#include "controls/shell_host.h"
#include "problem/reference_tables.h"
#include "refdb/bm_ekle_dlg.h"
#include "resources/resource_library.h"

#include <QAction>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace vexo {

BM_EDIT_WIN::BM_EDIT_WIN(QWidget *owner) : QDialog(owner)
{
    setWindowTitle(QStringLiteral("Besin Maddesi Ekle-Sil"));
    setWindowIcon(ResourceLibrary::icon(QStringLiteral("VXOMAIN")));
    setModal(true);
    resize(470, 560);
    m_runDialog = [](BM_EKLE_DLG &d) { d.exec(); };

    auto grid = makeGridClass(GridClass::BMS, this, this);
    m_grid = grid.release();
    m_grid->setFrameShape(QFrame::Panel);
    m_grid->setFrameShadow(QFrame::Sunken);

    const QSize icon(24, 24), button(40, 36);
    saveButton = pictureButton(this, QStringLiteral("VXOOK2"), QStringLiteral("Kaydet ve çık..."), icon, button);
    exitButton = pictureButton(this, QStringLiteral("VXOIPTAL2"), QStringLiteral("Çık..."), icon, button);
    addButton = pictureButton(this, QStringLiteral("KAYEKLE"), QStringLiteral("Ekle"), icon, button);
    insertButton = pictureButton(this, QStringLiteral("ARAYAGIR"), QStringLiteral("Araya gir"), icon, button);
    deleteButton = pictureButton(this, QStringLiteral("COPKUTU"), QStringLiteral("Sil"), icon, button);
    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {addButton, insertButton, deleteButton})
        buttons->addWidget(b);
    buttons->addStretch();
    for (QPushButton *b : {saveButton, exitButton})
        buttons->addWidget(b);
    for (QPushButton *b : {saveButton, exitButton, addButton, insertButton, deleteButton})
        b->setAutoDefault(false);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_grid, 1);
    layout->addLayout(buttons);
    connect(saveButton, &QPushButton::clicked, this, &BM_EDIT_WIN::PBKAYDET);
    connect(exitButton, &QPushButton::clicked, this, &BM_EDIT_WIN::PBCIKIS);
    connect(addButton, &QPushButton::clicked, this, &BM_EDIT_WIN::PBEKLE);
    connect(insertButton, &QPushButton::clicked, this, &BM_EDIT_WIN::PBGIR);
    connect(deleteButton, &QPushButton::clicked, this, &BM_EDIT_WIN::PBSIL);

    // The context menu "Yazım".
    m_menu = new QMenu(QStringLiteral("Yazım"), this);
    auto item = [&](const QString &text, const QString &tip, void (BM_EDIT_WIN::*slot)()) {
        QAction *a = m_menu->addAction(text, this, slot);
        a->setStatusTip(tip);
        return a;
    };
    item(QStringLiteral("BM Özellik &Yazımı"), QStringLiteral("Seçili BM özelliklerini diyaoğda yaz"), &BM_EDIT_WIN::BMEDIT);
    m_menu->addSeparator();
    item(QStringLiteral("Yeni BM &Ekle"), QStringLiteral("Yeni besin madesi ekle"), &BM_EDIT_WIN::PBEKLE);
    item(QStringLiteral("Araya BM &Gir"), QStringLiteral("Araya yeni besin maddesi gir"), &BM_EDIT_WIN::PBGIR);
    item(QStringLiteral("BM &Sil..."), QStringLiteral("Seçili besin maddesi özelliklerini sil"), &BM_EDIT_WIN::PBSIL);
    m_menu->addSeparator();
    item(QStringLiteral("Seç..."), QStringLiteral("Konumu kaydırılacak besin maddesini seç"), &BM_EDIT_WIN::BMSSEC);
    m_kaydir = item(QStringLiteral("Kaydır"), QStringLiteral("Seçili besin maddesini kaydır"), &BM_EDIT_WIN::BMSKAYDIR);
    m_kaydir->setEnabled(false);
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_grid, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &p) { m_menu->popup(m_grid->viewport()->mapToGlobal(p)); });

    // The grid's notifications and its double click and Enter.
    BrowserOwner::BMCHANGE = [this](bool on) { if (m_rows && on) m_rows->BMCHANGE = true; };
    BrowserOwner::ALAN3DEG = [this](bool on) { if (m_rows && on) m_rows->ALAN3DEG = true; };
    CELLDOUBLECLICK = [this](BBROWSER &, BCELL) { BMEDIT(); };
    KEYDOWN = [this](BBROWSER &, QKeyEvent &e) {
        if (e.key() == Qt::Key_Return || e.key() == Qt::Key_Enter)
            BMEDIT();
    };

    auto server = NutrientDefinitionRows::loadDefinitions();
    if (!server)
        return;
    m_rows = std::make_unique<NutrientDefinitionRows>(server, this);
    if (!server->USED())
        return;
    m_grid->USE(server);
    m_grid->setEDITABLE(false);
    m_grid->setENABLECOLUMNMOVE(false);
    m_grid->setFREEZE(1);
    const QStringList captions = {QStringLiteral("No"), QStringLiteral("Besin Maddesi Adı"), QStringLiteral("Kısaltma"),
                                  QStringLiteral("Birim"), QStringLiteral("Desimal")};
    for (int i = 0; i < captions.size(); ++i) {
        if (BDATACOLUMN *c = m_grid->GETCOLUMN(i + 1)) {
            c->setCAPTION(captions[i]);
            c->setEDITABLE(false);
            c->CALCULATEWIDTH();
        }
    }
    if (BDATACOLUMN *no = m_grid->GETCOLUMN(1)) {
        no->setWIDTH(40);
        no->setALIGNMENT(Qt::AlignRight | Qt::AlignVCenter);
        no->setSELECTABLE(false);
    }
    BVIEWSTYLE caption;
    QFont bold(QStringLiteral("Arial"), 8);
    bold.setBold(true);
    caption.font = bold;
    m_grid->setCAPTIONVIEW(caption);
    m_grid->addCOLORCONDITION({BCOLORCONDITION::oddRecNo(), std::nullopt, QBrush(QColor(190, 190, 190))});
    m_grid->setCURRENTCOLUMN(2);
    m_grid->REFRESH();
    m_grid->SETFOCUS();
    // Wide enough for every column, "Birim" and "Desimal" too, where the screen has the room.
    const QMargins margins = layout->contentsMargins();
    int wide = m_grid->widthForAllColumns() + margins.left() + margins.right();
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        wide = std::min(wide, screen->availableGeometry().width() - 20);
    if (wide > width())
        resize(wide, height());
}

BM_EDIT_WIN::~BM_EDIT_WIN()
{
    if (m_rows && m_rows->usable())
        m_rows->server().CLOSE();
}

void BM_EDIT_WIN::change(const std::function<void()> &operation, bool focus)
{
    if (!m_rows || !m_rows->usable())
        return;
    const int column = m_grid->CURRENTCOLUMN();
    m_grid->SUSPENDUPDATE();
    m_rows->server().SUSPENDNOTIFICATION();
    operation();
    m_rows->server().RESETNOTIFICATION();
    m_grid->RESTOREUPDATE();
    m_grid->REFRESH();
    m_grid->setCURRENTCOLUMN(column > 1 ? column : 2);
    if (focus)
        m_grid->SETFOCUS();
    syncMenu();
}

void BM_EDIT_WIN::busy(const std::function<void()> &operation)
{
    const QCursor before = cursor();
    setCursor(Qt::BusyCursor);
    change(operation);
    setCursor(before);
}

void BM_EDIT_WIN::syncMenu()
{
    m_kaydir->setEnabled(m_rows && m_rows->kaydirEnabled);
}

void BM_EDIT_WIN::PBEKLE()
{
    change([this] { m_rows->PBEKLE(); });
}

void BM_EDIT_WIN::PBGIR()
{
    busy([this] { m_rows->INSBLNKREC(); });
}

void BM_EDIT_WIN::PBSIL()
{
    change([this] { m_rows->BMDELETE(); });
}

void BM_EDIT_WIN::BMSSEC()
{
    change([this] { m_rows->BMSSEC(); });
}

void BM_EDIT_WIN::BMSKAYDIR()
{
    busy([this] { m_rows->BMSKAYDIR(); });
}

void BM_EDIT_WIN::BMEDIT()
{
    if (!m_rows || !m_rows->usable() || m_rows->server().eof())
        return;
    const int row = m_rows->server().RECNO();
    BM_EKLE_DLG dialog(this, m_rows->dialogValues());
    m_runDialog(dialog);
    if (dialog.RESULT != 1)
        return;
    const NutrientDialogResult result{dialog.RESULT, dialog.LADEG, dialog.LBDEG, dialog.SBMADI,
                                      dialog.SKISALTMA, dialog.SBRIM, dialog.SDESIM};
    bool written = true;
    change([&] { written = m_rows->applyDialog(row, result); }, true);
    if (!written)
        m_rows->server().GOTO(row);
}

void BM_EDIT_WIN::PBKAYDET()
{
    if (!m_rows) {
        done(0);
        return;
    }
    bool saved = false;
    change([&] { saved = m_rows->PBKAYDET(m_fault); }, false);
    if (saved) {
        // Decimals changed in the definitions reach the editors from now on, not at the next start.
        loadNutrientDecimals();
        m_closing = true;
        done(1);
    }
}

void BM_EDIT_WIN::PBCIKIS()
{
    if (m_rows) {
        bool mayClose = true;
        change([&] { mayClose = m_rows->SONKONT(m_fault); }, false);
        if (!mayClose)
            return;
        // Leaving may have saved the definitions.
        loadNutrientDecimals();
    }
    m_closing = true;
    done(0);
}

void BM_EDIT_WIN::closeEvent(QCloseEvent *event)
{
    if (m_closing) {
        event->accept();
        return;
    }
    event->ignore();
    PBCIKIS();
}

void BM_EDIT_WIN::reject()
{
    if (!m_closing)
        PBCIKIS();
}

void BMEDITWIN()
{
    ShellHost *host = shellHost();
    if (host && !host->CLOSEWINDOWSEXIST())
        return;
    BM_EDIT_WIN window(host ? host->mainWindow() : nullptr);
    if (window.opened())
        window.exec();
}

void installNutrientDefinitionCommands()
{
    shellCommands().add(QStringLiteral("BMEDITWIN"), [] { BMEDITWIN(); });
}

} // namespace vexo
