#include "matrix/group_window.h"

#include "controls/barray_server.h"
#include "controls/grid_rules.h"
#include "controls/grid_subclasses.h"
#include "controls/menu_builder.h"
#include "matrix/group_menus.h"
#include "platform/dialog_units.h"
#include "platform/process_launcher.h"
#include "problem/messages.h"
#include "problem/open_problem.h"
#include "resources/resource_library.h"
#include "solver/ky_optimizer.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

namespace vexo {

namespace {

const QColor kBlack(0, 0, 0);
const QColor kBlue(0, 0, 255);
const QColor kGreen(0, 192, 0);
const QColor kCyan(0, 128, 128);
const QColor kRed(255, 0, 0);
const QColor kShade(190, 190, 190);

GroupDialogResult runMemberDialog(QWidget *owner, std::optional<GRUP_BELIR_DLG::Existing> existing)
{
    GRUP_BELIR_DLG dlg(owner, std::move(existing));
    dlg.exec();
    return {dlg.RESULT, dlg.CGRPNAME, dlg.ANSELECTED};
}

GroupSolveResult runSolver(QWidget *owner)
{
    KY_OPTIMIZER solver(owner, true);
    return {solver.RESULT(), solver.LOPTI_, solver.AAUTOYMG_};
}

BYM_GRUBU_WIN::MemberDialog &memberDialog()
{
    static BYM_GRUBU_WIN::MemberDialog dialog = runMemberDialog;
    return dialog;
}

BYM_GRUBU_WIN::Solver &solver()
{
    static BYM_GRUBU_WIN::Solver s = runSolver;
    return s;
}

struct ColumnSpec
{
    const char *field;
    const char *caption;
    int width;
    bool editable;
    bool starred;
};

const ColumnSpec kColumns[] = {
    {"YMGNAME", "Yem Maddesi\nGrubu Adı", kYmgNameWidth, true, false},
    {"YMGFIX", "Sabit,\n %", kCellWidth, true, false},
    {"YMGLLIMIT", "Alt Sınır,\n%", kCellWidth, true, false},
    {"YMGULIMIT", "Üst Sınır,\n %", kCellWidth, true, false},
    {"YMGACOZUM", "Çözüm,\n %", kCellWidth, false, true},
    {"YMGGFIAT", "Gölge\nFiyat", kCellWidth, false, false},
    {"YMGOCOZUM", "Ö. Çözüm,\n%", kCellWidth, false, true},
    {"YMGCFARKI", "Fark-I,\n %", kCellWidth, false, false},
    {"YMGKCOZUM", "K. Çözüm,\n%", kCellWidth, false, true},
    {"YMGKCFARKI", "Fark-II,\n%", kCellWidth, false, false},
};

} // namespace

void BYM_GRUBU_WIN::setMemberDialog(MemberDialog dialog)
{
    memberDialog() = dialog ? std::move(dialog) : MemberDialog(runMemberDialog);
}

void BYM_GRUBU_WIN::setSolver(Solver s)
{
    solver() = s ? std::move(s) : Solver(runSolver);
}

BYM_GRUBU_WIN::BYM_GRUBU_WIN(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("BYM_GRUBU_WIN"));
    setWindowTitle(QStringLiteral("Yem Maddesi Grupları"));
    setWindowIcon(ResourceLibrary::icon(QStringLiteral("ICON_RECETTE")));
    resize(dluRect(font(), 0, 0, 489, 235).size());

    m_grid = makeGridClass(GridClass::YMG, this, &m_owner).release();
    m_grid->setObjectName(QStringLiteral("BROWSER"));
    m_grid->setGeometry(dluRect(font(), 4, 3, 480, 184));
    m_status = new QPushButton(this);
    m_status->setObjectName(QStringLiteral("PBDURUM"));
    m_status->setFlat(true);
    m_status->setGeometry(dluRect(font(), 316, 195, 33, 26));
    m_status->setIconSize(m_status->size() - QSize(6, 6));
    const char *names[] = {"SLE_COZUM_MAL", "SLE_OCOZUM_MAL", "SLE_COZUM_FARKI", "SLE_KCOZUM_MAL", "SLE_KCOZUM_FARKI"};
    const char *tips[] = {"Çözüm maliyeti", "Önceki çözüm maliyeti", "Çözüm-önceki çözüm maliyeti farkı",
                          "Kayıtlı çözüm maliyeti", "Çözüm-kayıtlı çözüm maliyet farkı"};
    const QPoint at[] = {{132, 195}, {192, 195}, {252, 195}, {192, 210}, {252, 210}};
    QPalette cyan = palette();
    cyan.setBrush(QPalette::Base, kCyan);
    for (int i = 0; i < 5; ++i) {
        auto *field = new QLineEdit(this);
        field->setObjectName(QString::fromLatin1(names[i]));
        field->setReadOnly(true);
        field->setToolTip(QString::fromUtf8(tips[i]));
        field->setPalette(cyan);
        field->setAlignment(Qt::AlignRight);
        // The fields stand 90 pixels apart once laid out; a wide font must not let one cover the next.
        const QRect r = dluRect(font(), at[i].x(), at[i].y(), 56, 11);
        field->setGeometry(r.x(), r.y(), std::min(r.width(), 88), r.height());
        m_fields[i] = field;
    }
    BASDURUM();

    m_owner.CELLEDIT = [this](BCellEditEvent &ev) { return cellEdit(ev); };
    m_owner.EDITCHANGE = [this](BCellEditEvent &ev) { editChange(ev); };
    m_owner.GIRDEG = [this](bool changed) { m_girdeg = m_girdeg || changed; };
    m_owner.STATUSMESSAGE = [this](const QString &text) { statusBar(text); };

    auto dispatch = [this](const QString &command) { runCommand(command); };
    m_menu = std::make_unique<BuiltMenu>(ymGrubuMenu(), dispatch);
    m_context = std::make_unique<BuiltMenu>(ymgContMenu(), dispatch);
    describeInMainWindow(*m_menu, m_context.get());
    registerCommands();

    // POSTINIT
    OpenProblem &p = openProblem();
    m_filtering = true;
    if (p.NCOZUMSAYISI > 0)
        COZDURUM();
    if (p.LAMATHAZIR)
        m_menu->enable(kGroupSolveItem);
    MALIYETVEFARKLARI();
    setUpGrid();
}

BYM_GRUBU_WIN::~BYM_GRUBU_WIN()
{
    if (m_grid)
        m_grid->setOWNER(nullptr);
}

void BYM_GRUBU_WIN::setUpGrid()
{
    ServerFields fields;
    for (const ColumnSpec &c : kColumns)
        fields.append(ServerField{QString::fromLatin1(c.field), u'C', c.width, 0});
    m_server = std::make_shared<BARRAYSERVER>(fields, openProblem().AYMGLIST);
    if (!m_server->USED())
        return;
    m_grid->setROWMODE(BrowserRowMode::ABSOLUTE);
    m_grid->setROWCOUNTMODE(BrowserRowCountMode::RECCOUNT);
    m_grid->USE(m_server);
    m_grid->setEDITABLE(true);
    m_grid->setAUTOEDIT(BrowserAutoEdit::EXCEL);
    m_grid->setFREEZE(1);
    m_grid->setENABLECOLUMNMOVE(false);
    m_grid->addCOLORCONDITION(BCOLORCONDITION{BCOLORCONDITION::oddRecNo(), {}, QBrush(kShade)});
    m_grid->setGRID(BGRID{1, kCyan});
    m_grid->setCAPTIONHEIGHT(32);
    QFont captionFont(QStringLiteral("Arial"), 8);
    captionFont.setBold(true);
    BVIEWSTYLE caption;
    caption.foreground = kBlack;
    caption.background = QBrush(kGreen);
    caption.alignment = Qt::AlignCenter;
    caption.font = captionFont;
    m_grid->setCAPTIONVIEW(caption);
    BVIEWSTYLE data;
    data.alignment = Qt::AlignRight | Qt::AlignVCenter;
    m_grid->setDATAVIEW(data);
    for (const ColumnSpec &c : kColumns) {
        BDATACOLUMN *col = m_grid->GETCOLUMN(QString::fromLatin1(c.field));
        if (!col)
            continue;
        col->setCAPTION(QString::fromUtf8(c.caption));
        col->setEDITABLE(c.editable);
        if (c.editable)
            col->setFOREGROUND(kBlue);
        if (c.starred)
            col->addCOLORCONDITION(BCOLORCONDITION{BCOLORCONDITION::startsWithStar(QString::fromLatin1(c.field)), kRed, {}});
        col->CALCULATEWIDTH();
    }
    if (BDATACOLUMN *name = m_grid->GETCOLUMN(1))
        name->setALIGNMENT(Qt::AlignLeft | Qt::AlignVCenter);
    m_grid->KEYCOMMAND(Qt::Key_Delete, [this] { FDELETE(); });
    m_grid->RECALCULATE();
    m_server->GOTOP();
    m_grid->setCURRENTCOLUMN(1);
    m_grid->REFRESH();
    m_grid->SETFOCUS();
}

void BYM_GRUBU_WIN::registerCommands()
{
    const std::pair<const char *, void (BYM_GRUBU_WIN::*)()> ops[] = {
        {"CUT", &BYM_GRUBU_WIN::CUT},       {"COPY", &BYM_GRUBU_WIN::COPY},
        {"PASTE", &BYM_GRUBU_WIN::PASTE},   {"CLEAR", &BYM_GRUBU_WIN::CLEAR},
        {"FDELETE", &BYM_GRUBU_WIN::FDELETE}, {"PBEKLE", &BYM_GRUBU_WIN::PBEKLE},
        {"GRPBELIRLE", &BYM_GRUBU_WIN::GRPBELIRLE}, {"PBSIL", &BYM_GRUBU_WIN::PBSIL},
        {"PBCOZUM", &BYM_GRUBU_WIN::PBCOZUM},
    };
    for (const auto &[name, op] : ops)
        m_commands.add(QString::fromLatin1(name), [this, op = op] { (this->*op)(); });
    m_commands.add(QStringLiteral("CLOSE"), [this] { CLOSE(); });
    m_commands.add(QStringLiteral("PB_HMAK"), [] { launchCalculator(); });
    m_commands.add(QStringLiteral("OHAKKINDA"), [] {
        if (ShellHost *host = shellHost())
            host->showAbout();
    });
    m_commands.add(QStringLiteral("CONTEXTHELP"), [] {
        if (ShellHost *host = shellHost())
            host->showHelp(helpKeyword());
    });
}

bool BYM_GRUBU_WIN::runCommand(const QString &name)
{
    return runChildCommand(*this, name);
}

void BYM_GRUBU_WIN::statusBar(const QString &text)
{
    if (ShellHost *host = shellHost())
        host->setStatusText(text);
}

QLineEdit *BYM_GRUBU_WIN::costField(int id) const
{
    return id >= 102 && id <= 106 ? m_fields[id - 102] : nullptr;
}

RowList BYM_GRUBU_WIN::gridRows() const
{
    if (!m_server)
        return {};
    RowList rows;
    for (int r = 1; r <= m_server->LASTREC(); ++r) {
        if (m_server->deletedAt(r))
            continue;
        Row row;
        for (int f = 1; f <= m_server->FCOUNT(); ++f)
            row << m_server->textAt(r, f);
        rows << row;
    }
    return rows;
}

Row BYM_GRUBU_WIN::currentRow() const
{
    Row row;
    for (int f = 1; f <= m_server->FCOUNT(); ++f)
        row << m_server->textAt(m_server->RECNO(), f);
    return row;
}

void BYM_GRUBU_WIN::writeRow(int recNo, const Row &row)
{
    for (int f = 1; f <= m_server->FCOUNT() && f <= row.size(); ++f) {
        if (m_server->textAt(recNo, f) != row.at(f - 1)) {
            if (m_server->RECNO() != recNo)
                m_server->GOTO(recNo);
            m_server->FIELDPUT(f, row.at(f - 1));
        }
    }
}

void BYM_GRUBU_WIN::apply(const GroupCellOutcome &out)
{
    OpenProblem &p = openProblem();
    if (out.tone)
        ERRBEEP();
    if (out.notice) {
        if (out.notice->error)
            ERRMESS(this, out.notice->caption, out.notice->text);
        else
            UYARI(this, out.notice->caption, out.notice->text);
    }
    p.UPANODEGER = out.clipboard;
    if (!out.changed)
        return;
    writeRow(m_server->RECNO(), out.row);
    m_girdeg = true;
    m_grid->REFRESH();
    if (out.statusReset)
        BASDURUM();
}

void BYM_GRUBU_WIN::COPY()
{
    if (m_server && m_server->USED() && !m_server->eof())
        apply(groupCopy(currentRow(), m_grid->CURRENTCOLUMN(), openProblem().UPANODEGER));
}

void BYM_GRUBU_WIN::CUT()
{
    if (m_server && m_server->USED() && !m_server->eof())
        apply(groupCut(currentRow(), m_grid->CURRENTCOLUMN(), openProblem().UPANODEGER));
}

void BYM_GRUBU_WIN::CLEAR()
{
    if (m_server && m_server->USED() && !m_server->eof())
        apply(groupClear(currentRow(), m_grid->CURRENTCOLUMN(), openProblem().UPANODEGER));
}

void BYM_GRUBU_WIN::FDELETE()
{
    CLEAR();
}

void BYM_GRUBU_WIN::PASTE()
{
    if (m_server && m_server->USED() && !m_server->eof())
        apply(groupPaste(currentRow(), m_grid->CURRENTCOLUMN(), openProblem().UPANODEGER));
}

void BYM_GRUBU_WIN::TRICKSERVER()
{
    if (!m_server || !m_server->USED())
        return;
    m_server->SKIP(0);
    m_server->NOTIFY(ServerNotify::FileChange);
}

bool BYM_GRUBU_WIN::cellEdit(BCellEditEvent &ev)
{
    if (ev.mode == CellEditMode::Begin) {
        // A new entry: what the window said about the last one is old now.
        if (ShellHost *host = shellHost())
            host->clearStatusTextOf(this);
    } else if (ev.mode == CellEditMode::Typed) {
        if (!ev.VALUECHANGED())
            return true;
        const GroupCellOutcome out =
            groupCellEdit(currentRow(), ev.column, ev.TEXTVALUE, ev.editor && ev.editor == m_filteredEditor);
        if (out.tone)
            ERRBEEP();
        if (out.notice)
            UYARI(this, out.notice->caption, out.notice->text);
        if (!out.status.isEmpty())
            statusBar(out.status);
        ev.TEXTVALUE = out.row.value(ev.column - 1);
        for (int f = 1; f <= m_server->FCOUNT(); ++f) {
            if (f != ev.column && m_server->textAt(ev.recNo, f) != out.row.value(f - 1))
                m_server->FIELDPUT(f, out.row.value(f - 1));
        }
        m_girdeg = true;
    } else if (ev.mode == CellEditMode::Stored) {
        m_server->COMMIT();
        if (ev.column >= 2 && ev.column <= 4)
            BASDURUM();
    }
    return true;
}

void BYM_GRUBU_WIN::editChange(BCellEditEvent &ev)
{
    if (!ev.editor || !m_server || !m_server->USED())
        return;
    if (m_grid->CURRENTCOLUMN() >= 2 && m_filtering) {
        m_filtering = false;
        const QString filtered = filterGroupTyping(m_grid->CURRENTCOLUMN(), ev.editor->text());
        if (filtered != ev.editor->text()) {
            ev.editor->setText(filtered);
            // Said at once; the end of the edit keeps the old value when nothing of a number is left.
            m_filteredEditor = ev.editor;
            statusBar(numbersOnlyText());
        }
        ev.editor->setCursorPosition(int(filtered.size()));
        m_filtering = true;
    }
    if (ev.VALUECHANGED())
        m_girdeg = true;
}

void BYM_GRUBU_WIN::BASDURUM()
{
    m_status->setIcon(ResourceLibrary::icon(QStringLiteral("SPOROLOG")));
    m_status->setToolTip(QStringLiteral("Çözüm yapılmadı"));
    m_status->update();
}

void BYM_GRUBU_WIN::COZDURUM()
{
    const QString &s = openProblem().CCOZUMDURUMU;
    if (s == QLatin1String("E")) {
        m_status->setIcon(ResourceLibrary::icon(QStringLiteral("OKCVAR")));
        m_status->setToolTip(QStringLiteral("Çözüm optimum"));
    } else if (s == QLatin1String("H")) {
        m_status->setIcon(ResourceLibrary::icon(QStringLiteral("EXIS")));
        m_status->setToolTip(QStringLiteral("Çözüm Yok"));
    }
    m_status->update();
}

void BYM_GRUBU_WIN::MALIYETVEFARKLARI()
{
    const OpenProblem &p = openProblem();
    GroupCostTexts shown{m_fields[0]->text(), m_fields[1]->text(), m_fields[2]->text(), m_fields[3]->text(),
                         m_fields[4]->text()};
    const GroupCostTexts t = groupCostTexts(shown, p.NMALIYET, p.NONCEKIMALIYET, p.NKAYITLIMALIYET);
    const QString *texts[] = {&t.current, &t.previous, &t.currentDifference, &t.saved, &t.savedDifference};
    for (int i = 0; i < 5; ++i)
        m_fields[i]->setText(*texts[i]);
}

bool BYM_GRUBU_WIN::commit()
{
    if (!m_girdeg || !m_server || !m_server->USED())
        return false;
    TRICKSERVER();
    commitGroupRows(openProblem(), gridRows());
    return true;
}

void BYM_GRUBU_WIN::SONKONT2()
{
    commit();
}

void BYM_GRUBU_WIN::DOGRPBELIRLE(bool newGroup)
{
    if (!m_grid || !m_server || !m_server->USED())
        return;
    OpenProblem &p = openProblem();
    m_grid->storePendingEdit();
    // The member dialog checks a new name against the names the grid shows now.
    followGroupNames(p, gridRows());
    if (m_server->LASTREC() == 0)
        newGroup = true;
    const int noted = m_server->RECNO();
    std::optional<GRUP_BELIR_DLG::Existing> existing;
    if (!newGroup)
        existing = GRUP_BELIR_DLG::Existing{noted, m_server->textAt(noted, 1)};
    const GroupDialogResult result = memberDialog()(this, existing);
    if (result.RESULT == 0 || result.ANSELECTED.size() < 2)
        return;
    m_grid->SUSPENDUPDATE();
    m_server->SUSPENDNOTIFICATION();
    int row = noted;
    bool placed = true;
    if (newGroup) {
        row = rowForNewGroup(gridRows());
        if (row > m_server->LASTREC()) {
            placed = false;
            for (int i = 0; i < 3 && !placed; ++i)
                placed = m_server->APPEND();
        }
        if (placed) {
            m_server->GOTO(row);
            m_server->FIELDPUT(1, result.CGRPNAME);
            placeGroupName(p, row, result.CGRPNAME);
        }
    }
    if (placed) {
        YGKAYDET(p, row, result.ANSELECTED);
        m_girdeg = true;
        BASDURUM();
    }
    m_server->RESETNOTIFICATION();
    m_grid->RESTOREUPDATE();
    m_grid->setCURRENTCOLUMN(1);
    m_grid->REFRESH();
}

void BYM_GRUBU_WIN::PBSIL()
{
    if (!m_server || !m_server->USED() || m_server->LASTREC() == 0)
        return;
    if (!askYesNo(this, QStringLiteral("Uyarı..."), kDeleteGroupQuestion))
        return;
    OpenProblem &p = openProblem();
    m_grid->storePendingEdit();
    const int r = m_server->RECNO();
    const bool named = !m_server->textAt(r, 1).trimmed().isEmpty();
    m_grid->SUSPENDUPDATE();
    m_server->SUSPENDNOTIFICATION();
    if (!m_server->eof() && m_grid->DELETE()) {
        m_server->PACK();
        YGMATSIL(p, r);
        YGNAMSIL(p, r);
        m_girdeg = true;
        if (named)
            BASDURUM();
        if (m_server->LASTREC() == 0)
            p.AGMAT.clear();
        else
            m_server->GOTO(std::min(r, m_server->LASTREC()));
    }
    m_server->RESETNOTIFICATION();
    m_grid->RESTOREUPDATE();
    m_grid->setCURRENTCOLUMN(1);
    m_grid->REFRESH();
    m_grid->SETFOCUS();
}

void BYM_GRUBU_WIN::PBCOZUM()
{
    if (!m_server || !m_server->USED() || m_solving)
        return;
    OpenProblem &p = openProblem();
    const int column = m_grid->CURRENTCOLUMN();
    m_grid->storePendingEdit();
    const int recNo = m_server->RECNO();
    commit();
    if (auto refusal = solveRefusal(p, m_server->LASTREC())) {
        statusBar(*refusal);
        return;
    }
    m_solving = true;
    const GroupSolveResult result = solver()(this);
    m_solving = false;
    if (result.RESULT != 0) {
        p.CCOZUMDURUMU = result.LOPTI ? QStringLiteral("E") : QStringLiteral("H");
        COZDURUM();
        MALIYETVEFARKLARI();
        RowList rows = gridRows();
        writeGroupResults(rows, result.AAUTOYMG, int(p.AYMGADLARI.size()), p.NCOZUMSAYISI, p.LYMGKCOZUMVAR);
        m_grid->SUSPENDUPDATE();
        m_server->SUSPENDNOTIFICATION();
        for (int r = 1; r <= rows.size(); ++r)
            writeRow(r, rows.at(r - 1));
        m_server->GOTO(std::min(recNo, m_server->LASTREC()));
        m_server->RESETNOTIFICATION();
        m_grid->RESTOREUPDATE();
        m_grid->setCURRENTCOLUMN(column);
        m_grid->REFRESH();
        m_grid->SETFOCUS();
    }
    // A close asked for while the solver ran happens now.
    if (m_closeAsked)
        CLOSE();
}

void BYM_GRUBU_WIN::CLOSE()
{
    if (m_solving) {
        m_closeAsked = true;
        return;
    }
    if (m_closing)
        return;
    m_closing = true;
    commit();
    if (m_server) {
        m_server->CLOSE();
        m_grid->USE(nullptr);
    }
    endDataWindow(this);
}

void BYM_GRUBU_WIN::resizeEvent(QResizeEvent *event)
{
    if (m_grid) {
        const QRect r = rect();
        m_grid->resize(std::max(r.width() - 300, 100), std::max(r.height() - 180, 60));
        const int bottom = r.bottom();
        m_fields[0]->move(r.left() + 200, bottom - 165);
        m_fields[1]->move(r.left() + 290, bottom - 165);
        m_fields[2]->move(r.left() + 380, bottom - 165);
        m_status->move(r.left() + 470, bottom - 165);
        m_fields[3]->move(r.left() + 290, bottom - 135);
        m_fields[4]->move(r.left() + 380, bottom - 135);
    }
    QWidget::resizeEvent(event);
}

void BYM_GRUBU_WIN::closeEvent(QCloseEvent *event)
{
    CLOSE();
    if (m_solving)
        event->ignore();
    else
        event->accept();
}

void BYM_GRUBU_WIN::contextMenuEvent(QContextMenuEvent *event)
{
    if (QMenu *popup = m_context->popup())
        popup->popup(event->globalPos());
    event->accept();
}

QWidget *openGroupWindow()
{
    ShellHost *host = shellHost();
    if (!host)
        return nullptr;
    return host->openDataWindow(QStringLiteral("BYM_GRUBU_WIN"), [] { return new BYM_GRUBU_WIN; });
}

void installGroupCommands()
{
    shellCommands().add(QStringLiteral("YMGRUBU"), [] { openGroupWindow(); });
}

} // namespace vexo
