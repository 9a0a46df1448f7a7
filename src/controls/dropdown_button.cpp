#include "controls/dropdown_button.h"

#include <QPainter>

namespace vexo {

QSize JOVDROPDOWNBITMAPBUTTON::_GetClientRect() const
{
    return dropDownLayoutArea(size());
}

void JOVDROPDOWNBITMAPBUTTON::_DrawControl(QPainter &painter)
{
    JOVBITMAPBUTTON::_DrawControl(painter);
    const DropDownMarks m = dropDownMarks(size(), isPressed(), isFocused());
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(Qt::black, 0));
    for (int row = 0; row < 3; ++row) // 5, 3 and 1 pixels
        painter.drawLine(m.arrowLeft + row, m.arrowTop + row, m.arrowLeft + 4 - row, m.arrowTop + row);
    painter.setPen(QPen(Qt::white, 0));
    painter.drawLine(m.lightX, m.lineTop, m.lightX, m.lineBottom - 1);
    painter.setPen(QPen(palette().color(QPalette::Dark), 0));
    painter.drawLine(m.shadowX, m.lineTop, m.shadowX, m.lineBottom - 1);
    painter.restore();
}

namespace {

constexpr int kNameRole = Qt::UserRole + 1;

} // namespace

JOVTREEVIEW::JOVTREEVIEW(QWidget *owner) : QTreeWidget(owner)
{
    setHeaderHidden(true);
}

QTreeWidgetItem *JOVTREEVIEW::itemByName(const QString &name) const
{
    if (name.isEmpty())
        return nullptr;
    for (QTreeWidgetItemIterator it(const_cast<JOVTREEVIEW *>(this)); *it; ++it)
        if ((*it)->data(0, kNameRole).toString() == name)
            return *it;
    return nullptr;
}

bool JOVTREEVIEW::InsertItem(const QString &parent, const QString &after, const QString &name,
                             const QString &caption, bool hasChildren)
{
    if (name.isEmpty() || itemByName(name))
        return false;
    QTreeWidgetItem *parentItem = nullptr;
    if (!parent.isEmpty() && !(parentItem = itemByName(parent)))
        return false;
    const int count = parentItem ? parentItem->childCount() : topLevelItemCount();
    int at = count;
    if (after.compare(QLatin1String("FIRST"), Qt::CaseInsensitive) == 0) {
        at = 0;
    } else if (!after.isEmpty() && after.compare(QLatin1String("LAST"), Qt::CaseInsensitive) != 0) {
        QTreeWidgetItem *sibling = itemByName(after);
        if (!sibling || sibling->parent() != parentItem)
            return false;
        at = (parentItem ? parentItem->indexOfChild(sibling) : indexOfTopLevelItem(sibling)) + 1;
    }
    auto *item = new QTreeWidgetItem(QStringList{caption});
    item->setData(0, kNameRole, name);
    if (parentItem)
        parentItem->insertChild(at, item);
    else
        insertTopLevelItem(at, item);
    if (hasChildren)
        item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    return true;
}

} // namespace vexo
