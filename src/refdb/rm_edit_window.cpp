#include "refdb/rm_edit_window.h"

#include "controls/grid_subclasses.h"
#include "controls/menu_builder.h"
#include "controls/shell_menus.h"
#include "matrix/alert.h"
#include "matrix/colon_maths.h"
#include "matrix/matrix_dialogs.h"
#include "platform/dbf_filespec.h"
#include "platform/message_sink.h"
#include "platform/process_launcher.h"
#include "problem/app_globals.h"
#include "problem/messages.h"
#include "problem/number_text.h"
#include "problem/open_problem.h"
#include "problem/reference_tables.h"
#include "refdb/reference_backup.h"
#include "refdb/rm_form.h"
#include "resources/resource_library.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace vexo {

namespace {

constexpr int kKaydirMain = 28377;
constexpr int kKaydirContext = 30904;
constexpr int kStripHeight = 30;

RM_EDIT_WINDOW::ColumnMathDialog &columnMathSlot()
{
    static RM_EDIT_WINDOW::ColumnMathDialog slot;
    return slot;
}

std::optional<ColumnMathRequest> showColumnMath(QWidget *owner, const BARRAYSERVER *server)
{
    COLONMATHS dialog(owner, server);
    dialog.exec();
    return ColumnMathRequest{dialog.COPERAT, dialog.CVTYPE, dialog.CVALUEX};
}

// The hourglass for the length of a scope.
struct BusyCursor
{
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
};

} // namespace

MenuTable dwContMenu()
{
    MenuTable t;
    t.name = u"DW_CONT_MENU"_s;
    t.rows = {
        submenu(0, 30892, u"&Yazım"_s, u"EDIT"_s, u"Yem maddelerinin besin maddesi muhtevaları yazımı"_s),
        item(1, 30893, u"&Kes..."_s, u"CUT"_s, u"Panoya kopyala ve sil"_s),
        item(1, 30894, u"Ko&pya"_s, u"COPY"_s, u"Panoya kopyala"_s),
        item(1, 30895, u"&Yapıştır"_s, u"PASTE"_s, u"Panodan yapıştır"_s),
        separator(1),
        item(1, 30897, u"Yem Mad. &Formda Yaz"_s, u"RMINDEDIT"_s, u"Seçili yem maddesini formda yaz..."_s),
        separator(1),
        item(1, 30899, u"Yem Mad. &Ekle"_s, u"YM_EKLE"_s, u"Yeni yem maddesi ekle "_s),
        item(1, 30900, u"Araya Yem Mad. &Gir"_s, u"INSBLNKYM"_s, u"Araya yeni yem maddesi gir"_s),
        item(1, 30901, u"Yem Mad. &Sil..."_s, u"YMDELETE"_s, u"Seçili yem maddesini sil"_s),
        separator(1),
        item(1, 30903, u"Seç..."_s, u"YMSEC"_s, u"Kaydırılacak yem maddesi seçimi"_s),
        item(1, kKaydirContext, u"Kaydır"_s, u"YMKAYDIR"_s, u"Seçili yem maddesini kaydır"_s, {}, MenuState::Disabled),
        separator(1),
        item(1, 30906, u"Kolon &Aritmetiği"_s, u"COLMATHBM"_s, u"Seçili kolona dörtişlem uygula"_s),
        item(1, 30907, u"Besin Maddesi &Bağla"_s, u"BMBAGLA"_s,
             u"Bir satır boyunca bir BM'ye bağlı olarak muhtevaları değiştir"_s),
    };
    return t;
}

void RM_EDIT_WINDOW::setColumnMathDialog(ColumnMathDialog dialog)
{
    columnMathSlot() = std::move(dialog);
}

RM_EDIT_WINDOW::RM_EDIT_WINDOW(QWidget *parent) : QWidget(parent)
{
    setObjectName(u"RM_EDIT_WINDOW"_s);
    setWindowTitle(kReferenceEditorCaption);
    setWindowIcon(ResourceLibrary::icon(u"VXOMAIN"_s));
    setAttribute(Qt::WA_DeleteOnClose);

    const std::pair<const char *, std::function<void()>> commands[] = {
        {"KAYDET", [this] { KAYDET(); }},
        {"CLOSE", [this] { CLOSE(); }},
        {"CUT", [this] { CUT(); }},
        {"COPY", [this] { COPY(); }},
        {"PASTE", [this] { PASTE(); }},
        {"FDELETE", [this] { FDELETE(); }},
        {"CLEAR", [this] { FDELETE(); }},
        {"RMINDEDIT", [this] { RMINDEDIT(); }},
        {"YM_EKLE", [this] { YM_EKLE(); }},
        {"INSBLNKYM", [this] { INSBLNKYM(); }},
        {"YMDELETE", [this] { YMDELETE(); }},
        {"YMSEC", [this] { YMSEC(); }},
        {"YMKAYDIR", [this] { YMKAYDIR(); }},
        {"GOTOP", [this] { GOTOP(); }},
        {"GOPREVIOUS", [this] { GOPREVIOUS(); }},
        {"GONEXT", [this] { GONEXT(); }},
        {"GOBOTTOM", [this] { GOBOTTOM(); }},
        {"COLMATHBM", [this] { COLMATHBM(); }},
        {"BMBAGLA", [this] { BMBAGLA(); }},
        {"PBARA", [this] { PBARA(); }},
        {"WIN_HESMAK", [] { launchCalculator(); }},
        {"CONTEXTHELP", [] { if (ShellHost *h = shellHost()) h->showHelp(RM_EDIT_WINDOW::helpKeyword()); }},
        {"HAKKINDA", [] { if (ShellHost *h = shellHost()) h->showAbout(); }},
    };
    for (const auto &[name, handler] : commands)
        m_commands.add(QString::fromLatin1(name), handler);
    auto dispatch = [this](const QString &command) { runChildCommand(*this, command); };
    m_menu = std::make_unique<BuiltMenu>(standardShellMenu(), dispatch);
    m_context = std::make_unique<BuiltMenu>(dwContMenu(), dispatch);
    describeInMainWindow(*m_menu, m_context.get());

    m_modeLabel = new QLabel(u"Yazım modu:"_s, this);
    m_modeLabel->setObjectName(u"FT_OEDIT"_s);
    m_mode = new QComboBox(this);
    m_mode->setObjectName(u"CB_OEDIT"_s);
    m_mode->setToolTip(u"İmlecin hareket modunu değiştir"_s);
    m_search = new QLineEdit(this);
    m_search->setObjectName(u"SLE_ARA"_s);
    m_search->setToolTip(u"Aranacak hammadde ismi girişi"_s);
    m_find = new QPushButton(this);
    m_find->setObjectName(u"PBARA"_s);
    m_find->setIcon(ResourceLibrary::icon(u"SEARCH"_s));
    m_find->setToolTip(u"Hammadde ara"_s);
    // The strip above the grid, left to right; widths follow the font so no caption is cut.
    const int labelWidth = m_modeLabel->sizeHint().width();
    m_modeLabel->setGeometry(6, 6, labelWidth, 20);
    m_mode->setGeometry(12 + labelWidth, 4, 110, 22);
    m_search->setGeometry(m_mode->geometry().right() + 20, 4, 200, 22);
    m_find->setGeometry(m_search->geometry().right() + 4, 3, 26, 24);
    connect(m_find, &QPushButton::clicked, this, [this] { PBARA(); });
    connect(m_search, &QLineEdit::textChanged, this, [this] { PBARA(); });

    m_grid = new RMAT_BBROWSER(this, this);
    m_grid->setObjectName(u"BROWSER"_s);
    m_grid->setAccessibleName(u"DataWindow Caption"_s);
    RMCHANGE = [this](bool on) { if (m_rows && on) m_rows->changed = true; };
    EDITCHANGE = [this](BCellEditEvent &e) { editChange(e); };
    CELLEDIT = [this](BCellEditEvent &e) { return cellEdit(e); };
    CAPTIONCLICK = [this](BBROWSER &, int column) { captionClick(column); };
    resize(1100, 650);
    load();
}

RM_EDIT_WINDOW::~RM_EDIT_WINDOW()
{
    if (m_grid)
        m_grid->USE(nullptr);
}

bool RM_EDIT_WINDOW::load()
{
    m_guard = true;
    std::optional<RmDescriptions> descriptions = GETBMDATA();
    if (!descriptions)
        return false;
    AlertScope notice(this, QString(), 200);
    std::optional<RmTableData> table = readReferenceMatrix();
    if (!table)
        return false;
    ownMatrixNumbers(*table, *descriptions, this);
    m_rows = std::make_unique<ReferenceMatrixRows>(this, std::move(*table), std::move(*descriptions));
    if (m_rows->server()->USED())
        buildGrid();
    return true;
}

void RM_EDIT_WINDOW::buildGrid()
{
    const std::shared_ptr<BARRAYSERVER> &server = m_rows->server();
    m_grid->setROWMODE(BrowserRowMode::ABSOLUTE);
    m_grid->setROWCOUNTMODE(BrowserRowCountMode::RECCOUNT);
    m_grid->USE(server);
    m_grid->setFREEZE(2);
    m_grid->setEDITABLE(true);
    m_grid->setAUTOEDIT(BrowserAutoEdit::EXCEL);
    m_grid->addCOLORCONDITION({BCOLORCONDITION::oddRecNo(), std::nullopt, QBrush(QColor(255, 250, 225))});
    m_grid->setGRID({1, QColor(192, 192, 192)});
    BVIEWSTYLE caption;
    QFont font(u"Arial"_s, 8);
    font.setBold(true);
    caption.font = font;
    caption.alignment = Qt::AlignCenter;
    caption.background = QBrush(QColor(230, 235, 245));
    m_grid->setCAPTIONVIEW(caption);
    m_grid->setENABLECAPTIONCLICK(true);
    m_grid->setCAPTIONHEIGHT(32);

    for (const QString &name : {u"KOD"_s, u"YM_ADI"_s, u"FIATI"_s, u"GRUBU"_s}) {
        if (BDATACOLUMN *c = m_grid->GETCOLUMN(name)) {
            c->setCAPTION(u"\r\n"_s + rmColumnCaption(name));
            c->setEDITABLE(true);
        }
    }
    if (BDATACOLUMN *price = m_grid->GETCOLUMN(u"FIATI"_s))
        price->setALIGNMENT(Qt::AlignRight | Qt::AlignVCenter);
    if (BDATACOLUMN *kod = m_grid->GETCOLUMN(u"KOD"_s)) {
        kod->setEDITABLE(false);
        kod->setSELECTABLE(false);
        kod->setWIDTH(40);
    }
    for (int n = 5; n <= m_grid->COLUMNCOUNT(); ++n) {
        if (BDATACOLUMN *c = m_grid->GETCOLUMN(n)) {
            c->setCAPTION(rmNutrientCaption(m_rows->descriptions(), server->FIELDNAME(n)));
            c->setALIGNMENT(Qt::AlignRight | Qt::AlignVCenter);
            c->setEDITABLE(true);
            c->CALCULATEWIDTH();
        }
    }
    m_grid->KEYCOMMAND(Qt::Key_Delete, [this] { FDELETE(); });

    const std::pair<const char *, BrowserAutoEdit> modes[] = {
        {"Excel", BrowserAutoEdit::EXCEL}, {"Duyarlı", BrowserAutoEdit::SENSITIVE}, {"Sürekli", BrowserAutoEdit::PERMANENT}};
    for (const auto &[text, mode] : modes)
        m_mode->addItem(QString::fromUtf8(text), int(mode));
    m_mode->setCurrentIndex(0);
    connect(m_mode, &QComboBox::activated, this, &RM_EDIT_WINDOW::modeChosen);

    m_grid->RECALCULATE();
    m_grid->setCURRENTCOLUMN(2);
    m_grid->REFRESH();
    m_grid->SETFOCUS();
}

bool RM_EDIT_WINDOW::ready() const
{
    return m_rows && m_grid && m_grid->USED();
}

int RM_EDIT_WINDOW::currentField() const
{
    if (!ready())
        return 0;
    BDATACOLUMN *c = m_grid->GETCOLUMN(m_grid->CURRENTCOLUMN());
    return c ? c->FIELDNO() : 0;
}

void RM_EDIT_WINDOW::modeChosen(int index)
{
    const auto mode = BrowserAutoEdit(m_mode->itemData(index).toInt());
    if (m_grid->AUTOEDIT() != mode)
        m_grid->setAUTOEDIT(mode);
    m_grid->SETFOCUS();
}

void RM_EDIT_WINDOW::editChange(BCellEditEvent &event)
{
    if (!ready() || !event.editor)
        return;
    const int field = event.columnObject ? event.columnObject->FIELDNO() : event.column;
    if ((field == 3 || field >= 5) && m_guard) {
        m_guard = false;
        const QString reduced = CHGALPHA1(event.editor->text());
        if (reduced != event.editor->text()) {
            event.editor->setText(reduced);
            event.editor->setSelection(int(reduced.size()), 0);
            event.editor->setCursorPosition(int(reduced.size()));
            // Said at once; the end of the edit keeps the old value when nothing of a number is left.
            m_filteredEditor = event.editor;
            if (ShellHost *h = shellHost())
                h->setStatusText(rmNumbersOnlyText());
        }
        m_guard = true;
    }
    if (event.VALUECHANGED())
        m_rows->changed = true;
}

bool RM_EDIT_WINDOW::cellEdit(BCellEditEvent &event)
{
    if (!m_rows)
        return true;
    if (event.mode == CellEditMode::Typed) {
        if (event.VALUECHANGED()) {
            const int field = event.columnObject ? event.columnObject->FIELDNO() : event.column;
            const bool filtered = event.editor && event.editor == m_filteredEditor;
            if (const std::optional<QString> text =
                    rmTypedCell(field, event.TEXTVALUE, m_rows->decimalsOf(field), filtered)) {
                event.TEXTVALUE = *text;
                m_rows->changed = true;
            } else {
                event.TEXTVALUE = event.originalText; // the cell keeps its value
                ERRBEEP();
                if (ShellHost *h = shellHost())
                    h->setStatusText(rmNotANumberText());
            }
        }
    } else if (event.mode == CellEditMode::Stored) {
        m_rows->server()->COMMIT();
    }
    return true;
}

void RM_EDIT_WINDOW::captionClick(int column)
{
    if (!ready())
        return;
    BDATACOLUMN *c = m_grid->GETCOLUMN(column);
    const int field = c ? c->FIELDNO() : column;
    if (field - 4 <= 0)
        return;
    showMessage(this, u"Besin maddesi.."_s, rmCaptionText(m_rows->descriptions(), m_rows->fieldName(field)),
                MB_OK | MB_ICONINFORMATION);
}

void RM_EDIT_WINDOW::bulk(const std::function<void()> &operation)
{
    if (!ready())
        return;
    m_grid->storePendingEdit();
    const int column = m_grid->CURRENTCOLUMN();
    m_grid->SUSPENDUPDATE();
    m_rows->server()->SUSPENDNOTIFICATION();
    operation();
    m_rows->server()->RESETNOTIFICATION();
    m_grid->RESTOREUPDATE();
    m_grid->setCURRENTCOLUMN(column);
    m_grid->REFRESH();
}

void RM_EDIT_WINDOW::syncMoveItems()
{
    const bool on = m_rows && m_rows->moveEnabled();
    m_menu->setEnabled(kKaydirMain, on);
    m_context->setEnabled(kKaydirContext, on);
}

// --- saving and closing ----------------------------------------------------------------------------------

void RM_EDIT_WINDOW::KAYDET()
{
    if (!m_rows)
        return;
    if (m_grid)
        m_grid->storePendingEdit();
    m_rows->KAYDET();
}

bool RM_EDIT_WINDOW::SONKONT()
{
    if (!m_rows)
        return true;
    if (ready())
        m_grid->storePendingEdit();
    if (m_rows->changed) {
        const MessageAnswer answer = askSaveBeforeClosing(
            this, u"Uyarı..."_s, u"Referans matris dosyası değişti.\n\nDeğişiklikleri kaydetmek istiyor musunuz?"_s);
        if (answer == MessageAnswer::Cancel)
            return false; // the window stays open with its edits
        if (answer == MessageAnswer::Yes) {
            m_rows->server()->SKIP(0);
            if (!m_rows->RMATRIXKAYDI())
                return false; // the edits stay in the open window
        }
    }
    if (m_rows->saved && askYesNo(this, u"Uyarı..."_s, u"Değişen veritabanı dosyaları yedeklensin mi?."_s))
        RMYEDEKLE();
    if (m_rows->server()->USED())
        m_rows->server()->CLOSE();
    openProblem().UPANODEGER.reset();
    return true;
}

void RM_EDIT_WINDOW::RMYEDEKLE()
{
    // Both tables replace the old backup together, so the backup never pairs a new matrix with old
    // definitions; a failure is told and leaves the old backup whole.
    if (!quickBackupReferenceDatabase(this))
        return;
    // The status texts name the folder the copies really went to.
    const QString shown = QDir::toNativeSeparators(QDir::cleanPath(proposedBackupFolder()));
    if (ShellHost *h = shellHost()) {
        h->setStatusText(u"Referans matris dosyası '%1' dizinine yedeklendi!"_s.arg(shown));
        h->setStatusText(u"Referans matris ek dosyası da '%1' dizinine yedeklendi!"_s.arg(shown));
    }
}

void RM_EDIT_WINDOW::CLOSE()
{
    if (m_closing)
        return;
    if (!SONKONT())
        return;
    m_closing = true;
    if (m_grid)
        m_grid->USE(nullptr);
    endDataWindow(this);
}

void RM_EDIT_WINDOW::closeEvent(QCloseEvent *event)
{
    if (!m_closing)
        CLOSE();
    if (m_closing)
        event->accept();
    else
        event->ignore();
}

void RM_EDIT_WINDOW::resizeEvent(QResizeEvent *event)
{
    if (m_grid)
        m_grid->setGeometry(2, kStripHeight, qMax(0, width() - 4), qMax(0, height() - kStripHeight - 2));
    QWidget::resizeEvent(event);
}

void RM_EDIT_WINDOW::contextMenuEvent(QContextMenuEvent *event)
{
    if (m_context && m_context->popup())
        m_context->popup()->popup(event->globalPos());
    event->accept();
}

// --- clipboard ---------------------------------------------------------------------------------------------

void RM_EDIT_WINDOW::COPY()
{
    if (ready())
        m_rows->COPY(currentField());
}

void RM_EDIT_WINDOW::CUT()
{
    if (ready() && m_rows->CUT(currentField()))
        m_grid->REFRESH();
}

void RM_EDIT_WINDOW::FDELETE()
{
    if (ready() && m_rows->FDELETE(currentField()))
        m_grid->REFRESH();
}

void RM_EDIT_WINDOW::PASTE()
{
    if (ready() && m_rows->PASTE(currentField()))
        m_grid->REFRESH();
}

// --- navigation --------------------------------------------------------------------------------------------

void RM_EDIT_WINDOW::GOTOP()
{
    if (ready())
        m_rows->server()->GOTOP();
}

void RM_EDIT_WINDOW::GOPREVIOUS()
{
    if (ready())
        m_rows->server()->SKIP(-1);
}

void RM_EDIT_WINDOW::GONEXT()
{
    if (ready() && m_rows->server()->RECNO() < m_rows->server()->LASTREC())
        m_rows->server()->SKIP(1);
}

void RM_EDIT_WINDOW::GOBOTTOM()
{
    if (ready())
        m_rows->server()->GOBOTTOM();
}

// --- form, rows, search ------------------------------------------------------------------------------------

void RM_EDIT_WINDOW::RMINDEDIT()
{
    if (!ready() || m_rows->server()->eof())
        return;
    m_grid->storePendingEdit();
    const int recNo = m_rows->server()->RECNO();
    const std::optional<RmFormHandBack> back = referenceForm()(this, m_rows->formInput());
    if (!back || back->AYYDEGERLER.isEmpty())
        return;
    bulk([&] {
        if (m_rows->server()->RECNO() != recNo)
            m_rows->server()->GOTO(recNo);
        m_rows->applyForm(*back);
    });
    m_grid->SETFOCUS();
}

void RM_EDIT_WINDOW::YM_EKLE()
{
    bulk([this] { m_rows->YM_EKLE(); });
    if (ready())
        m_grid->setCURRENTCOLUMN(2);
}

void RM_EDIT_WINDOW::INSBLNKYM()
{
    BusyCursor busy;
    bulk([this] { m_rows->INSBLNKYM(); });
}

void RM_EDIT_WINDOW::YMDELETE()
{
    bulk([this] { m_rows->YMDELETE(); });
}

void RM_EDIT_WINDOW::YMSEC()
{
    if (!ready())
        return;
    m_rows->YMSEC();
    syncMoveItems();
}

void RM_EDIT_WINDOW::YMKAYDIR()
{
    BusyCursor busy;
    bulk([this] { m_rows->YMKAYDIR(); });
    syncMoveItems();
}

void RM_EDIT_WINDOW::PBARA()
{
    if (!ready())
        return;
    bulk([this] { m_rows->PBARA(m_search->text()); });
    m_grid->setCURRENTCOLUMN(2);
    m_search->setFocus();
}

void RM_EDIT_WINDOW::COLMATHBM()
{
    if (!ready())
        return;
    const int field = currentField();
    bulk([&] {
        m_rows->COLMATHBM(field, [this]() -> std::optional<ColumnMathRequest> {
            const ColumnMathDialog &dialog = columnMathSlot();
            return dialog ? dialog(this, m_rows->server().get()) : showColumnMath(this, m_rows->server().get());
        });
    });
    m_grid->SETFOCUS();
}

void RM_EDIT_WINDOW::BMBAGLA()
{
    bulk([this] { m_rows->BMBAGLA(matrixDialogs()); });
    if (ready())
        m_grid->SETFOCUS();
}

// --- the main window's command ------------------------------------------------------------------------------

void RM_YAZIM()
{
    ShellHost *h = shellHost();
    if (!h)
        return;
    h->openDataWindow(u"RM_EDIT_WINDOW"_s, [h]() -> QWidget * {
        if (!QFileInfo::exists(referenceMatrixPath()) && !RMAT_CREATE(h->mainWindow()))
            return nullptr;
        auto *window = new RM_EDIT_WINDOW();
        if (!window->loaded()) {
            delete window;
            return nullptr;
        }
        return window;
    });
}

void installReferenceMatrixEditorCommands()
{
    shellCommands().add(u"RM_YAZIM"_s, [] { RM_YAZIM(); });
}

} // namespace vexo
