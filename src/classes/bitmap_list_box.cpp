#include "classes/bitmap_list_box.h"

#include "classes/bitmap_file.h"

#include <QFocusEvent>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStandardItemModel>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QStyledItemDelegate>

namespace vexo {

namespace {

constexpr int IdRole = Qt::UserRole + 1;

// Draws each row through the list box, which owns the nodes; every row is the image cell's height.
class BitmapListDelegate : public QStyledItemDelegate
{
public:
    explicit BitmapListDelegate(BITMAPLISTBOX *box) : QStyledItemDelegate(box), m_box(box) {}

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const int pos = TREESEEK(m_box->ALISTBOX(), index.data(IdRole).toInt());
        if (pos == 0)
            return;
        const BitmapListRowLook look =
            bitmapListRowLook(m_box->hasFocusFlag(), index.row(), m_box->NACTIVEINDEX,
                              option.state.testFlag(QStyle::State_Selected), m_box->currentRow() == index.row());
        painter->save();
        m_box->DRAWITEMTEXT(*painter, option.rect, pos, look.selected, look.frame);
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const override
    {
        return QSize(option.rect.width(), m_box->NBITMAPHEIGHT());
    }

private:
    BITMAPLISTBOX *m_box;
};

} // namespace

int TREESEEK(const QList<BitmapListNode> &nodes, int id)
{
    if (nodes.isEmpty())
        return 0;
    // Whole-size positions, so that a list longer than 32767 nodes is searched to its end.
    qsizetype low = 1;
    qsizetype high = nodes.size();
    while (low <= high) {
        const qsizetype mid = low + ((high - low) >> 1);
        const int found = nodes.at(mid - 1).id;
        if (found == id)
            return static_cast<int>(mid);
        if (found < id)
            low = mid + 1;
        else
            high = mid - 1;
    }
    return 0;
}

std::optional<int> bitmapListKeyTarget(int key, int current, int count)
{
    if (key == Qt::Key_Down) {
        if (current + 1 < count)
            return current + 1;
    } else if (key == Qt::Key_Up) {
        if (current > 0)
            return current - 1;
    }
    return std::nullopt;
}

QPoint bitmapListIconOrigin(QPoint cellTopLeft, int cellWidth, int cellHeight)
{
    return cellTopLeft + QPoint((cellWidth - 32) >> 1, (cellHeight - 32) >> 1);
}

int centredBlockTop(int rectTop, int rectHeight, int measuredHeight)
{
    return rectTop + ((rectHeight - measuredHeight) >> 1);
}

BitmapListRowLook bitmapListRowLook(bool hasFocus, int row, int activeIndex, bool rowSelected, bool rowCurrent)
{
    if (!hasFocus)
        return {row == activeIndex, false};
    if (rowCurrent && rowSelected)
        return {true, true};
    return {false, false};
}

bool DRAWCENTERTEXT(QPainter &painter, const QString &text, const QRect &rect)
{
    const int flags = Qt::AlignLeft | Qt::AlignTop;
    const QRect measured = painter.fontMetrics().boundingRect(rect, flags, text);
    QRect target = rect;
    target.setTop(centredBlockTop(rect.top(), rect.height(), measured.height()));
    painter.save();
    painter.setClipRect(rect, Qt::IntersectClip);
    painter.drawText(target, flags, text);
    painter.restore();
    return true;
}

BITMAPLISTBOX::BITMAPLISTBOX(QWidget *owner) : QListView(owner), m_model(new QStandardItemModel(this))
{
    setModel(m_model);
    setItemDelegate(new BitmapListDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformItemSizes(true);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { noteActiveRow(); });
}

BITMAPLISTBOX::~BITMAPLISTBOX() = default;

int BITMAPLISTBOX::ADDNODE(const QString &text, const QVariant &value, const QVariant &image, int kind,
                           const QString &file, std::optional<int> index)
{
    const int id = ++m_lastId;
    m_nodes.append(BitmapListNode{id, text, value, image, kind, file});
    auto *item = new QStandardItem;
    item->setData(id, IdRole);
    item->setEditable(false);
    if (index && *index >= 0 && *index <= m_model->rowCount())
        m_model->insertRow(*index, item);
    else
        m_model->appendRow(item);
    return id;
}

void BITMAPLISTBOX::REMOVENODE(std::optional<int> id)
{
    const int nodeId = id ? *id : GETACTIVEID();
    if (m_nodes.isEmpty())
        return;
    if (BONDELETE && BONDELETE(*this))
        return;
    // The row that shows this node goes, so that the view and the nodes stay in step.
    const int row = rowOfId(nodeId);
    if (row >= 0)
        m_model->removeRow(row);
    const int pos = TREESEEK(m_nodes, nodeId);
    if (pos > 0)
        m_nodes.removeAt(pos - 1);
}

void BITMAPLISTBOX::LISTCLEAR()
{
    m_nodes.clear();
    m_model->clear();
}

void BITMAPLISTBOX::SETACTIVETEXT(const QString &text)
{
    if (const int pos = TREESEEK(m_nodes, GETACTIVEID()))
        m_nodes[pos - 1].text = text;
}

void BITMAPLISTBOX::SETACTIVEVALUE(const QVariant &value)
{
    if (const int pos = TREESEEK(m_nodes, GETACTIVEID()))
        m_nodes[pos - 1].value = value;
}

int BITMAPLISTBOX::idOfRow(int row) const
{
    if (row < 0 || row >= m_model->rowCount())
        return -1;
    return m_model->item(row)->data(IdRole).toInt();
}

int BITMAPLISTBOX::rowOfId(int id) const
{
    for (int row = 0; row < m_model->rowCount(); ++row)
        if (m_model->item(row)->data(IdRole).toInt() == id)
            return row;
    return -1;
}

QVariant BITMAPLISTBOX::valueOfId(int id) const
{
    const int pos = TREESEEK(m_nodes, id);
    return pos ? m_nodes.at(pos - 1).value : QVariant(QString());
}

int BITMAPLISTBOX::GETACTIVEID() const { return idOfRow(NACTIVEINDEX); }
int BITMAPLISTBOX::GETDROPPEDID() const { return idOfRow(NDROPINDEX); }
QVariant BITMAPLISTBOX::GETACTIVEVALUE() const { return valueOfId(GETACTIVEID()); }
QVariant BITMAPLISTBOX::GETDROPPEDVALUE() const { return valueOfId(GETDROPPEDID()); }

QList<int> BITMAPLISTBOX::rowIds() const
{
    QList<int> ids;
    for (int row = 0; row < m_model->rowCount(); ++row)
        ids << idOfRow(row);
    return ids;
}

int BITMAPLISTBOX::rowCount() const { return m_model->rowCount(); }

int BITMAPLISTBOX::currentRow() const
{
    const QModelIndex current = currentIndex();
    if (!current.isValid() || !selectionModel()->isSelected(current))
        return -1;
    return current.row();
}

void BITMAPLISTBOX::setCurrentRow(int row)
{
    selectionModel()->setCurrentIndex(m_model->index(row, 0), QItemSelectionModel::ClearAndSelect);
}

void BITMAPLISTBOX::REFRESH() { viewport()->update(); }

void BITMAPLISTBOX::REDRAW(bool on)
{
    setUpdatesEnabled(on);
}

// The stock light-grey brush of the list box's class background.
const QColor BITMAPLISTBOX::kLightGrey(192, 192, 192);

void BITMAPLISTBOX::PAINT()
{
    // The viewport is the client area. Painting it now also paints whatever of it was waiting to be
    // painted, so nothing is left over to bring the rows back before the next invalidation.
    m_paintingGrey = true;
    viewport()->repaint();
    m_paintingGrey = false;
}

void BITMAPLISTBOX::paintEvent(QPaintEvent *event)
{
    if (!m_paintingGrey) {
        QListView::paintEvent(event);
        return;
    }
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), kLightGrey);
}

void BITMAPLISTBOX::setNBITMAPHEIGHT(int height)
{
    m_bitmapHeight = height;
    doItemsLayout();
}

void BITMAPLISTBOX::TEXTPRINT(QPainter &painter, bool selected, const QRect &rect, const QString &text) const
{
    painter.save();
    painter.setPen(palette().color(selected ? QPalette::HighlightedText : QPalette::Text));
    painter.drawText(rect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
    painter.restore();
}

void BITMAPLISTBOX::DRAWITEMTEXT(QPainter &painter, const QRect &rect, int pos, bool selected, bool frame) const
{
    const BitmapListNode &node = m_nodes.at(pos - 1);
    const QColor fill = palette().color(selected ? QPalette::Highlight : QPalette::Base);
    const QColor ink = palette().color(selected ? QPalette::HighlightedText : QPalette::Text);
    painter.fillRect(rect, fill);
    painter.setPen(ink);
    QRect textRect = rect;
    textRect.setLeft(rect.left() + NBITMAPWIDTH + 2);
    if (MULTILINE) {
        QString text = node.text;
        DRAWCENTERTEXT(painter, text.replace(QLatin1Char(';'), QLatin1Char('\n')), textRect);
    } else {
        painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, node.text);
    }
    if (frame) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = rect;
        option.backgroundColor = fill;
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
    DRAWBITMAP(painter, rect, pos);
}

void BITMAPLISTBOX::DRAWBITMAP(QPainter &painter, const QRect &rect, int pos) const
{
    const BitmapListNode &node = m_nodes.at(pos - 1);
    const QRect cell(0, 0, NBITMAPWIDTH, m_bitmapHeight);
    switch (node.kind) {
    case 1:
        if (node.image.canConvert<QPixmap>())
            painter.drawPixmap(rect.topLeft(), node.image.value<QPixmap>(), cell);
        break;
    case 2:
        if (node.image.canConvert<QIcon>()) {
            const QIcon icon = node.image.value<QIcon>();
            painter.drawPixmap(bitmapListIconOrigin(rect.topLeft(), NBITMAPWIDTH, m_bitmapHeight),
                               icon.pixmap(QSize(32, 32), 1.0));
        }
        break;
    case 4: {
        // Read from its file at every drawing and let go right after.
        const QPixmap picture = QPixmap::fromImage(loadBitmapFile(node.file, palette().color(QPalette::Base)));
        if (!picture.isNull())
            painter.drawPixmap(rect.topLeft(), picture, cell);
        break;
    }
    default:
        break;
    }
}

void BITMAPLISTBOX::noteActiveRow()
{
    // A selected row that takes the focus drawing becomes the active row.
    if (m_hasFocus && currentRow() >= 0)
        NACTIVEINDEX = currentRow();
}

void BITMAPLISTBOX::TVKEYDOWN(int key)
{
    if (key == Qt::Key_Delete) {
        REMOVENODE();
        return;
    }
    if (const auto row = bitmapListKeyTarget(key, currentRow(), rowCount()))
        setCurrentRow(*row);
}

void BITMAPLISTBOX::MOUSEBUTTONDOUBLECLICK()
{
    const int row = currentRow();
    if (row < 0)
        return;
    const int pos = TREESEEK(m_nodes, idOfRow(row));
    if (pos && BONMOUSEDBLCLK)
        BONMOUSEDBLCLK(*this, m_nodes.at(pos - 1).value);
}

void BITMAPLISTBOX::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Down:
    case Qt::Key_Up:
    case Qt::Key_Delete:
        TVKEYDOWN(event->key());
        event->accept();
        return;
    default:
        QListView::keyPressEvent(event);
    }
}

bool BITMAPLISTBOX::LBUTTONDOWN(QMouseEvent *)
{
    return false;
}

void BITMAPLISTBOX::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        m_buttonDown = true;
        if (LBUTTONDOWN(event)) {
            event->accept();
            return;
        }
    }
    QListView::mousePressEvent(event);
}

void BITMAPLISTBOX::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_buttonDown = false;
    QListView::mouseReleaseEvent(event);
}

void BITMAPLISTBOX::mouseDoubleClickEvent(QMouseEvent *event)
{
    QListView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        MOUSEBUTTONDOUBLECLICK();
}

void BITMAPLISTBOX::focusInEvent(QFocusEvent *event)
{
    m_hasFocus = true;
    QListView::focusInEvent(event);
    noteActiveRow();
    viewport()->update();
}

void BITMAPLISTBOX::focusOutEvent(QFocusEvent *event)
{
    m_hasFocus = false;
    QListView::focusOutEvent(event);
    viewport()->update();
}

void BITMAPLISTBOX::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QListView::currentChanged(current, previous);
    noteActiveRow();
}

} // namespace vexo
