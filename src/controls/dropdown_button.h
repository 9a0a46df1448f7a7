#pragma once

#include "controls/bitmap_button.h"

#include <QTreeWidget>

namespace vexo {

// A bitmap button with a drop-down arrow behind a separator at its right edge; image and caption
// are laid out in the rest. It opens nothing by itself: a click anywhere, the arrow included, is the
// button's click.
class JOVDROPDOWNBITMAPBUTTON : public JOVBITMAPBUTTON
{
    Q_OBJECT
public:
    using JOVBITMAPBUTTON::JOVBITMAPBUTTON;

    QSize _GetClientRect() const override;
    void _DrawControl(QPainter &painter) override;
};

// A tree whose items are found by their names, and which can show an expand button for an item before
// it has children (to fill them in when the item is opened).
class JOVTREEVIEW : public QTreeWidget
{
    Q_OBJECT
public:
    explicit JOVTREEVIEW(QWidget *owner = nullptr);

    // The item of that name, or nullptr.
    QTreeWidgetItem *itemByName(const QString &name) const;
    // Inserts an item named `name` under the item `parent` (empty: at the top level), after the
    // sibling named `after`, or first for "FIRST", last for "LAST" (or an empty text). False, with
    // nothing inserted, when the parent or the sibling is not there or the name is taken or empty.
    bool InsertItem(const QString &parent, const QString &after, const QString &name, const QString &caption,
                    bool hasChildren = false);
    bool AddItem(const QString &parent, const QString &name, const QString &caption, bool hasChildren = false)
    {
        return InsertItem(parent, QStringLiteral("LAST"), name, caption, hasChildren);
    }
};

} // namespace vexo
