#include "updater/my_list_view.h"

#include "problem/date_text.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>

#include <algorithm>

namespace vexo {

namespace {

struct ColumnSpec
{
    const char16_t *caption;
    int width; // in characters
    Qt::Alignment alignment;
};

constexpr ColumnSpec kColumns[] = {
    {u"Dosya Adı", 8, Qt::AlignLeft}, {u"Tipi", 4, Qt::AlignLeft}, {u"Boyut", 7, Qt::AlignRight},
    {u"Tarih", 6, Qt::AlignLeft},     {u"Saat", 6, Qt::AlignLeft}, {u"Nit.", 3, Qt::AlignLeft},
};

// Cells with grid lines on their right and lower edges, as a report-style list draws them.
class GridLineDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::paint(painter, option, index);
        painter->save();
        painter->setPen(option.palette.color(QPalette::Mid));
        const QRect r = option.rect;
        painter->drawLine(r.topRight(), r.bottomRight());
        painter->drawLine(r.bottomLeft(), r.bottomRight());
        painter->restore();
    }
};

} // namespace

MYLISTVIEW::MYLISTVIEW(QWidget *owner, const QRect &geometry)
    : QTreeWidget(owner)
{
    setGeometry(geometry);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setAllColumnsShowFocus(true);
    setSortingEnabled(false); // the list sorts its own rows
    setColumnCount(int(std::size(kColumns)));
    QStringList captions;
    const int charWidth = QFontMetrics(font()).averageCharWidth();
    for (const ColumnSpec &c : kColumns)
        captions << QString::fromUtf16(c.caption);
    setHeaderLabels(captions);
    for (int i = 0; i < int(std::size(kColumns)); ++i) {
        setColumnWidth(i, kColumns[i].width * charWidth + 12);
        headerItem()->setTextAlignment(i, kColumns[i].alignment | Qt::AlignVCenter);
    }
    header()->setSectionsClickable(true);
    header()->setStretchLastSection(false);
    setItemDelegate(new GridLineDelegate(this));
}

QStringList MYLISTVIEW::shownTexts(const ListRow &row)
{
    const auto [name, ext] = splitListName(row.name);
    return {name, ext, row.sizeText(), DToC(row.date), row.time, row.attributes};
}

MYLISTVIEW &MYLISTVIEW::FILLUSING(const QList<ListRow> &rows)
{
    QList<ListRow> sorted = rows;
    std::stable_sort(sorted.begin(), sorted.end(), [this](const ListRow &a, const ListRow &b) {
        return rowBefore(m_sortColumn, m_ascending, a, b);
    });
    showRows(sorted, 0);
    return *this;
}

void MYLISTVIEW::showRows(const QList<ListRow> &rows, int selected)
{
    m_rows = rows;
    clear();
    for (const ListRow &row : m_rows) {
        auto *item = new QTreeWidgetItem(this, shownTexts(row));
        for (int i = 0; i < int(std::size(kColumns)); ++i)
            item->setTextAlignment(i, kColumns[i].alignment | Qt::AlignVCenter);
    }
    setCURRENTITEMNO(selected);
}

int MYLISTVIEW::CURRENTITEMNO() const
{
    const QList<QTreeWidgetItem *> chosen = selectedItems();
    if (chosen.isEmpty())
        return 0;
    return indexOfTopLevelItem(chosen.first()) + 1;
}

void MYLISTVIEW::setCURRENTITEMNO(int n)
{
    if (n >= 1 && n <= topLevelItemCount()) {
        setCurrentItem(topLevelItem(n - 1));
        topLevelItem(n - 1)->setSelected(true);
    } else {
        clearSelection();
        setCurrentItem(nullptr);
    }
}

std::optional<ListRow> MYLISTVIEW::currentRow() const
{
    const int n = CURRENTITEMNO();
    if (n <= 0 || n > m_rows.size())
        return std::nullopt;
    return m_rows.at(n - 1);
}

ListRow MYLISTVIEW::rowAt(int n) const
{
    return m_rows.value(n - 1);
}

QString MYLISTVIEW::GETITEMVALUE() const
{
    const auto row = currentRow();
    return row ? row->name : QString();
}

QDate MYLISTVIEW::GETITEMDATE() const
{
    const auto row = currentRow();
    return row ? CToD(DToC(row->date)) : QDate();
}

QString MYLISTVIEW::GETITEMTIME() const
{
    const auto row = currentRow();
    return row ? row->time : QString();
}

void MYLISTVIEW::setCOLUMNNAME(ListColumn column)
{
    if (column == m_sortColumn) {
        m_ascending = !m_ascending;
    } else {
        m_sortColumn = column;
        m_ascending = true;
    }
    // The selection follows its row through the sort.
    const auto selected = currentRow();
    QList<ListRow> sorted = m_rows;
    std::stable_sort(sorted.begin(), sorted.end(), [this](const ListRow &a, const ListRow &b) {
        return rowBefore(m_sortColumn, m_ascending, a, b);
    });
    int keep = 0;
    if (selected)
        keep = int(sorted.indexOf(*selected)) + 1;
    showRows(sorted, keep);
}

} // namespace vexo
