#include "controls/bbrowser_parts.h"

#include "controls/bbrowser.h"

#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>

namespace vexo {

BrowserModel::BrowserModel(BBROWSER *grid) : QAbstractTableModel(grid), grid_(grid)
{
}

QVariant BrowserModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rows_ || index.column() >= cols_)
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole: {
        const BBROWSER::CellLook look = grid_->cellLook(index.row(), index.column());
        return look.checkBox ? QVariant() : QVariant(look.text);
    }
    case Qt::CheckStateRole: {
        const BBROWSER::CellLook look = grid_->cellLook(index.row(), index.column());
        return look.checkBox ? QVariant(look.checked ? Qt::Checked : Qt::Unchecked) : QVariant();
    }
    case Qt::ForegroundRole:
        return grid_->cellLook(index.row(), index.column()).foreground;
    case Qt::BackgroundRole:
        return grid_->cellLook(index.row(), index.column()).background;
    default:
        return {};
    }
}

QVariant BrowserModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= cols_
        || section >= grid_->COLUMNCOUNT())
        return {};
    return grid_->openColumn(section)->captionLines().join(u'\n');
}

Qt::ItemFlags BrowserModel::flags(const QModelIndex &index) const
{
    if (!index.isValid() || index.column() >= cols_ || index.column() >= grid_->COLUMNCOUNT())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled;
    const BDATACOLUMN *col = grid_->openColumn(index.column());
    if (col->SELECTABLE())
        f |= Qt::ItemIsSelectable;
    if (grid_->cellEditable(index.column()) && !col->showsCheckBox())
        f |= Qt::ItemIsEditable;
    return f;
}

void BrowserModel::reset(int rows, int cols)
{
    beginResetModel();
    rows_ = rows;
    cols_ = cols;
    endResetModel();
}

void BrowserModel::rowChanged(int row)
{
    if (row >= 0 && row < rows_ && cols_ > 0)
        emit dataChanged(index(row, 0), index(row, cols_ - 1));
}

void BrowserModel::allChanged()
{
    if (rows_ > 0 && cols_ > 0)
        emit dataChanged(index(0, 0), index(rows_ - 1, cols_ - 1));
}

BrowserDelegate::BrowserDelegate(BBROWSER *grid) : QStyledItemDelegate(grid), grid_(grid)
{
}

// The box is always white, so its edge and tick are always drawn dark, on the current cell too.
static void drawCheckBox(QPainter *p, const QRect &cell, bool checked)
{
    const QColor pen(Qt::black);
    const int side = qMin(13, qMin(cell.width(), cell.height()) - 4);
    if (side < 5)
        return;
    const QRect box(cell.center().x() - side / 2, cell.center().y() - side / 2, side, side);
    p->setPen(pen);
    p->setBrush(Qt::white);
    p->drawRect(box.adjusted(0, 0, -1, -1));
    if (checked) {
        QPen tick(pen, 2);
        p->setPen(tick);
        const QPointF a(box.left() + side * 0.2, box.top() + side * 0.5);
        const QPointF b(box.left() + side * 0.42, box.top() + side * 0.75);
        const QPointF c(box.left() + side * 0.8, box.top() + side * 0.25);
        p->drawLine(a, b);
        p->drawLine(b, c);
    }
}

void BrowserDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const BBROWSER::CellLook look = grid_->cellLook(index.row(), index.column());
    const QRect r = option.rect;
    const bool current = (option.state & QStyle::State_HasFocus) || (grid_->currentIndex() == index);
    QColor fg = look.foreground;
    painter->fillRect(r, look.background);
    if (current) {
        painter->fillRect(r, option.palette.color(QPalette::Active, QPalette::Highlight));
        fg = option.palette.color(QPalette::Active, QPalette::HighlightedText);
    }
    if (look.checkBox) {
        drawCheckBox(painter, r, look.checked);
    } else if (!look.text.isEmpty()) {
        painter->setPen(fg);
        const QRect tr = r.adjusted(3, 0, -3, 0);
        const QString shown = option.fontMetrics.elidedText(look.text, Qt::ElideRight, tr.width());
        painter->drawText(tr, int(look.alignment | Qt::AlignVCenter) | Qt::TextSingleLine, shown);
    }
    const BGRID &g = grid_->GRID();
    if (g.style > 0) {
        painter->setPen(g.colour);
        painter->drawLine(r.topRight(), r.bottomRight());
        painter->drawLine(r.bottomLeft(), r.bottomRight());
    }
}

QWidget *BrowserDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &index) const
{
    return grid_->createCellEditor(parent, index);
}

void BrowserDelegate::setModelData(QWidget *editor, QAbstractItemModel *, const QModelIndex &index) const
{
    if (auto *le = qobject_cast<QLineEdit *>(editor))
        grid_->finishCellEdit(le, index);
}

void BrowserDelegate::updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option, const QModelIndex &) const
{
    editor->setGeometry(option.rect);
}

BrowserHeader::BrowserHeader(BBROWSER *grid, QWidget *parent) : QHeaderView(Qt::Horizontal, parent), grid_(grid)
{
    setSectionsClickable(true);
    setHighlightSections(false);
    setSectionResizeMode(QHeaderView::Interactive);
    setMinimumSectionSize(4);
}

QSize BrowserHeader::sizeHint() const
{
    if (!grid_)
        return QHeaderView::sizeHint();
    int h = grid_->CAPTIONHEIGHT();
    if (h <= 0) {
        int lines = 1;
        for (int i = 0; i < qMin(count(), grid_->COLUMNCOUNT()); ++i)
            lines = qMax(lines, int(grid_->openColumn(i)->captionLines().size()));
        h = lines * QFontMetrics(grid_->captionFont(nullptr)).height() + 6;
    }
    return QSize(length(), h);
}

void BrowserHeader::paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const
{
    if (!grid_ || logicalIndex < 0 || logicalIndex >= grid_->COLUMNCOUNT())
        return;
    const BDATACOLUMN *col = grid_->openColumn(logicalIndex);
    BVIEWSTYLE view = grid_->CAPTIONVIEW();
    if (const auto &own = col->CAPTIONVIEW()) {
        if (own->foreground) view.foreground = own->foreground;
        if (own->background) view.background = own->background;
        if (own->alignment) view.alignment = own->alignment;
        if (own->font) view.font = own->font;
        if (own->grid) view.grid = own->grid;
    }
    painter->save();
    painter->fillRect(rect, view.background ? *view.background : palette().brush(QPalette::Button));
    const BGRID lines = view.grid ? *view.grid : BGRID{1, palette().color(QPalette::Mid)};
    if (lines.style > 0) {
        painter->setPen(lines.colour);
        painter->drawLine(rect.topRight(), rect.bottomRight());
        painter->drawLine(rect.bottomLeft(), rect.bottomRight());
    }
    painter->setFont(grid_->captionFont(col));
    painter->setPen(view.foreground ? *view.foreground : palette().color(QPalette::ButtonText));
    const Qt::Alignment al = view.alignment ? *view.alignment : Qt::AlignCenter;
    const Qt::Alignment horizontal = al & Qt::AlignHorizontal_Mask;
    painter->drawText(rect.adjusted(3, 1, -3, -1), int(horizontal | Qt::AlignVCenter),
                      col->captionLines().join(u'\n'));
    painter->restore();
}

FrozenView::FrozenView(BBROWSER *grid) : QTableView(grid), grid_(grid)
{
    setFocusPolicy(Qt::NoFocus);
    setEditTriggers(NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFrameShape(QFrame::NoFrame);
    setShowGrid(false);
    setHorizontalHeader(new BrowserHeader(grid, this));
    verticalHeader()->hide();
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    // Scrolled by the grid's scroll bar value, so it counts in the same unit: rows.
    setVerticalScrollMode(ScrollPerItem);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, grid, &BBROWSER::captionClicked);
}

// The strip lies over the grid rather than inside its viewport, so a point goes up to the grid they
// share and down again (mapping straight across a non-ancestor is not defined).
QPoint FrozenView::toGridViewport(const QPoint &point) const
{
    return grid_->viewport()->mapFrom(grid_, viewport()->mapTo(grid_, point));
}

void FrozenView::mousePressEvent(QMouseEvent *event)
{
    grid_->framePress(event, [this, event] { QTableView::mousePressEvent(event); },
                      toGridViewport(event->position().toPoint()));
}

void FrozenView::mouseDoubleClickEvent(QMouseEvent *event)
{
    grid_->cellDoubleClicked(toGridViewport(event->position().toPoint()));
}

bool FrozenView::viewportEvent(QEvent *event)
{
    if (event->type() != QEvent::Paint)
        return QTableView::viewportEvent(event);
    grid_->paintBegins();
    const bool done = QTableView::viewportEvent(event);
    grid_->paintEnds();
    return done;
}

} // namespace vexo
