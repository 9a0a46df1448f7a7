#pragma once

#include "controls/barray_server.h"
#include "controls/bdata_column.h"
#include "controls/browser_owner.h"

#include <QHash>
#include <QLineEdit>
#include <QPointer>
#include <QTableView>

#include <functional>
#include <memory>
#include <optional>
#include <vector>


namespace vexo {

class BrowserModel;
class BrowserDelegate;
class BrowserHeader;
class FrozenView;

// How rows are positioned and counted; kept for owners that set them, the grid always shows the
// server's shown rows in its order.
enum class BrowserRowMode { ABSOLUTE, RELATIVE };
enum class BrowserRowCountMode { RECCOUNT, ESTIMATED };

// When typing or clicking opens a cell's edit field.
enum class BrowserAutoEdit {
    NONE,      // F2 or a double click only
    EXCEL,     // a typed key starts an edit that replaces the text
    SENSITIVE, // also a click on the current cell
    PERMANENT, // the current cell is always open for editing
};

// The grid: a table view over an array data server, a column per field (BDATACOLUMN), optional tick
// columns (BCHECKCOLUMN), frozen leading columns, two-line captions, colour conditions, key commands
// and the owner's edit events (see BrowserOwner). The grid follows the server's current row and moves
// it when the user moves; it paints only what the server holds at the moment it paints.
//
// Column numbers count from 1 over the open (shown) columns.
class BBROWSER : public QTableView, public ServerClient
{
    Q_OBJECT

public:
    explicit BBROWSER(QWidget *parent = nullptr, BrowserOwner *owner = nullptr);
    ~BBROWSER() override;

    BrowserOwner *OWNER() const { return owner_; }
    void setOWNER(BrowserOwner *owner) { owner_ = owner; }

    // Attaching a server makes the grid its client and opens one column per field, in field order,
    // named after the field and captioned with its name. USE(nullptr) lets go. Answers USED.
    bool USE(std::shared_ptr<BARRAYSERVER> server);
    BARRAYSERVER *SERVER() const { return server_.get(); }
    std::shared_ptr<BARRAYSERVER> serverPtr() const { return server_; }
    bool USED() const { return server_ && server_->USED(); }

    // View settings.
    BrowserRowMode ROWMODE() const { return rowMode_; }
    void setROWMODE(BrowserRowMode m) { rowMode_ = m; }
    BrowserRowCountMode ROWCOUNTMODE() const { return rowCountMode_; }
    void setROWCOUNTMODE(BrowserRowCountMode m) { rowCountMode_ = m; }
    bool EDITABLE() const { return editable_; }
    void setEDITABLE(bool on);
    BrowserAutoEdit AUTOEDIT() const { return autoEdit_; }
    void setAUTOEDIT(BrowserAutoEdit mode);
    bool ENABLECOLUMNMOVE() const { return columnMove_; }
    void setENABLECOLUMNMOVE(bool on);
    bool ENABLECAPTIONCLICK() const { return captionClick_; }
    void setENABLECAPTIONCLICK(bool on) { captionClick_ = on; }
    // Enter that ends a cell edit moves the cursor to the same column of the next row, so that a
    // column of values can be typed one after another.
    bool ENTERMOVESDOWN() const { return enterMovesDown_; }
    void setENTERMOVESDOWN(bool on) { enterMovesDown_ = on; }
    // Lines of the data area (the caption's lines come with CAPTIONVIEW).
    const BGRID &GRID() const { return grid_; }
    void setGRID(const BGRID &g);
    const BVIEWSTYLE &CAPTIONVIEW() const { return captionView_; }
    void setCAPTIONVIEW(const BVIEWSTYLE &style);
    const BVIEWSTYLE &DATAVIEW() const { return dataView_; }
    void setDATAVIEW(const BVIEWSTYLE &style);
    int CAPTIONHEIGHT() const { return captionHeight_; }
    void setCAPTIONHEIGHT(int pixels);
    int ROWHEIGHT() const;
    // Logical fields drawn as check boxes (on by default).
    bool checkBoxView() const { return checkBoxView_; }
    void setCheckBoxView(bool on);

    // Leading columns that stay in place when the grid scrolls sideways.
    int FREEZE() const { return frozen_; }
    void setFREEZE(int columns);

    // Row colour conditions, tested in the order added; a later one that holds overrides an earlier.
    void addCOLORCONDITION(const BCOLORCONDITION &c);
    const QList<BCOLORCONDITION> &colorConditions() const { return conditions_; }

    // Columns. GETCOLUMN finds a column by open number or by name among all the grid's columns;
    // GETOPENCOLUMN only among the open ones. ADDCOLUMN gives the grid a column (not shown);
    // OPENCOLUMN shows it at an open position (1 = first; beyond the end appends).
    BDATACOLUMN *GETCOLUMN(int number) const;
    BDATACOLUMN *GETCOLUMN(const QString &name) const;
    BDATACOLUMN *GETOPENCOLUMN(const QString &name) const;
    BDATACOLUMN *ADDCOLUMN(std::unique_ptr<BDATACOLUMN> column);
    bool OPENCOLUMN(BDATACOLUMN *column, int position = 0);
    int COLUMNCOUNT() const { return int(open_.size()); }
    // The outer width that shows every open column side by side without scrolling sideways: the
    // columns, the row header, the frame and room for the vertical scroll bar.
    int widthForAllColumns() const;
    int columnNumber(const BDATACOLUMN *column) const; // open number, 0 when not open
    BDATACOLUMN *openColumn(int index0) const { return open_[std::size_t(index0)]; }

    // The current column (open number from 1; 0 without columns). Setting a non-selectable column is
    // refused.
    int CURRENTCOLUMN() const;
    bool setCURRENTCOLUMN(int number);

    // Key commands: the key (a Qt::Key, optionally with modifiers) runs the action instead of reaching
    // the grid.
    void KEYCOMMAND(int key, std::function<void()> action, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void removeKEYCOMMAND(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

    // Re-reads every row from the server and repaints, keeping the current row; sends nothing to the
    // server, so no owner flag moves.
    void REFRESH();
    // Sizes the columns whose width was computed again and lays the frozen columns out anew.
    void RECALCULATE();
    // Drawing off and on again (nested); restoring re-reads the rows when they changed meanwhile.
    void SUSPENDUPDATE();
    void RESTOREUPDATE();
    bool updateSuspended() const { return updateSuspend_ > 0; }

    // Marks the current row deleted on the server; false without a row.
    bool DELETE();

    // Where things are: the cell under a point of the data area (0 outside the data), the current
    // row's number in the grid (from 1; 0 without one), whether the grid or its edit field has the
    // focus, the number of the grid's last row.
    BCELL GETCELLTOPOINT(QPoint viewportPos) const;
    int GETROWNO() const;
    bool ISACTIVE() const;
    int LASTRECNO() const;
    void SETFOCUS() { setFocus(Qt::OtherFocusReason); }
    // Brings a cell into view; a cell never ends up under the frozen columns.
    void scrollTo(const QModelIndex &index, ScrollHint hint = EnsureVisible) override;

    // Data-server notifications. Subclasses add their own step and call this one.
    bool NOTIFY(int code, const QString &description) override;
    // Mouse presses. Subclasses call this first (it makes the clicked row current), then act.
    virtual void MOUSEBUTTONDOWN(BMouseEvent &event);

    // The owner sees the messages (events) of the chosen controls first; a handler answering true
    // ends the message there. One handler per control; registering again replaces it.
    using EventHandler = std::function<bool(QObject *control, QEvent *event)>;
    void bRegisterByEventHandler(QObject *control, EventHandler handler);
    void bUnregisterByEventHandler(QObject *control);

    // The edit field of the cell being edited, or null.
    QLineEdit *currentEditor() const { return editor_; }
    // Ends the edit in progress, storing its value (what an IntentToMove does).
    void storePendingEdit();

    // Internals shared with the grid's model, delegate and frozen view.
    BrowserModel *browserModel() const { return model_; }
    bool cellEditable(int column0) const;
    QString cellText(int position, int column0) const;
    int recNoOfRow(int row0) const;
    QLineEdit *createCellEditor(QWidget *parent, const QModelIndex &index);
    void finishCellEdit(QLineEdit *editor, const QModelIndex &index);
    void framePress(QMouseEvent *event, std::function<void()> platform, QPoint viewportPos);
    int frozenWidth() const;
    int pageRows() const;
    void columnChanged__(BDATACOLUMN *column);
    QFont dataFont() const;
    QFont captionFont(const BDATACOLUMN *column) const;
    void repaintCells();
    void syncIfStale();
    // A paint of the grid or its frozen strip: re-reads stale rows first and scopes the row cache.
    void paintBegins();
    void paintEnds();
    void cellDoubleClicked(QPoint viewportPos);
    void captionClicked(int column0);

    // What one cell shows: text, colours, alignment and, for check boxes, the mark.
    struct CellLook
    {
        QString text;
        QColor foreground;
        QBrush background;
        Qt::Alignment alignment;
        bool checkBox = false;
        bool checked = false;
    };
    CellLook cellLook(int row0, int column0) const;

protected:
    // Whether a left click on an editable check box of the grid toggles it. Classes that tick on
    // their own answer false, so a click never ticks twice.
    virtual bool clickTogglesCheckBoxes() const { return true; }

    bool edit(const QModelIndex &index, EditTrigger trigger, QEvent *event) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void keyboardSearch(const QString &) override {}
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    void detach();
    void resync();
    void followServer();
    void applyEditTriggers();
    void applyHeaderLook();
    void updateFrozenGeometry();
    void updateFrozenColumns();
    void toggleCheck(const QModelIndex &index);
    bool selectableColumn(int column0) const;
    int nearestSelectable(int column0, int step) const;
    void rowLook(int recNo, CellLook &look) const;
    BCellEditEvent editEvent(CellEditMode mode, BDATACOLUMN *column, int recNo, const QString &original);
    bool ownerAllows(BCellEditEvent &ev); // runs CELLEDIT; true without an owner

    BrowserOwner *owner_ = nullptr;
    std::shared_ptr<BARRAYSERVER> server_;
    std::vector<std::unique_ptr<BDATACOLUMN>> columns_;
    std::vector<BDATACOLUMN *> open_;
    QList<BCOLORCONDITION> conditions_;
    BrowserModel *model_ = nullptr;
    BrowserDelegate *delegate_ = nullptr;
    BrowserHeader *header_ = nullptr;
    FrozenView *frozenView_ = nullptr;
    QPointer<QLineEdit> editor_;
    QModelIndex editIndex_;
    QString editOriginal_;
    struct KeyBinding { int key; Qt::KeyboardModifiers modifiers; std::function<void()> action; };
    std::vector<KeyBinding> keys_;
    // A registered control's handler, and the connection that forgets it when the control goes. The
    // grid cuts that connection itself (unregistering, and in its destructor): the control may be the
    // grid or one of its children, whose `destroyed` comes after the grid's members are gone.
    struct RegisteredHandler
    {
        EventHandler handler;
        QMetaObject::Connection forget;
    };
    QHash<QObject *, RegisteredHandler> handlers_;
    BGRID grid_;
    BVIEWSTYLE captionView_;
    BVIEWSTYLE dataView_;
    BrowserRowMode rowMode_ = BrowserRowMode::ABSOLUTE;
    BrowserRowCountMode rowCountMode_ = BrowserRowCountMode::RECCOUNT;
    BrowserAutoEdit autoEdit_ = BrowserAutoEdit::NONE;
    quint64 shownStamp_ = 0;
    quint64 paintSerial_ = 0;
    mutable quint64 rowCacheSerial_ = ~quint64(0);
    mutable int rowCacheRec_ = -1;
    mutable std::optional<QColor> rowCacheFg_;
    mutable std::optional<QBrush> rowCacheBg_;
    int currentColumn_ = 0;
    int painting_ = 0;
    int frozen_ = 0;
    int captionHeight_ = 0;
    int updateSuspend_ = 0;
    bool editable_ = false;
    bool columnMove_ = false;
    bool captionClick_ = false;
    bool enterMovesDown_ = false;
    bool checkBoxView_ = true;
    bool following_ = false;
    bool storing_ = false;
    bool staleWhileSuspended_ = false;
};

} // namespace vexo
