#pragma once

// The grid's model, delegate, caption bar and frozen-column view: private to BBROWSER.

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QStyledItemDelegate>
#include <QTableView>

namespace vexo {

class BBROWSER;

// Rows are the server's shown rows, columns the grid's open columns. The model keeps only the two
// counts; every cell is read from the server when it is asked for, so a stale count never reads
// past the rows (such cells answer blank).
class BrowserModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit BrowserModel(BBROWSER *grid);

    int rowCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : rows_; }
    int columnCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : cols_; }
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    void reset(int rows, int cols);
    void rowChanged(int row);
    void allChanged();

private:
    BBROWSER *grid_;
    int rows_ = 0;
    int cols_ = 0;
};

// Paints cells from the grid's CellLook and makes the edit field through the grid, which runs the
// owner's edit events.
class BrowserDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit BrowserDelegate(BBROWSER *grid);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void setEditorData(QWidget *, const QModelIndex &) const override {}
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;
    void updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    bool editorEvent(QEvent *, QAbstractItemModel *, const QStyleOptionViewItem &, const QModelIndex &) override
    {
        return false;
    }

private:
    BBROWSER *grid_;
};

// The caption bar: multi-line captions in the grid's caption view.
class BrowserHeader : public QHeaderView
{
    Q_OBJECT

public:
    explicit BrowserHeader(BBROWSER *grid, QWidget *parent);
    QSize sizeHint() const override;
    // The grid is being destroyed: the view may still lay the header out while it closes and hides
    // its children, and then the header is a plain header that reads nothing of the grid.
    void gridGone() { grid_ = nullptr; }

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override;

private:
    BBROWSER *grid_;
};

// The frozen leading columns: a view over the same model and selection laid over the grid's left
// edge; it never takes the focus and hands its presses to the grid.
class FrozenView : public QTableView
{
    Q_OBJECT

public:
    explicit FrozenView(BBROWSER *grid);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    void scrollTo(const QModelIndex &, ScrollHint) override {}

private:
    QPoint toGridViewport(const QPoint &point) const;
    BBROWSER *grid_;
};

} // namespace vexo
