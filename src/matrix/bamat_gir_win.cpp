#include "matrix/bamat_gir_win.h"

#include "controls/grid_subclasses.h"
#include "controls/menu_builder.h"
#include "matrix/amat_rules.h"
#include "matrix/matrix_dialogs.h"
#include "platform/message_sink.h"
#include "platform/process_launcher.h"
#include "problem/number_text.h"
#include "resources/resource_library.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>

using namespace Qt::StringLiterals;

namespace vexo {

namespace {
QKeySequence ctrl(Qt::Key key)
{
    return QKeySequence(Qt::CTRL | key);
}
} // namespace

MenuTable amatGirMenu()
{
    MenuTable t;
    t.name = u"AMAT_GIRMENU"_s;
    t.rows = {
        submenu(0, 29217, u"&Pencere"_s, u"PENCERE"_s, u"Pencereyi düzenle"_s),
        item(1, 29218, u"&Küçült"_s, u"WINDOWCASCADE"_s, u"Pencereyi küçük olarak düzenle"_s),
        item(1, 29219, u"&Diz..."_s, u"WINDOWTILE"_s, u"Pencereyi dizili olarak düzenle"_s),
        separator(1),
        item(1, 29221, u"Ka&pat..."_s, u"CLOSE"_s, u"Matris yazım penceresini kapat"_s),
        submenu(0, 29222, u"Y&azım"_s, u"YAZIM"_s, u"Yazım işlemleri"_s),
        item(1, 29223, u"&Kes...\tCtrl+X"_s, u"CUT"_s, u"Panoya kopyala ve sil"_s),
        item(1, 29224, u"Ko&pyala\tCtrl+C"_s, u"COPY"_s, u"Panoya kopyala"_s),
        item(1, 29225, u"&Yapıştır\tCtrl+V"_s, u"PASTE"_s, u"Panodan yapıştır"_s),
        separator(1),
        item(1, 29227, u"&Başa Git\tCtrl+Home"_s, u"GOTOP"_s, u"Başa git"_s),
        item(1, 29228, u"&Önceki"_s, u"GOPREVIOUS"_s, u"Önceki kayda git"_s),
        item(1, 29229, u"Son&raki"_s, u"GONEXT"_s, u"Soraki kayda git"_s),
        item(1, 29230, u"&Sona Git\tCtrl+End"_s, u"GOBOTTOM"_s, u"Son kayda git"_s),
        submenu(0, 29231, u"&Araçlar"_s, u"ARACLAR"_s),
        item(1, 29232, u"&Hesap Makinesi"_s, u"WIN_HESMAK"_s, u"Hesap makinesini çağır"_s),
        separator(1),
        item(1, 29234, u"&Besin Maddesi Bağla"_s, u"BMBAGLA"_s, u"Besin maddesi bağla"_s),
        submenu(0, 29235, u"&Yardım"_s, u"YARDIM"_s, u"Yardım"_s),
        item(1, 29236, u"&İndeks\tF1"_s, u"HELPINDEX"_s, u"Yardım indeksi"_s),
        item(1, 29237, u"İçin&dekiler\tF2"_s, u"HELPCONTENTS"_s, u"İçindekiler listesi"_s),
        item(1, 29238, u"İl&gili Yardım\tF3"_s, u"CONTEXTHELP"_s, u"İlgili yardım"_s),
        separator(1),
        item(1, 29240, u"&Hakkında...\tF4"_s, u"OHAKKINDA"_s, u"VEXO_Zud 2.6 hakkında..."_s),
    };
    t.keys = {
        {ctrl(Qt::Key_X), 29223},          {ctrl(Qt::Key_C), 29224},          {ctrl(Qt::Key_V), 29225},
        {ctrl(Qt::Key_Home), 29227},       {ctrl(Qt::Key_End), 29230},       {QKeySequence(Qt::Key_F1), 29236},
        {QKeySequence(Qt::Key_F2), 29237}, {QKeySequence(Qt::Key_F3), 29238}, {QKeySequence(Qt::Key_F4), 29240},
    };
    t.tools = {
        {3, 29221, u"Pencereyi kapat"_s},
        toolSeparator(),
        {101, 29223, u"Kes"_s},
        {31, 29224, u"Kopyala"_s},
        {102, 29225, u"Yapıştır"_s},
        toolSeparator(),
        {129, 29227, u"Başa git"_s},
        {127, 29228, u"Bir önceki kayda git"_s},
        {128, 29229, u"Bir sonraki kayda git"_s},
        {130, 29230, u"Son kayda git"_s},
        toolSeparator(),
        {48, 29232, u"Hesap makinesi"_s},
        {90, 29234, u"Besin maddesi bağla"_s},
        toolSeparator(),
        {120, 29236, u"Yardım indeksi"_s},
    };
    return t;
}

MenuTable amContMenu()
{
    MenuTable t;
    t.name = u"AM_CONT_MENU"_s;
    t.rows = {
        submenu(0, 4218, u"&Yazım"_s, u"YAZIM"_s, u"Aktif matris yazım işlemleri"_s),
        item(1, 4219, u"&Kes..."_s, u"CUT"_s, u"Panoya kopyala ve sil"_s),
        item(1, 4220, u"Ko&pyala"_s, u"COPY"_s, u"Panoya kopyala"_s),
        item(1, 4221, u"&Yapıştır"_s, u"PASTE"_s, u"Panodan yapıştır"_s),
        separator(1),
        item(1, 4223, u"Besin Mad. &Bağla"_s, u"BMBAGLA"_s, u"Besin maddesi bağla"_s),
    };
    return t;
}

BAMAT_GIR_WIN::BAMAT_GIR_WIN(QWidget *parent) : QWidget(parent)
{
    setObjectName(u"BAMAT_GIR_WIN"_s);
    setWindowTitle(kActiveMatrixCaption);
    setWindowIcon(ResourceLibrary::icon(u"HALICO"_s));
    setAttribute(Qt::WA_DeleteOnClose);

    const std::pair<const char *, std::function<void()>> commands[] = {
        {"CUT", [this] { CUT(); }},
        {"COPY", [this] { COPY(); }},
        {"PASTE", [this] { PASTE(); }},
        {"FDELETE", [this] { FDELETE(); }},
        {"CLEAR", [this] { FDELETE(); }},
        {"GOTOP", [this] { GOTOP(); }},
        {"GOPREVIOUS", [this] { GOPREVIOUS(); }},
        {"GONEXT", [this] { GONEXT(); }},
        {"GOBOTTOM", [this] { GOBOTTOM(); }},
        {"BMBAGLA", [this] { BMBAGLA(); }},
        {"WIN_HESMAK", [] { launchCalculator(); }},
        {"CONTEXTHELP", [] { if (ShellHost *h = shellHost()) h->showHelp(BAMAT_GIR_WIN::helpKeyword()); }},
        {"OHAKKINDA", [] { if (ShellHost *h = shellHost()) h->showAbout(); }},
        {"CLOSE", [this] { CLOSE(); }},
    };
    for (const auto &[name, handler] : commands)
        m_commands.add(QString::fromLatin1(name), handler);
    auto dispatch = [this](const QString &command) { runChildCommand(*this, command); };
    m_menu = std::make_unique<BuiltMenu>(amatGirMenu(), dispatch);
    m_context = std::make_unique<BuiltMenu>(amContMenu(), dispatch);

    m_grid = new AMAT_BBROWSER(this, this);
    m_grid->setAccessibleName(kActiveMatrixCaption);
    GIRDEG = [this](bool on) { m_girdeg = on; };
    EDITCHANGE = [this](BCellEditEvent &e) { editChange(e); };
    CELLEDIT = [this](BCellEditEvent &e) { return cellEdit(e); };
    buildGrid();
    resize(800, 600);
}

BAMAT_GIR_WIN::~BAMAT_GIR_WIN()
{
    if (m_grid)
        m_grid->USE(nullptr);
}

void BAMAT_GIR_WIN::buildGrid()
{
    OpenProblem &p = openProblem();
    m_guard = true;
    m_server = std::make_shared<BARRAYSERVER>(matrixFields(int(p.AYMADLARI.size())),
                                              matrixRows(p.AAMAT, p.ABMADLARI, p.ABMBIRIMLERI));
    m_decimals = rowDecimals(p.ABMADLARI, referenceTables().ABMDESC);
    if (!m_server->USED())
        return;
    m_grid->setROWMODE(BrowserRowMode::ABSOLUTE);
    m_grid->setROWCOUNTMODE(BrowserRowCountMode::RECCOUNT);
    m_grid->USE(m_server);
    m_grid->setFREEZE(1);
    m_grid->setEDITABLE(true);
    m_grid->setAUTOEDIT(BrowserAutoEdit::EXCEL);
    m_grid->addCOLORCONDITION({BCOLORCONDITION::oddRecNo(), std::nullopt, QBrush(QColor(235, 240, 255))});
    m_grid->setGRID({1, QColor(192, 192, 192)});
    m_grid->setCAPTIONHEIGHT(32);
    BVIEWSTYLE caption;
    QFont font(u"Arial"_s, 8);
    font.setBold(true);
    caption.font = font;
    caption.alignment = Qt::AlignCenter;
    m_grid->setCAPTIONVIEW(caption);
    BVIEWSTYLE data;
    data.alignment = Qt::AlignRight | Qt::AlignVCenter;
    m_grid->setDATAVIEW(data);

    if (BDATACOLUMN *name = m_grid->GETCOLUMN(u"MATFNAMEUNIT"_s)) {
        name->setCAPTION(u"\r\nBesin Maddesi"_s);
        BVIEWSTYLE look;
        look.alignment = Qt::AlignCenter;
        name->setCAPTIONVIEW(look);
        name->setALIGNMENT(Qt::AlignLeft | Qt::AlignVCenter);
        name->setEDITABLE(false);
        name->setSELECTABLE(false);
        name->CALCULATEWIDTH();
    }
    const QStringList &ingredients = openProblem().AYMADLARI;
    for (int i = 0; i < ingredients.size(); ++i) {
        if (BDATACOLUMN *c = m_grid->GETCOLUMN(u"MATYMNAME"_s + QString::number(i + 1))) {
            c->setCAPTION(ingredientCaption(ingredients[i]));
            c->setEDITABLE(true);
            c->CALCULATEWIDTH();
        }
    }
    m_grid->KEYCOMMAND(Qt::Key_Delete, [this] { FDELETE(); });
    m_grid->RECALCULATE();
    m_grid->setCURRENTCOLUMN(2);
    m_grid->SETFOCUS();
}

void BAMAT_GIR_WIN::editChange(BCellEditEvent &event)
{
    if (!m_grid->USED() || !event.editor)
        return;
    if (m_guard) {
        m_guard = false;
        const QString reduced = CHGALPHA1(event.editor->text());
        if (reduced != event.editor->text()) {
            event.editor->setText(reduced);
            event.editor->setSelection(int(reduced.size()), 0);
            event.editor->setCursorPosition(int(reduced.size()));
        }
        m_guard = true;
    }
    if (event.VALUECHANGED())
        m_girdeg = true;
}

bool BAMAT_GIR_WIN::cellEdit(BCellEditEvent &event)
{
    if (event.mode == CellEditMode::Typed) {
        const QString text = event.TEXTVALUE.trimmed();
        if (event.VALUECHANGED() && !text.isEmpty() && event.column > 1) {
            const int d = m_decimals.value(event.recNo - 1, 4);
            event.TEXTVALUE = SDAYA3(text, unsigned(qMax(0, d)), 4);
        }
    } else if (event.mode == CellEditMode::Stored && m_server) {
        m_server->COMMIT();
    }
    return true;
}

int BAMAT_GIR_WIN::editableField() const
{
    if (!m_grid || !m_grid->USED())
        return 0;
    BDATACOLUMN *c = m_grid->GETCOLUMN(m_grid->CURRENTCOLUMN());
    if (!c || !c->EDITABLE() || m_server->eof())
        return 0;
    return c->FIELDNO();
}

void BAMAT_GIR_WIN::writeCurrent(const QString &value)
{
    const int field = editableField();
    m_server->FIELDPUT(field, value);
    m_girdeg = true;
    m_grid->REFRESH();
}

void BAMAT_GIR_WIN::COPY()
{
    if (const int field = editableField())
        openProblem().UPANODEGER = m_server->FIELDGET(field).toString();
}

void BAMAT_GIR_WIN::CUT()
{
    if (const int field = editableField()) {
        openProblem().UPANODEGER = m_server->FIELDGET(field).toString();
        writeCurrent(emptyNumberText());
    }
}

void BAMAT_GIR_WIN::FDELETE()
{
    if (editableField())
        writeCurrent(emptyNumberText());
}

void BAMAT_GIR_WIN::PASTE()
{
    const std::optional<QString> &clip = openProblem().UPANODEGER;
    if (!editableField() || !clip)
        return;
    // Only a number text fits a matrix cell; anything else pastes nothing.
    if (const std::optional<QString> cell = pastedCell(*clip, m_decimals.value(m_server->RECNO() - 1, 4)))
        writeCurrent(*cell);
}

void BAMAT_GIR_WIN::GOTOP()
{
    if (m_grid && m_grid->USED())
        m_server->GOTOP();
}

void BAMAT_GIR_WIN::GOPREVIOUS()
{
    if (m_grid && m_grid->USED())
        m_server->SKIP(-1);
}

void BAMAT_GIR_WIN::GONEXT()
{
    if (m_grid && m_grid->USED() && m_server->RECNO() < m_server->LASTREC())
        m_server->SKIP(1);
}

void BAMAT_GIR_WIN::GOBOTTOM()
{
    if (m_grid && m_grid->USED())
        m_server->GOBOTTOM();
}

void BAMAT_GIR_WIN::BMBAGLA()
{
    if (!m_grid || !m_grid->USED())
        return;
    OpenProblem &p = openProblem();
    const int column = m_grid->CURRENTCOLUMN();
    if (column < 2)
        return;
    MatrixDialogs &dialogs = matrixDialogs();
    QStringList candidates = macroCandidates(p.ABMADLARI);
    const int chosen = dialogs.choose(this, u"Makro BM Seçimi"_s, candidates);
    if (chosen < 1 || chosen > candidates.size())
        return;
    const QString macro = candidates[chosen - 1];
    const QString prompt = p.AYMADLARI.value(column - 2).trimmed() + u"->"_s + macro.trimmed()
                           + u" Değerini Giriniz:"_s;
    const int macroRow = int(p.ABMADLARI.indexOf(macro)) + 1;
    m_server->GOTO(macroRow);
    const QString oldText = m_server->FIELDGET(column).toString();
    const QString newText = dialogs.askValue(this, prompt, oldText);
    if (newText.isEmpty() || newText == oldText)
        return;
    candidates.removeAt(chosen - 1);
    const QList<int> ticked = dialogs.chooseMany(this, u"Bağlı BM'lerin Seçimi"_s, candidates);
    if (ticked.isEmpty())
        return;
    QStringList linked;
    for (int pos : ticked)
        linked.append(candidates.value(pos - 1));
    QStringList cells;
    for (int rec = 1; rec <= m_server->LASTREC(); ++rec)
        cells.append(m_server->textAt(rec, column));
    const std::optional<LinkResult> result = linkColumn(cells, p.ABMADLARI, macro, newText, linked);
    if (!result) {
        showMessage(this, u"Uyarı..."_s,
                    u"Bağlı besin maddelerinin yeni değerleri hücreye sığmıyor; hiçbir değer değiştirilmedi."_s,
                    MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    m_grid->SUSPENDUPDATE();
    m_server->SUSPENDNOTIFICATION();
    for (const auto &[row, text] : result->writes) {
        m_server->GOTO(row + 1);
        m_server->FIELDPUT(column, text);
    }
    m_server->COMMIT();
    m_server->RESETNOTIFICATION();
    m_grid->RESTOREUPDATE();
    m_grid->REFRESH();
    p.LAMATDEG = true;
    m_girdeg = true;
}

void BAMAT_GIR_WIN::TRICKSERVER()
{
    if (!m_server || !m_server->USED())
        return;
    m_server->SKIP(0);
    m_server->NOTIFY(ServerNotify::FileChange);
}

void BAMAT_GIR_WIN::commit()
{
    OpenProblem &p = openProblem();
    if (m_girdeg && m_server) {
        TRICKSERVER();
        p.AAMAT = committedMatrix(m_server->textRows());
        p.LAMATDEG = true;
        m_girdeg = false;
    }
    p.UPANODEGER.reset();
}

void BAMAT_GIR_WIN::SONKONT()
{
    commit();
    if (m_server && m_server->USED())
        m_server->CLOSE();
}

void BAMAT_GIR_WIN::SONKONT2()
{
    commit();
}

void BAMAT_GIR_WIN::CLOSE()
{
    if (m_closing)
        return;
    m_closing = true;
    SONKONT();
    if (ShellHost *h = shellHost())
        h->REMOVEDATAWINDOW(this);
    if (QWidget *frame = parentWidget(); frame && frame->inherits("QMdiSubWindow"))
        frame->close();
    else
        close();
}

void BAMAT_GIR_WIN::closeEvent(QCloseEvent *event)
{
    if (!m_closing)
        CLOSE();
    event->accept();
}

void BAMAT_GIR_WIN::resizeEvent(QResizeEvent *event)
{
    if (m_grid)
        m_grid->setGeometry(0, 0, qMax(0, width() - 4), qMax(0, height() - 30));
    QWidget::resizeEvent(event);
}

void BAMAT_GIR_WIN::contextMenuEvent(QContextMenuEvent *event)
{
    if (m_context && m_context->popup())
        m_context->popup()->popup(event->globalPos());
}

void installActiveMatrixCommands()
{
    shellCommands().add(u"AMAT_GIRIS"_s, [] {
        ShellHost *h = shellHost();
        if (!h || !openProblem().isOpen())
            return;
        h->openDataWindow(u"BAMAT_GIR_WIN"_s, [] { return new BAMAT_GIR_WIN(); });
    });
}

} // namespace vexo
