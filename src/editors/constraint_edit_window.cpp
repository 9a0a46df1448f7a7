#include "editors/constraint_edit_window.h"

#include "controls/grid_rules.h"
#include "controls/grid_subclasses.h"
#include "controls/menu_builder.h"
#include "editors/editor_menus.h"
#include "platform/process_launcher.h"
#include "platform/dialog_units.h"
#include "resources/resource_library.h"

#include <QCloseEvent>
#include <QItemSelectionModel>
#include <QContextMenuEvent>
#include <QScrollBar>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

#include <algorithm>

namespace vexo {

namespace {

// The library's numbered colours as this program draws them.
const QColor kBlack(0, 0, 0);
const QColor kBlue(0, 0, 255);
const QColor kGreen(0, 192, 0);
const QColor kCyan(0, 255, 255);
const QColor kRed(255, 0, 0);
const QColor kShade(190, 190, 190);

struct FieldTips
{
    const char *current, *previous, *currentDifference, *saved, *savedDifference;
};

const FieldTips &fieldTips(EditorKind kind)
{
    static const FieldTips tips[] = {
        {"Çözüm maliyeti", "Önceki çözüm maliyeti", "Çözüm-önceki çözüm maliyeti farkı", "Kayıtlı çözüm maliyeti",
         "Çözüm-kayıtlı çözüm maliyet farkı"},
        {"Çözüm maliyeti", "Önceki çözüm maliyeti", "Çözüm-önceki çözüm maliyet farkı", "Katıylı çözüm maliyeti",
         "Çözüm-kayıtlı çözüm maliyet farkı"},
        {"Çözüm maliyeti", "Önceki çözüm maliyeti", "Çözüm-önceki çözüm maliyet farkı", "Kayıtlı çözüm maliyeti",
         "Çözüm-kayıtlı çözüm maliyet farkı"},
    };
    return tips[int(kind)];
}

GridClass gridClassOf(EditorKind kind)
{
    switch (kind) {
    case EditorKind::Ingredient:
        return GridClass::YM;
    case EditorKind::Nutrient:
        return GridClass::BM;
    case EditorKind::Ratio:
        break;
    }
    return GridClass::BMO;
}

// Sizes of the status button and the cost fields, in dialog units.
QSize statusSize(EditorKind kind)
{
    return kind == EditorKind::Ingredient ? QSize(32, 25) : kind == EditorKind::Nutrient ? QSize(31, 26) : QSize(33, 26);
}

} // namespace

ConstraintEditWindow::ConstraintEditWindow(EditorKind kind, QWidget *parent)
    : QWidget(parent)
    , m_model(kind, this)
{
    const EditorTraits &t = m_model.traits();
    setObjectName(t.className);
    setWindowTitle(t.caption);
    setWindowIcon(ResourceLibrary::icon(t.icon));
    buildControls();

    auto dispatch = [this](const QString &command) { runCommand(command); };
    m_menu = std::make_unique<BuiltMenu>(editorMenu(kind), dispatch);
    m_context = std::make_unique<BuiltMenu>(editorContextMenu(kind), dispatch);
    describeInMainWindow(*m_menu, m_context.get());
    registerCommands();
    connectModel();
    m_model.setUp();
    setUpGrid();
    if (kind == EditorKind::Ingredient && m_grid->selectionModel())
        connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
                [this] { withdrawStockWarning(); });
}

void ConstraintEditWindow::withdrawStockWarning()
{
    if (m_model.kind() != EditorKind::Ingredient || !m_server || !m_server->USED())
        return;
    const int row = m_server->RECNO();
    if (row > 0 && openProblem().AYMSTOK.value(row - 1, true))
        if (ShellHost *host = shellHost())
            host->withdrawStatusText(kOutOfStockWarning);
}

ConstraintEditWindow::~ConstraintEditWindow()
{
    if (m_grid)
        m_grid->setOWNER(nullptr);
}

void ConstraintEditWindow::buildControls()
{
    const EditorKind kind = m_model.kind();
    m_grid = makeGridClass(gridClassOf(kind), this, &m_owner).release();
    m_grid->setObjectName(QStringLiteral("BROWSER"));
    m_grid->move(dluRect(font(), 4, 3, 0, 0).topLeft());

    m_status = new QPushButton(this);
    m_status->setObjectName(QStringLiteral("PBDURUM"));
    m_status->setFlat(true);
    const QSize s = statusSize(kind);
    m_status->resize(dluRect(font(), 0, 0, s.width(), s.height()).size());
    m_status->setIconSize(m_status->size() - QSize(6, 6));

    const FieldTips &tips = fieldTips(kind);
    const char *names[] = {"SLE_COZUM_MAL", "SLE_OCOZUM_MAL", "SLE_COZUM_FARKI", "SLE_KCOZUM_MAL", "SLE_KCOZUM_FARKI"};
    const char *texts[] = {tips.current, tips.previous, tips.currentDifference, tips.saved, tips.savedDifference};
    QPalette cyan = palette();
    cyan.setBrush(QPalette::Base, kCyan);
    cyan.setColor(QPalette::Text, kBlack);
    // A flat filled box reads as a blank button; the sunken edge marks a field that shows a value.
    const QString sunken = QStringLiteral("QLineEdit { background-color: %1; color: %2;"
                                          " border: 2px inset rgb(160, 160, 160); padding: 0 1px; }")
                               .arg(kCyan.name(), kBlack.name());
    for (int i = 0; i < 5; ++i) {
        auto *field = new QLineEdit(this);
        field->setObjectName(QString::fromLatin1(names[i]));
        field->setReadOnly(true);
        field->setToolTip(QString::fromUtf8(texts[i]));
        field->setPalette(cyan);
        field->setStyleSheet(sunken);
        field->setAlignment(Qt::AlignRight);
        const int width = kind == EditorKind::Ratio ? 56 : 53;
        const int height = kind == EditorKind::Ratio && i < 3 ? 12 : 11;
        // The fields stand 90 pixels apart; a wider font must not let one cover the next.
        const QSize size = dluRect(font(), 0, 0, width, height).size();
        field->resize(qMin(size.width(), 88), size.height());
        m_fields[i] = field;
    }

    m_owner.CELLEDIT = [this](BCellEditEvent &ev) { return cellEdit(ev); };
    m_owner.EDITCHANGE = [this](BCellEditEvent &ev) { editChange(ev); };
    m_owner.GIRDEG = [this](bool changed) { m_model.GIRDEG = changed; };
    m_owner.STATUSMESSAGE = [](const QString &text) {
        if (ShellHost *host = shellHost())
            host->setStatusText(text);
    };
    if (kind == EditorKind::Ingredient) {
        m_grid->setOutOfStock([](int recNo) { return !openProblem().AYMSTOK.value(recNo - 1, true); });
    }
}

QLineEdit *ConstraintEditWindow::costField(int id) const
{
    return id >= 102 && id <= 106 ? m_fields[id - 102] : nullptr;
}

void ConstraintEditWindow::connectModel()
{
    ConstraintEditModel *m = &m_model;
    connect(m, &ConstraintEditModel::endEditRequested, this, [this] { m_grid->storePendingEdit(); });
    connect(m, &ConstraintEditModel::rowsReset, this, [this] { syncServer(); });
    connect(m, &ConstraintEditModel::rowChanged, this, [this](int row) {
        // While the grid stores a typed value it writes the cell itself (and then reports it stored).
        if (!m_typing)
            syncRow(row);
        // The stock command changes the row too.
        withdrawStockWarning();
    });
    connect(m, &ConstraintEditModel::currentChanged, this, [this](int row, int column) {
        if (m_syncing || !m_server || !m_server->USED())
            return;
        if (row > 0 && m_server->RECNO() != row)
            m_server->GOTO(row);
        if (m_grid->CURRENTCOLUMN() != column)
            m_grid->setCURRENTCOLUMN(column);
    });
    connect(m, &ConstraintEditModel::statusChanged, this, [this](SolutionStatus s) {
        m_status->setIcon(ResourceLibrary::icon(statusIcon(s)));
        m_status->setToolTip(vexo::statusTip(s));
        m_status->update();
    });
    connect(m, &ConstraintEditModel::costsChanged, this, [this](const CostTexts &c) {
        const QString *texts[] = {&c.current, &c.previous, &c.currentDifference, &c.saved, &c.savedDifference};
        for (int i = 0; i < 5; ++i)
            m_fields[i]->setText(*texts[i]);
    });
    connect(m, &ConstraintEditModel::menuItemEnabled, this, [this](int id, bool enabled) {
        m_menu->setEnabled(id, enabled);
        m_context->setEnabled(id, enabled);
    });
    connect(m, &ConstraintEditModel::statusBarText, this, [](const QString &text) {
        if (ShellHost *host = shellHost())
            host->setStatusText(text);
    });
    connect(m, &ConstraintEditModel::commandRulesNeeded, this, [] {
        if (ShellHost *host = shellHost())
            host->MI_ENADISABLE();
    });
    m_status->setIcon(ResourceLibrary::icon(statusIcon(SolutionStatus::NotSolved)));
    m_status->setToolTip(vexo::statusTip(SolutionStatus::NotSolved));
}

void ConstraintEditWindow::setUpGrid()
{
    const EditorTraits &t = m_model.traits();
    const QList<EditorColumn> columns = editorColumns(t.kind, priceUnitText(openProblem().APARMLIST));
    ServerFields fields;
    for (const EditorColumn &c : columns)
        fields.append(ServerField{c.field, u'C', c.width, 0});
    RowList shown = m_model.rows();
    for (Row &row : shown) {
        for (int f = 0; f < row.size() && f < fields.size(); ++f)
            row[f] = shownCell(row.at(f), fields.at(f).width);
    }
    m_server = std::make_shared<BARRAYSERVER>(fields, shown);
    if (!m_server->USED())
        return;
    m_model.setRowAppender([this](RowList &rows) {
        if (!m_server->APPEND())
            return false;
        Row blank;
        for (const ServerField &f : m_server->fields())
            blank.append(QString(f.width, u' '));
        rows.append(blank);
        return true;
    });

    m_grid->setROWMODE(BrowserRowMode::ABSOLUTE);
    m_grid->setROWCOUNTMODE(BrowserRowCountMode::RECCOUNT);
    if (t.kind == EditorKind::Ingredient) {
        m_grid->addCOLORCONDITION(BCOLORCONDITION{
            BCOLORCONDITION::byRecord([](int recNo) { return !openProblem().AYMSTOK.value(recNo - 1, true); }), kCyan, {}});
    }
    m_grid->USE(m_server);
    m_grid->setFREEZE(1);
    m_grid->setEDITABLE(true);
    m_grid->setAUTOEDIT(BrowserAutoEdit::EXCEL);
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
    caption.grid = BGRID{4, kBlack};
    caption.option = 25;
    m_grid->setCAPTIONVIEW(caption);
    BVIEWSTYLE data;
    data.alignment = Qt::AlignRight | Qt::AlignVCenter;
    m_grid->setDATAVIEW(data);
    BVIEWSTYLE nameCaption;
    nameCaption.alignment = Qt::AlignCenter;

    for (const EditorColumn &c : columns) {
        BDATACOLUMN *col = m_grid->GETCOLUMN(c.field);
        if (!col)
            continue;
        col->setCAPTION(c.caption);
        if (c.leftAligned) {
            col->setCAPTIONVIEW(nameCaption);
            col->setALIGNMENT(Qt::AlignLeft | Qt::AlignVCenter);
            col->setEDITABLE(false);
        } else if (c.editable) {
            col->setFOREGROUND(kBlue);
        } else {
            col->setEDITABLE(false);
            if (c.starred)
                col->addCOLORCONDITION(BCOLORCONDITION{BCOLORCONDITION::startsWithStar(c.field), kRed, {}});
        }
        col->CALCULATEWIDTH();
    }
    m_grid->KEYCOMMAND(Qt::Key_Delete, [this] { runCommand(QStringLiteral("FDELETE")); });
    m_grid->RECALCULATE();
    m_grid->setCURRENTCOLUMN(t.firstColumn);
    m_grid->REFRESH();
    m_grid->SETFOCUS();
}

void ConstraintEditWindow::registerCommands()
{
    auto add = [this](const char *name, void (ConstraintEditModel::*op)()) {
        m_commands.add(QString::fromLatin1(name), [this, op] {
            pullCurrent();
            (m_model.*op)();
        });
    };
    add("CUT", &ConstraintEditModel::CUT);
    add("COPY", &ConstraintEditModel::COPY);
    add("PASTE", &ConstraintEditModel::PASTE);
    add("CLEAR", &ConstraintEditModel::CLEAR);
    add("FDELETE", &ConstraintEditModel::FDELETE);
    add("PBSIL", &ConstraintEditModel::PBSIL);
    add("PBCOZUM", &ConstraintEditModel::PBCOZUM);
    switch (m_model.kind()) {
    case EditorKind::Ingredient:
        add("YEMMADEKLE", &ConstraintEditModel::YEMMADEKLE);
        add("YMSTOKKONT", &ConstraintEditModel::YMSTOKKONT);
        add("YMFIAKAYDISOR", &ConstraintEditModel::YMFIAKAYDISOR);
        add("YMBMMUHTGOR", &ConstraintEditModel::YMBMMUHTGOR);
        break;
    case EditorKind::Nutrient:
        add("BESMADEKLE", &ConstraintEditModel::BESMADEKLE);
        add("HYMADKATILIYOR", &ConstraintEditModel::HYMADKATILIYOR);
        break;
    case EditorKind::Ratio:
        add("PBEKLE", &ConstraintEditModel::PBEKLE);
        break;
    }
    m_commands.add(QStringLiteral("CLOSE"), [this] { CLOSE(); });
    m_commands.add(QStringLiteral("CONTEXTHELP"), [this] { CONTEXTHELP(); });
    m_commands.add(QStringLiteral("WIN_HESMAK"), [this] { WIN_HESMAK(); });
    m_commands.add(m_model.traits().aboutCommand, [this] { ABOUT(); });
}

bool ConstraintEditWindow::runCommand(const QString &name)
{
    return runChildCommand(*this, name);
}

void ConstraintEditWindow::pullCurrent()
{
    if (!m_server || !m_server->USED())
        return;
    m_syncing = true;
    m_model.setCurrent(m_server->RECNO(), m_grid->CURRENTCOLUMN());
    m_syncing = false;
}

QString ConstraintEditWindow::shown(int field, const QString &cell) const
{
    const ServerField *f = m_server->field(field);
    return f ? shownCell(cell, f->width) : cell;
}

void ConstraintEditWindow::syncServer()
{
    if (!m_server || !m_server->USED() || m_syncing)
        return;
    m_syncing = true;
    const RowList &rows = m_model.rows();
    BARRAYSERVER &s = *m_server;
    s.SUSPENDNOTIFICATION();
    while (s.LASTREC() < rows.size() && s.APPEND()) {
    }
    if (s.LASTREC() > rows.size()) {
        for (int r = int(rows.size()) + 1; r <= s.LASTREC(); ++r) {
            s.GOTO(r);
            s.DELETE();
        }
        s.PACK();
    }
    for (int r = 1; r <= rows.size() && r <= s.LASTREC(); ++r) {
        const Row &row = rows.at(r - 1);
        for (int f = 1; f <= s.FCOUNT() && f <= row.size(); ++f) {
            if (s.textAt(r, f) != shown(f, row.at(f - 1))) {
                s.GOTO(r);
                s.FIELDPUT(f, shown(f, row.at(f - 1)));
            }
        }
    }
    if (m_model.currentRow() > 0)
        s.GOTO(m_model.currentRow());
    s.RESETNOTIFICATION();
    m_grid->REFRESH();
    if (m_model.currentColumn() != m_grid->CURRENTCOLUMN())
        m_grid->setCURRENTCOLUMN(m_model.currentColumn());
    m_syncing = false;
}

void ConstraintEditWindow::syncRow(int row)
{
    if (!m_server || !m_server->USED() || row < 1 || row > m_server->LASTREC() || row > m_model.rows().size())
        return;
    BARRAYSERVER &s = *m_server;
    const int at = s.RECNO();
    const Row &cells = m_model.rows().at(row - 1);
    s.SUSPENDNOTIFICATION();
    for (int f = 1; f <= s.FCOUNT() && f <= cells.size(); ++f) {
        if (s.textAt(row, f) != shown(f, cells.at(f - 1))) {
            s.GOTO(row);
            s.FIELDPUT(f, shown(f, cells.at(f - 1)));
        }
    }
    s.GOTO(at);
    s.RESETNOTIFICATION();
    m_grid->REFRESH();
}

bool ConstraintEditWindow::cellEdit(BCellEditEvent &ev)
{
    switch (ev.mode) {
    case CellEditMode::Begin:
        m_syncing = true;
        m_model.setCurrent(ev.recNo, ev.column);
        m_syncing = false;
        if (!m_model.beginEdit(ev.column))
            return false;
        // A new entry: what the window said about the last one is old now.
        if (ShellHost *host = shellHost())
            host->clearStatusTextOf(this);
        return true;
    case CellEditMode::Typed: {
        if (!ev.VALUECHANGED())
            return true;
        m_syncing = true;
        m_model.setCurrent(ev.recNo, ev.column);
        m_syncing = false;
        m_typing = true;
        ev.TEXTVALUE = m_model.endEdit(ev.column, ev.TEXTVALUE, ev.editor && ev.editor == m_filteredEditor);
        m_typing = false;
        // The rules may have blanked the row's other limits: write them through the server.
        const Row &row = m_model.rows().at(ev.recNo - 1);
        for (int f = 1; f <= m_server->FCOUNT() && f <= row.size(); ++f) {
            if (f != ev.column && m_server->textAt(ev.recNo, f) != shown(f, row.at(f - 1)))
                m_server->FIELDPUT(f, shown(f, row.at(f - 1)));
        }
        return true;
    }
    case CellEditMode::Stored:
        m_model.valueStored(ev.column);
        return true;
    }
    return true;
}

void ConstraintEditWindow::editChange(BCellEditEvent &ev)
{
    if (!ev.editor || !m_server || !m_server->USED())
        return;
    if (m_model.LFILTERON) {
        m_model.LFILTERON = false;
        const QString filtered = filterTyping(ev.editor->text());
        if (filtered != ev.editor->text()) {
            ev.editor->setText(filtered);
            // Said at once; the end of the edit keeps the old value when nothing of a number is left.
            m_filteredEditor = ev.editor;
            if (ShellHost *host = shellHost())
                host->setStatusText(numbersOnlyText());
        }
        ev.editor->setSelection(int(filtered.size()), 0);
        ev.editor->setCursorPosition(int(filtered.size()));
        m_model.LFILTERON = true;
    }
    if (ev.VALUECHANGED())
        m_model.typingChanged();
}

void ConstraintEditWindow::CLOSE()
{
    if (m_closing)
        return;
    m_closing = true;
    if (!m_model.SONKONT()) {
        m_closing = false; // the price question was cancelled: the editor stays
        return;
    }
    if (m_server) {
        m_server->CLOSE();
        m_grid->USE(nullptr);
    }
    endDataWindow(this);
}

void ConstraintEditWindow::CONTEXTHELP()
{
    if (ShellHost *host = shellHost())
        host->showHelp(m_model.traits().helpKeyword);
}

void ConstraintEditWindow::WIN_HESMAK()
{
    launchCalculator();
}

void ConstraintEditWindow::ABOUT()
{
    if (ShellHost *host = shellHost())
        host->showAbout();
}

void ConstraintEditWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_grid)
        return;
    // The current column was made current before the grid had its size, which scrolled the
    // columns beside the frozen one out of view (the ratio editor's divisor).
    firstColumnsInView();
    m_grid->SETFOCUS();
}

void ConstraintEditWindow::firstColumnsInView()
{
    m_grid->horizontalScrollBar()->setValue(0);
    if (m_grid->currentIndex().isValid())
        m_grid->scrollTo(m_grid->currentIndex());
}

QSize ConstraintEditWindow::sizeHint() const
{
    if (!m_grid)
        return QWidget::sizeHint();
    const int frame = 2 * m_grid->frameWidth();
    const int gridWidth = m_grid->widthForAllColumns();
    const int rows = std::clamp(int(m_model.rows().size()), 8, 20);
    const int gridHeight =
        m_grid->CAPTIONHEIGHT() + rows * m_grid->ROWHEIGHT() + frame + m_grid->horizontalScrollBar()->sizeHint().height();
    const EditorLayout l = editorLayout(m_model.kind(), QSize(0, 0));
    return QSize(gridWidth - l.grid.width(), gridHeight - l.grid.height());
}

void ConstraintEditWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (!m_grid)
        return;
    const EditorLayout l = editorLayout(m_model.kind(), size());
    m_grid->resize(l.grid);
    // The grid scrolled its current column into the size it had before; with the new size the
    // leftmost columns come back as far as the current one stays in view.
    firstColumnsInView();
    m_fields[0]->move(l.currentCost);
    m_fields[1]->move(l.previousCost);
    m_fields[2]->move(l.currentDifference);
    m_status->move(l.status);
    m_fields[3]->move(l.savedCost);
    m_fields[4]->move(l.savedDifference);
}

void ConstraintEditWindow::closeEvent(QCloseEvent *event)
{
    CLOSE();
    if (m_closing)
        event->accept();
    else
        event->ignore();
}

void ConstraintEditWindow::contextMenuEvent(QContextMenuEvent *event)
{
    if (QMenu *popup = m_context->popup())
        popup->popup(event->globalPos());
    event->accept();
}

QWidget *openEditor(EditorKind kind)
{
    ShellHost *host = shellHost();
    if (!host)
        return nullptr;
    return host->openDataWindow(editorTraits(kind).className, [kind] { return new ConstraintEditWindow(kind); });
}

void installEditorCommands()
{
    for (EditorKind kind : {EditorKind::Ingredient, EditorKind::Nutrient, EditorKind::Ratio})
        shellCommands().add(editorTraits(kind).command, [kind] { openEditor(kind); });
}

} // namespace vexo
