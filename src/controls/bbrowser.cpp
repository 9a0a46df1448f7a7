#include "controls/bbrowser.h"

#include "controls/bbrowser_parts.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>

#include <algorithm>

namespace vexo {

namespace {

int buttonId(Qt::MouseButton b)
{
    switch (b) {
    case Qt::LeftButton: return 1;
    case Qt::RightButton: return 2;
    case Qt::MiddleButton: return 3;
    default: return 0;
    }
}

} // namespace

bool BCellEditEvent::VALUECHANGED() const
{
    return TEXTVALUE.trimmed() != originalText.trimmed();
}

BBROWSER::BBROWSER(QWidget *parent, BrowserOwner *owner) : QTableView(parent), owner_(owner)
{
    model_ = new BrowserModel(this);
    delegate_ = new BrowserDelegate(this);
    header_ = new BrowserHeader(this, this);
    setHorizontalHeader(header_);
    setModel(model_);
    setItemDelegate(delegate_);
    setShowGrid(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setHorizontalScrollMode(ScrollPerPixel);
    setVerticalScrollMode(ScrollPerItem);
    setTabKeyNavigation(false);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(ROWHEIGHT());
    verticalHeader()->setMinimumSectionSize(4);
    header_->setSectionsMovable(false);
    connect(header_, &QHeaderView::sectionClicked, this, &BBROWSER::captionClicked);
    connect(header_, &QHeaderView::sectionResized, this, [this](int logical, int, int size) {
        if (logical >= 0 && logical < COLUMNCOUNT() && open_[std::size_t(logical)]->WIDTH() != size) {
            open_[std::size_t(logical)]->setWIDTH(size);
        }
    });
    applyEditTriggers();
}

BBROWSER::~BBROWSER()
{
    for (auto it = handlers_.cbegin(); it != handlers_.cend(); ++it) {
        disconnect(it->forget);
        it.key()->removeEventFilter(this);
    }
    handlers_.clear();
    if (server_)
        server_->unregisterClient(this);
    server_.reset();
    // The widget base closes and hides the children after this body; nothing may read a column then,
    // nor the grid itself: the caption bars (the grid's and the frozen strip's) are told it is gone.
    for (BrowserHeader *header : findChildren<BrowserHeader *>())
        header->gridGone();
    open_.clear();
    model_->reset(0, 0);
    columns_.clear();
}

// ---- server ---------------------------------------------------------------------------------------

bool BBROWSER::USE(std::shared_ptr<BARRAYSERVER> server)
{
    detach();
    if (!server || !server->USED()) {
        resync();
        return false;
    }
    server_ = std::move(server);
    server_->registerClient(this);
    for (int i = 1; i <= server_->FCOUNT(); ++i) {
        auto col = std::make_unique<BDATACOLUMN>(server_->FIELDNAME(i), i);
        BDATACOLUMN *raw = ADDCOLUMN(std::move(col));
        open_.push_back(raw);
        raw->CALCULATEWIDTH();
    }
    currentColumn_ = open_.empty() ? 0 : 1;
    if (currentColumn_ && !selectableColumn(0))
        currentColumn_ = nearestSelectable(0, 1) + 1;
    resync();
    return true;
}

void BBROWSER::detach()
{
    if (editor_)
        closeEditor(editor_, QAbstractItemDelegate::RevertModelCache);
    if (server_)
        server_->unregisterClient(this);
    server_.reset();
    open_.clear();
    following_ = true;
    model_->reset(0, 0); // nothing may read a dropped column in between
    following_ = false;
    columns_.clear();
    currentColumn_ = 0;
}

int BBROWSER::recNoOfRow(int row0) const
{
    return server_ ? server_->recNoAt(row0 + 1) : 0;
}

void BBROWSER::resync()
{
    if (storing_) {
        // Rows changed while an edit is being stored (an owner's Typed step appended or packed):
        // re-read once the view has finished with the edit field.
        QMetaObject::invokeMethod(this, [this] { if (!storing_) resync(); }, Qt::QueuedConnection);
        return;
    }
    if (editor_) {
        // The rows are read anew and the edited row may be gone: the edit field closes unstored
        // (owners store pending edits first with SKIP(0)).
        QLineEdit *le = editor_;
        editor_ = nullptr;
        QTableView::closeEditor(le, QAbstractItemDelegate::RevertModelCache);
    }
    const int rows = server_ ? server_->shownCount() : 0;
    shownStamp_ = server_ ? server_->shapeStamp() : 0;
    following_ = true;
    model_->reset(rows, int(open_.size()));
    for (std::size_t i = 0; i < open_.size(); ++i)
        setColumnWidth(int(i), open_[i]->WIDTH());
    following_ = false;
    updateFrozenColumns();
    updateGeometries();
    followServer();
    repaintCells();
}

void BBROWSER::syncIfStale()
{
    // The count check also catches the shared deleted-records switch flipped behind the server.
    if (server_ && !storing_
        && (server_->shapeStamp() != shownStamp_ || server_->shownCount() != model_->rowCount()))
        resync();
}

void BBROWSER::followServer()
{
    if (!server_ || open_.empty())
        return;
    const int pos = server_->eof() ? 0 : server_->positionOf(server_->RECNO());
    if (pos == 0)
        return;
    int col = std::clamp(currentColumn_, 1, int(open_.size())) - 1;
    if (!selectableColumn(col)) {
        const int alt = nearestSelectable(col, 1);
        col = alt >= 0 ? alt : nearestSelectable(col, -1);
        if (col < 0)
            col = 0;
    }
    const QModelIndex target = model_->index(pos - 1, col);
    if (currentIndex() != target) {
        following_ = true;
        setCurrentIndex(target);
        following_ = false;
    }
}

bool BBROWSER::NOTIFY(int code, const QString &description)
{
    if (!server_)
        return false;
    switch (code) {
    case ServerNotify::Closing:
        detach();
        resync();
        break;
    case ServerNotify::IntentToMove:
        // A move the grid makes itself follows the view, which has stored the edit already (and
        // may just have opened the next cell's edit field).
        if (!following_)
            storePendingEdit();
        break;
    case ServerNotify::Field:
        if (server_->shapeStamp() != shownStamp_)
            resync();
        else
            model_->rowChanged(server_->positionOf(server_->RECNO()) - 1); // repaints that row only
        break;
    case ServerNotify::RecordChange:
    case ServerNotify::GoTop:
    case ServerNotify::GoBottom:
        if (server_->shapeStamp() != shownStamp_)
            resync();
        else
            followServer();
        break;
    default: // Deleted, Appended, FileChange and codes of owners
        resync();
        break;
    }
    Q_UNUSED(description);
    return true;
}

// ---- settings -------------------------------------------------------------------------------------

void BBROWSER::setEDITABLE(bool on)
{
    editable_ = on;
    repaintCells();
}

void BBROWSER::setAUTOEDIT(BrowserAutoEdit mode)
{
    autoEdit_ = mode;
    applyEditTriggers();
}

void BBROWSER::applyEditTriggers()
{
    EditTriggers t = DoubleClicked | EditKeyPressed;
    switch (autoEdit_) {
    case BrowserAutoEdit::NONE:
        break;
    case BrowserAutoEdit::EXCEL:
        t |= AnyKeyPressed;
        break;
    case BrowserAutoEdit::SENSITIVE:
        t |= AnyKeyPressed | SelectedClicked;
        break;
    case BrowserAutoEdit::PERMANENT:
        t |= AnyKeyPressed | SelectedClicked | CurrentChanged;
        break;
    }
    setEditTriggers(t);
}

void BBROWSER::setENABLECOLUMNMOVE(bool on)
{
    columnMove_ = on;
    header_->setSectionsMovable(on);
}

void BBROWSER::setGRID(const BGRID &g)
{
    grid_ = g;
    repaintCells();
}

void BBROWSER::setCAPTIONVIEW(const BVIEWSTYLE &style)
{
    captionView_ = style;
    applyHeaderLook();
}

void BBROWSER::setDATAVIEW(const BVIEWSTYLE &style)
{
    dataView_ = style;
    if (style.font)
        setFont(*style.font);
    verticalHeader()->setDefaultSectionSize(ROWHEIGHT());
    if (frozenView_)
        frozenView_->verticalHeader()->setDefaultSectionSize(ROWHEIGHT());
    repaintCells();
}

void BBROWSER::setCAPTIONHEIGHT(int pixels)
{
    captionHeight_ = std::max(pixels, 0);
    applyHeaderLook();
}

void BBROWSER::applyHeaderLook()
{
    header_->setFont(captionFont(nullptr));
    if (frozenView_) {
        frozenView_->horizontalHeader()->setFont(captionFont(nullptr));
        QMetaObject::invokeMethod(frozenView_, "updateGeometries"); // its caption row follows
    }
    updateGeometries();
    updateFrozenGeometry();
    header_->viewport()->update();
}

int BBROWSER::ROWHEIGHT() const
{
    return QFontMetrics(dataFont()).height() + 5;
}

void BBROWSER::setCheckBoxView(bool on)
{
    checkBoxView_ = on;
    repaintCells();
}

QFont BBROWSER::dataFont() const
{
    return dataView_.font ? *dataView_.font : font();
}

QFont BBROWSER::captionFont(const BDATACOLUMN *column) const
{
    if (column && column->CAPTIONVIEW() && column->CAPTIONVIEW()->font)
        return *column->CAPTIONVIEW()->font;
    return captionView_.font ? *captionView_.font : font();
}

void BBROWSER::addCOLORCONDITION(const BCOLORCONDITION &c)
{
    conditions_.append(c);
    repaintCells();
}

void BBROWSER::repaintCells()
{
    viewport()->update();
    if (frozenView_)
        frozenView_->viewport()->update();
}

// ---- columns --------------------------------------------------------------------------------------

BDATACOLUMN *BBROWSER::GETCOLUMN(int number) const
{
    return number >= 1 && number <= COLUMNCOUNT() ? open_[std::size_t(number - 1)] : nullptr;
}

BDATACOLUMN *BBROWSER::GETCOLUMN(const QString &name) const
{
    for (const auto &c : columns_)
        if (c->NAME().compare(name, Qt::CaseInsensitive) == 0)
            return c.get();
    return nullptr;
}

BDATACOLUMN *BBROWSER::GETOPENCOLUMN(const QString &name) const
{
    for (BDATACOLUMN *c : open_)
        if (c->NAME().compare(name, Qt::CaseInsensitive) == 0)
            return c;
    return nullptr;
}

BDATACOLUMN *BBROWSER::ADDCOLUMN(std::unique_ptr<BDATACOLUMN> column)
{
    if (!column)
        return nullptr;
    column->attach__(this);
    columns_.push_back(std::move(column));
    return columns_.back().get();
}

bool BBROWSER::OPENCOLUMN(BDATACOLUMN *column, int position)
{
    if (!column || column->grid() != this || columnNumber(column) > 0)
        return false;
    const int at = position >= 1 && position <= COLUMNCOUNT() ? position - 1 : COLUMNCOUNT();
    open_.insert(open_.begin() + at, column);
    if (currentColumn_ >= at + 1)
        ++currentColumn_;
    if (currentColumn_ == 0)
        currentColumn_ = 1;
    resync();
    return true;
}

int BBROWSER::columnNumber(const BDATACOLUMN *column) const
{
    auto it = std::find(open_.begin(), open_.end(), column);
    return it == open_.end() ? 0 : int(it - open_.begin()) + 1;
}

void BBROWSER::columnChanged__(BDATACOLUMN *column)
{
    const int n = columnNumber(column);
    if (n == 0)
        return;
    if (columnWidth(n - 1) != column->WIDTH()) {
        setColumnWidth(n - 1, column->WIDTH());
        if (frozenView_ && n <= frozen_)
            frozenView_->setColumnWidth(n - 1, column->WIDTH());
        updateFrozenGeometry();
    }
    header_->viewport()->update();
    if (frozenView_)
        frozenView_->horizontalHeader()->viewport()->update();
    repaintCells();
}

bool BBROWSER::selectableColumn(int column0) const
{
    return column0 >= 0 && column0 < COLUMNCOUNT() && open_[std::size_t(column0)]->SELECTABLE();
}

int BBROWSER::nearestSelectable(int column0, int step) const
{
    for (int c = column0; c >= 0 && c < COLUMNCOUNT(); c += step)
        if (selectableColumn(c))
            return c;
    return -1;
}

int BBROWSER::CURRENTCOLUMN() const
{
    const QModelIndex cur = currentIndex();
    return cur.isValid() ? cur.column() + 1 : currentColumn_;
}

bool BBROWSER::setCURRENTCOLUMN(int number)
{
    if (!selectableColumn(number - 1))
        return false;
    currentColumn_ = number;
    const QModelIndex cur = currentIndex();
    if (cur.isValid() && cur.column() != number - 1) {
        following_ = true;
        setCurrentIndex(model_->index(cur.row(), number - 1));
        following_ = false;
    } else if (!cur.isValid()) {
        followServer();
    }
    return true;
}

bool BBROWSER::cellEditable(int column0) const
{
    return editable_ && server_ && column0 >= 0 && column0 < COLUMNCOUNT()
           && open_[std::size_t(column0)]->EDITABLE() && open_[std::size_t(column0)]->SELECTABLE();
}

QString BBROWSER::cellText(int position, int column0) const
{
    if (column0 < 0 || column0 >= COLUMNCOUNT())
        return {};
    return open_[std::size_t(column0)]->textFor(server_ ? server_->recNoAt(position) : 0);
}

// ---- looks ----------------------------------------------------------------------------------------

void BBROWSER::rowLook(int recNo, CellLook &look) const
{
    // Row conditions are the same for every cell of a row: while painting they are tested once per
    // row and paint; outside a paint every call tests them afresh.
    if (painting_ == 0 || rowCacheSerial_ != paintSerial_ || rowCacheRec_ != recNo) {
        rowCacheSerial_ = paintSerial_;
        rowCacheRec_ = recNo;
        rowCacheFg_.reset();
        rowCacheBg_.reset();
        for (const BCOLORCONDITION &c : conditions_) {
            if (!c.test || !c.test(*server_, recNo))
                continue;
            if (c.foreground)
                rowCacheFg_ = c.foreground;
            if (c.background)
                rowCacheBg_ = c.background;
        }
    }
    if (rowCacheFg_)
        look.foreground = *rowCacheFg_;
    if (rowCacheBg_)
        look.background = *rowCacheBg_;
}

BBROWSER::CellLook BBROWSER::cellLook(int row0, int column0) const
{
    CellLook look;
    look.foreground = dataView_.foreground ? *dataView_.foreground : palette().color(QPalette::Text);
    look.background = dataView_.background ? *dataView_.background : palette().brush(QPalette::Base);
    look.alignment = Qt::AlignLeft;
    if (!server_ || column0 < 0 || column0 >= COLUMNCOUNT())
        return look;
    const BDATACOLUMN *col = open_[std::size_t(column0)];
    const int recNo = server_->recNoAt(row0 + 1);
    if (recNo == 0)
        return look; // a row the server no longer has: blank
    if (col->hasAlignment())
        look.alignment = col->ALIGNMENT() & Qt::AlignHorizontal_Mask;
    else if (dataView_.alignment)
        look.alignment = *dataView_.alignment & Qt::AlignHorizontal_Mask;
    else if (const ServerField *f = server_->field(col->FIELDNO()); f && f->type == u'N')
        look.alignment = Qt::AlignRight;
    if (col->FOREGROUND())
        look.foreground = *col->FOREGROUND();
    if (col->BACKGROUND())
        look.background = *col->BACKGROUND();
    if (!conditions_.isEmpty())
        rowLook(recNo, look);
    for (const BCOLORCONDITION &c : col->colorConditions()) {
        if (!c.test || !c.test(*server_, recNo))
            continue;
        if (c.foreground)
            look.foreground = *c.foreground;
        if (c.background)
            look.background = *c.background;
    }
    if (col->showsCheckBox()) {
        look.checkBox = true;
        if (const auto *tick = dynamic_cast<const BCHECKCOLUMN *>(col))
            look.checked = tick->isChecked(recNo);
        else
            look.checked = server_->valueAt(recNo, col->FIELDNO()).toBool();
    } else {
        look.text = col->textFor(recNo);
    }
    return look;
}

// ---- editing --------------------------------------------------------------------------------------

BCellEditEvent BBROWSER::editEvent(CellEditMode mode, BDATACOLUMN *column, int recNo, const QString &original)
{
    BCellEditEvent ev;
    ev.grid = this;
    ev.mode = mode;
    ev.column = columnNumber(column);
    ev.columnObject = column;
    ev.recNo = recNo;
    ev.originalText = original;
    ev.TEXTVALUE = original;
    return ev;
}

bool BBROWSER::ownerAllows(BCellEditEvent &ev)
{
    return !owner_ || !owner_->CELLEDIT || owner_->CELLEDIT(ev);
}

bool BBROWSER::edit(const QModelIndex &index, EditTrigger trigger, QEvent *event)
{
    if (storing_)
        return false;
    return QTableView::edit(index, trigger, event);
}

QLineEdit *BBROWSER::createCellEditor(QWidget *parent, const QModelIndex &index)
{
    if (!server_ || !cellEditable(index.column()) || server_->eof())
        return nullptr;
    BDATACOLUMN *col = open_[std::size_t(index.column())];
    const int recNo = recNoOfRow(index.row());
    if (recNo == 0)
        return nullptr;
    if (server_->RECNO() != recNo) {
        // An edit field that opens as the cursor arrives (the permanent mode) opens before the
        // grid moves the server; the owner judges the row it will edit, so move there first.
        following_ = true;
        server_->GOTO(recNo);
        following_ = false;
    }
    BCellEditEvent ev = editEvent(CellEditMode::Begin, col, recNo, col->textFor(recNo).trimmed());
    if (!ownerAllows(ev))
        return nullptr;
    auto *le = new QLineEdit(parent);
    le->setFrame(false);
    le->setFont(dataFont());
    le->setAlignment(col->hasAlignment() ? col->ALIGNMENT()
                     : dataView_.alignment ? *dataView_.alignment : Qt::AlignLeft);
    if (const ServerField *f = server_->field(col->FIELDNO()); f && f->type == u'C')
        le->setMaxLength(f->width);
    le->setText(ev.originalText);
    editor_ = le;
    editIndex_ = index;
    editOriginal_ = ev.originalText;
    connect(le, &QLineEdit::textChanged, this, [this, le, col, recNo](const QString &text) {
        if (!owner_ || !owner_->EDITCHANGE || editor_ != le)
            return;
        BCellEditEvent change = editEvent(CellEditMode::Typed, col, recNo, editOriginal_);
        change.TEXTVALUE = text;
        change.editor = le;
        owner_->EDITCHANGE(change);
    });
    return le;
}

void BBROWSER::finishCellEdit(QLineEdit *editor, const QModelIndex &index)
{
    if (storing_ || !server_ || editor != editor_)
        return;
    const int recNo = recNoOfRow(index.row());
    BDATACOLUMN *col = GETCOLUMN(index.column() + 1);
    if (recNo == 0 || !col)
        return;
    storing_ = true;
    BCellEditEvent ev = editEvent(CellEditMode::Typed, col, recNo, editOriginal_);
    ev.TEXTVALUE = editor->text();
    ev.editor = editor;
    const QString given = ev.TEXTVALUE;
    if (owner_ && owner_->CELLEDIT)
        owner_->CELLEDIT(ev);
    // The owner answers through TEXTVALUE or by rewriting the edit field itself.
    const QString finalText = ev.TEXTVALUE != given ? ev.TEXTVALUE : editor->text();
    const ServerField *f = server_->field(col->FIELDNO());
    // A text that reads as the cell did (blanks aside) stores nothing: no field notification, so no
    // owner flag moves.
    const bool same = finalText.trimmed() == col->textFor(recNo).trimmed();
    if (f && server_->USED() && !same) {
        const QVariant newValue = BARRAYSERVER::convert(*f, finalText);
        if (newValue != server_->valueAt(recNo, col->FIELDNO())) {
            if (server_->RECNO() != recNo)
                server_->GOTO(recNo);
            if (server_->RECNO() == recNo && server_->FIELDPUT(col->FIELDNO(), newValue)) {
                BCellEditEvent stored = ev;
                stored.mode = CellEditMode::Stored;
                stored.TEXTVALUE = finalText;
                ownerAllows(stored);
            }
        }
    }
    storing_ = false;
}

void BBROWSER::closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint)
{
    // The item delegate ends an edit with Enter by this hint (Tab, a click elsewhere and a stored
    // pending edit give others).
    const bool enter = hint == QAbstractItemDelegate::SubmitModelCache;
    const QModelIndex edited = editor == editor_ ? editIndex_ : QModelIndex();
    if (editor == editor_) {
        editor_ = nullptr;
        editIndex_ = {};
    }
    QTableView::closeEditor(editor, hint);
    if (enterMovesDown_ && enter && edited.isValid() && edited.row() + 1 < model_->rowCount())
        setCurrentIndex(model_->index(edited.row() + 1, edited.column()));
}

void BBROWSER::storePendingEdit()
{
    if (!editor_ || storing_)
        return;
    QLineEdit *le = editor_;
    commitData(le);
    closeEditor(le, QAbstractItemDelegate::NoHint);
}

void BBROWSER::toggleCheck(const QModelIndex &index)
{
    if (!server_ || !index.isValid() || !cellEditable(index.column()))
        return;
    BDATACOLUMN *col = open_[std::size_t(index.column())];
    if (!col->showsCheckBox())
        return;
    const int recNo = recNoOfRow(index.row());
    if (recNo == 0)
        return;
    if (auto *tick = dynamic_cast<BCHECKCOLUMN *>(col)) {
        tick->toggle(recNo);
        return;
    }
    const bool was = server_->valueAt(recNo, col->FIELDNO()).toBool();
    BCellEditEvent ev = editEvent(CellEditMode::Begin, col, recNo, was ? QStringLiteral("T") : QStringLiteral("F"));
    if (!ownerAllows(ev))
        return;
    if (server_->RECNO() != recNo)
        server_->GOTO(recNo);
    if (server_->RECNO() == recNo && server_->FIELDPUT(col->FIELDNO(), !was)) {
        ev.mode = CellEditMode::Stored;
        ev.TEXTVALUE = was ? QStringLiteral("F") : QStringLiteral("T");
        ownerAllows(ev);
    }
}

// ---- moving ---------------------------------------------------------------------------------------

void BBROWSER::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    if (!current.isValid())
        return;
    if (!selectableColumn(current.column())) {
        // The cursor never rests on a column that cannot be selected: keep the row, take the
        // nearest selectable column in the direction of the move.
        const int step = previous.isValid() && previous.column() > current.column() ? -1 : 1;
        int c = nearestSelectable(current.column(), step);
        if (c < 0)
            c = nearestSelectable(current.column(), -step);
        if (c >= 0) {
            setCurrentIndex(model_->index(current.row(), c));
            return;
        }
    }
    currentColumn_ = current.column() + 1;
    if (following_ || !server_)
        return;
    const int recNo = recNoOfRow(current.row());
    if (recNo != 0 && recNo != server_->RECNO()) {
        following_ = true;
        server_->GOTO(recNo);
        following_ = false;
    }
}

QModelIndex BBROWSER::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    const QModelIndex cur = currentIndex();
    QModelIndex idx = QTableView::moveCursor(action, modifiers);
    if (action == MoveHome && modifiers == Qt::NoModifier)
        horizontalScrollBar()->setValue(0); // the row's start is in view again, frozen or not
    if (!idx.isValid() || selectableColumn(idx.column()))
        return idx;
    const bool back = action == MoveLeft || action == MovePrevious || action == MoveHome;
    int c = nearestSelectable(idx.column(), back ? -1 : 1);
    if (c < 0)
        return cur.isValid() ? cur : idx;
    return model_->index(idx.row(), c);
}

void BBROWSER::scrollTo(const QModelIndex &index, ScrollHint hint)
{
    if (!index.isValid())
        return;
    const int h = horizontalScrollBar()->value();
    QTableView::scrollTo(index, hint);
    if (index.column() < frozen_) {
        horizontalScrollBar()->setValue(h); // frozen columns are always in view
        return;
    }
    // A column that slid under the frozen ones is brought out to their right.
    const int left = columnViewportPosition(index.column());
    if (frozen_ > 0 && left < frozenWidth())
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() - (frozenWidth() - left));
}

int BBROWSER::pageRows() const
{
    return std::max(1, viewport()->height() / std::max(1, ROWHEIGHT()));
}

// ---- frozen columns -------------------------------------------------------------------------------

void BBROWSER::setFREEZE(int columns)
{
    frozen_ = std::max(columns, 0);
    if (frozen_ > 0 && !frozenView_) {
        frozenView_ = new FrozenView(this);
        frozenView_->setModel(model_);
        // A delegate of its own: a shared one would send its edit signals to both views.
        frozenView_->setItemDelegate(new BrowserDelegate(this));
        frozenView_->setSelectionModel(selectionModel());
        frozenView_->horizontalHeader()->setFont(captionFont(nullptr));
        frozenView_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        frozenView_->verticalHeader()->setDefaultSectionSize(ROWHEIGHT());
        viewport()->stackUnder(frozenView_);
        connect(frozenView_->verticalScrollBar(), &QAbstractSlider::valueChanged, verticalScrollBar(),
                &QAbstractSlider::setValue);
        connect(verticalScrollBar(), &QAbstractSlider::valueChanged, frozenView_->verticalScrollBar(),
                &QAbstractSlider::setValue);
        // An appended row reaches the grid's range before the strip's: the strip's value, clamped
        // to its old range meanwhile, is set again once its range has grown.
        connect(frozenView_->verticalScrollBar(), &QAbstractSlider::rangeChanged, this, [this] {
            if (frozenView_)
                frozenView_->verticalScrollBar()->setValue(verticalScrollBar()->value());
        });
    }
    if (frozenView_)
        frozenView_->setVisible(frozen_ > 0);
    updateFrozenColumns();
}

void BBROWSER::updateFrozenColumns()
{
    if (!frozenView_ || frozen_ == 0)
        return;
    for (int c = 0; c < COLUMNCOUNT(); ++c) {
        frozenView_->setColumnHidden(c, c >= frozen_);
        if (c < frozen_)
            frozenView_->setColumnWidth(c, columnWidth(c));
    }
    frozenView_->verticalScrollBar()->setValue(verticalScrollBar()->value());
    updateFrozenGeometry();
}

int BBROWSER::frozenWidth() const
{
    int w = 0;
    for (int c = 0; c < std::min(frozen_, COLUMNCOUNT()); ++c)
        w += columnWidth(c);
    return w;
}

int BBROWSER::widthForAllColumns() const
{
    int w = 2 * frameWidth() + verticalScrollBar()->sizeHint().width();
    if (verticalHeader()->isVisible())
        w += verticalHeader()->width();
    for (int c = 0; c < COLUMNCOUNT(); ++c)
        w += columnWidth(c);
    return w;
}

void BBROWSER::updateFrozenGeometry()
{
    if (!frozenView_ || frozen_ == 0)
        return;
    // The same caption height and data height as the grid, so both scroll over the same range and
    // the frozen rows stay level with the others down to the last row.
    frozenView_->horizontalHeader()->setFixedHeight(horizontalHeader()->height());
    frozenView_->setGeometry(frameWidth(), frameWidth(), frozenWidth(),
                             viewport()->height() + horizontalHeader()->height());
}

void BBROWSER::RECALCULATE()
{
    for (std::size_t i = 0; i < open_.size(); ++i)
        setColumnWidth(int(i), open_[i]->WIDTH());
    updateFrozenColumns();
    updateGeometries();
    updateFrozenGeometry();
    repaintCells();
}

void BBROWSER::resizeEvent(QResizeEvent *event)
{
    QTableView::resizeEvent(event);
    updateFrozenGeometry();
}

// ---- refresh, suspension, rows --------------------------------------------------------------------

void BBROWSER::REFRESH()
{
    resync();
}

void BBROWSER::SUSPENDUPDATE()
{
    if (updateSuspend_++ == 0)
        setUpdatesEnabled(false);
}

void BBROWSER::RESTOREUPDATE()
{
    if (updateSuspend_ == 0)
        return;
    if (--updateSuspend_ == 0) {
        syncIfStale();
        setUpdatesEnabled(true);
        repaintCells();
    }
}

bool BBROWSER::DELETE()
{
    if (!server_ || server_->eof())
        return false;
    storePendingEdit();
    return server_->DELETE();
}

bool BBROWSER::viewportEvent(QEvent *event)
{
    if (event->type() != QEvent::Paint)
        return QTableView::viewportEvent(event);
    paintBegins();
    const bool done = QTableView::viewportEvent(event);
    paintEnds();
    return done;
}

void BBROWSER::paintBegins()
{
    syncIfStale();
    ++paintSerial_;
    ++painting_;
}

void BBROWSER::paintEnds()
{
    if (painting_ > 0)
        --painting_;
}

// ---- where things are -----------------------------------------------------------------------------

BCELL BBROWSER::GETCELLTOPOINT(QPoint pos) const
{
    BCELL cell;
    if (!server_ || pos.x() < 0 || pos.y() < 0 || pos.x() >= viewport()->width() || pos.y() >= viewport()->height())
        return cell;
    int column = -1;
    if (frozen_ > 0 && pos.x() < frozenWidth()) {
        int x = 0;
        for (int c = 0; c < std::min(frozen_, COLUMNCOUNT()); ++c) {
            x += columnWidth(c);
            if (pos.x() < x) {
                column = c;
                break;
            }
        }
    } else {
        column = columnAt(pos.x());
    }
    const int row = rowAt(pos.y());
    if (column < 0 || row < 0 || row >= model_->rowCount() || recNoOfRow(row) == 0)
        return cell;
    cell.COLUMN = column + 1;
    cell.ROW = row + 1;
    return cell;
}

int BBROWSER::GETROWNO() const
{
    if (!server_ || server_->eof())
        return 0;
    return server_->positionOf(server_->RECNO());
}

bool BBROWSER::ISACTIVE() const
{
    const QWidget *f = QApplication::focusWidget();
    return f && (f == this || isAncestorOf(f));
}

int BBROWSER::LASTRECNO() const
{
    return server_ ? server_->shownCount() : 0;
}

// ---- mouse and keys -------------------------------------------------------------------------------

void BBROWSER::mousePressEvent(QMouseEvent *event)
{
    framePress(event, [this, event] { QTableView::mousePressEvent(event); }, event->position().toPoint());
}

void BBROWSER::framePress(QMouseEvent *event, std::function<void()> platform, QPoint viewportPos)
{
    BMouseEvent me;
    me.BUTTONID = event ? buttonId(event->button()) : 0;
    me.pos = viewportPos;
    me.platform = std::move(platform);
    MOUSEBUTTONDOWN(me);
}

void BBROWSER::MOUSEBUTTONDOWN(BMouseEvent &event)
{
    if (event.platform) {
        event.platform();
    } else {
        const BCELL cell = GETCELLTOPOINT(event.pos);
        if (cell.ROW > 0 && cell.COLUMN > 0)
            setCurrentIndex(model_->index(cell.ROW - 1, cell.COLUMN - 1));
    }
    if (event.ISLEFTBUTTON() && clickTogglesCheckBoxes()) {
        const BCELL cell = GETCELLTOPOINT(event.pos);
        if (cell.ROW > 0 && cell.COLUMN > 0 && open_[std::size_t(cell.COLUMN - 1)]->showsCheckBox())
            toggleCheck(model_->index(cell.ROW - 1, cell.COLUMN - 1));
    }
}

void BBROWSER::mouseDoubleClickEvent(QMouseEvent *event)
{
    QTableView::mouseDoubleClickEvent(event);
    cellDoubleClicked(event->position().toPoint());
}

void BBROWSER::cellDoubleClicked(QPoint viewportPos)
{
    if (owner_ && owner_->CELLDOUBLECLICK)
        owner_->CELLDOUBLECLICK(*this, GETCELLTOPOINT(viewportPos));
}

void BBROWSER::captionClicked(int column0)
{
    if (captionClick_ && owner_ && owner_->CAPTIONCLICK)
        owner_->CAPTIONCLICK(*this, column0 + 1);
}

void BBROWSER::KEYCOMMAND(int key, std::function<void()> action, Qt::KeyboardModifiers modifiers)
{
    removeKEYCOMMAND(key, modifiers);
    keys_.push_back({key, modifiers, std::move(action)});
}

void BBROWSER::removeKEYCOMMAND(int key, Qt::KeyboardModifiers modifiers)
{
    keys_.erase(std::remove_if(keys_.begin(), keys_.end(),
                               [&](const KeyBinding &b) { return b.key == key && b.modifiers == modifiers; }),
                keys_.end());
}

void BBROWSER::keyPressEvent(QKeyEvent *event)
{
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    for (const KeyBinding &b : keys_) {
        if (b.key == event->key() && b.modifiers == mods) {
            const auto action = b.action; // the action may rebind keys
            event->accept();
            if (action)
                action();
            return;
        }
    }
    const QModelIndex cur = currentIndex();
    if (event->key() == Qt::Key_Space && mods == Qt::NoModifier && cur.isValid()
        && open_[std::size_t(cur.column())]->showsCheckBox()) {
        toggleCheck(cur);
        event->accept();
    } else {
        QTableView::keyPressEvent(event);
    }
    if (owner_ && owner_->KEYDOWN)
        owner_->KEYDOWN(*this, *event);
}

// ---- event handlers of owners ---------------------------------------------------------------------

void BBROWSER::bRegisterByEventHandler(QObject *control, EventHandler handler)
{
    if (!control)
        return;
    auto it = handlers_.find(control);
    if (it == handlers_.end()) {
        control->installEventFilter(this);
        const auto forget = connect(control, &QObject::destroyed, this, [this, control] { handlers_.remove(control); });
        it = handlers_.insert(control, {{}, forget});
    }
    it->handler = std::move(handler);
}

void BBROWSER::bUnregisterByEventHandler(QObject *control)
{
    const auto it = handlers_.find(control);
    if (it == handlers_.end())
        return;
    disconnect(it->forget);
    control->removeEventFilter(this);
    handlers_.erase(it);
}

bool BBROWSER::eventFilter(QObject *watched, QEvent *event)
{
    if (auto it = handlers_.constFind(watched); it != handlers_.constEnd() && it->handler) {
        const EventHandler handler = it->handler; // the handler may unregister itself
        if (handler(watched, event))
            return true;
    }
    return QTableView::eventFilter(watched, event);
}

} // namespace vexo
