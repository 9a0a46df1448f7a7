#pragma once

#include <QColor>
#include <QIcon>
#include <QListView>
#include <QPixmap>
#include <QString>
#include <QVariant>

#include <functional>
#include <optional>

class QPainter;
class QStandardItemModel;

namespace vexo {

// One row of a bitmap list box: the node the row shows, kept in the list box's own node list.
struct BitmapListNode
{
    int id = 0;
    QString text;     // with MULTILINE on, each ";" starts a new line
    QVariant value;   // the owner's value for the row
    QVariant image;   // a QPixmap (kind 1) or a QIcon (kind 2)
    int kind = 0;     // 1 bitmap, 2 icon, 4 bitmap file; any other value draws no image
    QString file;     // the bitmap file of kind 4
};

// Binary search on the node id over nodes whose ids ascend: the 1-based position, 0 when none.
// Positions are not limited to 16 bits, so a long list is searched to its end.
int TREESEEK(const QList<BitmapListNode> &nodes, int id);

// The row a key moves the selection to, or nothing. current is -1 when no row is selected.
std::optional<int> bitmapListKeyTarget(int key, int current, int count);

// Where a 32 x 32 icon is drawn so that it is centred on the image cell at (left, top).
QPoint bitmapListIconOrigin(QPoint cellTopLeft, int cellWidth, int cellHeight);

// The top of a text block of the measured height centred in a rectangle (arithmetic halving, so a
// block taller than the rectangle starts above it).
int centredBlockTop(int rectTop, int rectHeight, int measuredHeight);

// How a row is drawn: in the selection colours or not, with a focus frame or not. Without the focus
// the active row shows selected; with it, the selected row does and carries the frame.
struct BitmapListRowLook
{
    bool selected = false;
    bool frame = false;
};
BitmapListRowLook bitmapListRowLook(bool hasFocus, int row, int activeIndex, bool rowSelected, bool rowCurrent);

// Draws text vertically centred in a rectangle (lines broken only at the line breaks), left aligned.
bool DRAWCENTERTEXT(QPainter &painter, const QString &text, const QRect &rect);

// A list box whose rows show a small image followed by their text. The rows are nodes kept in the
// object; the view holds for each row only the node's id.
class BITMAPLISTBOX : public QListView
{
    Q_OBJECT
public:
    explicit BITMAPLISTBOX(QWidget *owner = nullptr);
    ~BITMAPLISTBOX() override;

    // The light grey PAINT fills the client area with.
    static const QColor kLightGrey;

    // Nodes and rows.
    int ADDNODE(const QString &text, const QVariant &value = QVariant(), const QVariant &image = QVariant(),
                int kind = 0, const QString &file = QString(), std::optional<int> index = std::nullopt);
    void REMOVENODE(std::optional<int> id = std::nullopt);
    void LISTCLEAR();
    void SETACTIVETEXT(const QString &text);
    void SETACTIVEVALUE(const QVariant &value);
    int GETACTIVEID() const;
    int GETDROPPEDID() const;
    QVariant GETACTIVEVALUE() const;
    QVariant GETDROPPEDVALUE() const;
    const QList<BitmapListNode> &ALISTBOX() const { return m_nodes; }
    bool EMPTY() const { return m_nodes.isEmpty(); }

    // The ids of the rows, top to bottom (the view's item data).
    QList<int> rowIds() const;
    int rowCount() const;
    // The selected row, -1 when none.
    int currentRow() const;
    void setCurrentRow(int row);

    // Drawing and display.
    void REFRESH();
    void REDRAW(bool on);
    // Fills the whole client area with light grey at once and leaves nothing of it to be painted:
    // the rows show again only when the list box is next invalidated (REFRESH, a change of rows).
    void PAINT();
    // One line vertically centred, in the selection colours when selected is set.
    void TEXTPRINT(QPainter &painter, bool selected, const QRect &rect, const QString &text) const;
    void DRAWITEMTEXT(QPainter &painter, const QRect &rect, int pos, bool selected, bool frame) const;
    void DRAWBITMAP(QPainter &painter, const QRect &rect, int pos) const;

    // Public switches and hooks. Only BONDELETE and BONMOUSEDBLCLK are ever called.
    int NDROPINDEX = 0;
    int NACTIVEINDEX = 0;
    bool LCANACTIVATE = true;
    bool LDRAGDROPON = true;
    std::function<QVariant(BITMAPLISTBOX &)> BONMOUSEDROP;
    std::function<bool(BITMAPLISTBOX &)> BONDELETE; // true keeps the node
    std::function<QVariant(BITMAPLISTBOX &)> BONMOVENODE;
    std::function<void(BITMAPLISTBOX &, const QVariant &)> BONMOUSEDBLCLK;
    int NBITMAPWIDTH = 20;
    bool MULTILINE = false;

    int NBITMAPHEIGHT() const { return m_bitmapHeight; }
    void setNBITMAPHEIGHT(int height);

    bool hasFocusFlag() const { return m_hasFocus; }
    bool buttonDownFlag() const { return m_buttonDown; }

    void TVKEYDOWN(int key);
    void MOUSEBUTTONDOUBLECLICK();
    // Called at each left-button press; a subclass that answers true takes the press, which then
    // goes no further (no selection change). The list box itself answers false.
    virtual bool LBUTTONDOWN(QMouseEvent *event);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void paintEvent(QPaintEvent *event) override;

private:
    int idOfRow(int row) const;
    QVariant valueOfId(int id) const;
    int rowOfId(int id) const;
    void noteActiveRow();

    QStandardItemModel *m_model;
    QList<BitmapListNode> m_nodes;
    int m_lastId = 1;
    bool m_buttonDown = false;
    bool m_hasFocus = false;
    int m_bitmapHeight = 16;
    bool m_paintingGrey = false;
};

} // namespace vexo
