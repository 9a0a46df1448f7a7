#include "controls/control_extensions.h"
#include "controls/drawing_extensions.h"

#include <QFontDatabase>
#include <QFrame>
#include <QHeaderView>
#include <QMenu>
#include <QStandardItemModel>
#include <QTableView>
#include <QTreeView>

#include <gtest/gtest.h>

using namespace vexo;

namespace {

QAction *item(QMenu &menu, const QString &text, int id, bool checkable)
{
    QAction *a = menu.addAction(text);
    a->setData(id);
    a->setCheckable(checkable);
    return a;
}

TEST(ControlExtensions, MenuItemCheckedByCommand)
{
    QMenu menu;
    QAction *logon = item(menu, QStringLiteral("Giriş sorulsun"), 2101, true);
    QMenu *sub = menu.addMenu(QStringLiteral("Aktif matris"));
    QAction *source = item(*sub, QStringLiteral("Referans matristen"), 2201, true);
    item(menu, QStringLiteral("Çıkış"), 1009, false);

    EXPECT_FALSE(ISCHECKED(&menu, 2101));
    logon->setChecked(true);
    EXPECT_TRUE(ISCHECKED(&menu, 2101));
    source->setChecked(true);
    EXPECT_TRUE(ISCHECKED(&menu, 2201)); // found in a submenu
    EXPECT_FALSE(ISCHECKED(&menu, 1009));
    EXPECT_FALSE(ISCHECKED(&menu, 4242)); // not in the menu
    EXPECT_FALSE(ISCHECKED(nullptr, 2101));
    EXPECT_EQ(findCommandAction(&menu, 2201), source);
}

QStandardItemModel *model(QObject *parent, const QStringList &headers, const QList<QStringList> &rows)
{
    auto *m = new QStandardItemModel(0, int(headers.size()), parent);
    m->setHorizontalHeaderLabels(headers);
    for (const QStringList &row : rows) {
        QList<QStandardItem *> items;
        for (const QString &cell : row)
            items << new QStandardItem(cell);
        m->appendRow(items);
    }
    return m;
}

// The view's own measure of its widest entry (public on the base class).
int widestEntry(const QAbstractItemView &view, int column)
{
    return view.sizeHintForColumn(column);
}

TEST(ControlExtensions, ColumnsFitTheWiderOfHeaderAndEntries)
{
    QTreeView view;
    view.setModel(model(&view, {QStringLiteral("Besin maddesi katkısı (yüzde)"), QStringLiteral("B")},
                        {{QStringLiteral("1"), QStringLiteral("Mısır gluteni, yüksek proteinli, kurutulmuş")},
                         {QStringLiteral("2"), QStringLiteral("Arpa")}}));
    view.header()->setStretchLastSection(false);
    view.header()->resizeSection(0, 10);
    view.header()->resizeSection(1, 10);
    AUTOSIZE(&view);
    const int headerWide = view.header()->sectionSizeHint(0);
    const int entryWide = widestEntry(view, 1);
    EXPECT_EQ(view.columnWidth(0), std::max(headerWide, widestEntry(view, 0)));
    EXPECT_GT(headerWide, widestEntry(view, 0)); // the header decides column 0
    EXPECT_EQ(view.columnWidth(1), std::max(entryWide, view.header()->sectionSizeHint(1)));
    EXPECT_GT(entryWide, view.header()->sectionSizeHint(1)); // an entry decides column 1

    QTableView table;
    table.setModel(model(&table, {QStringLiteral("Yem maddesi adı uzun başlık"), QStringLiteral("F")},
                         {{QStringLiteral("x"), QStringLiteral("123456789012345678901234567890")}}));
    table.horizontalHeader()->setStretchLastSection(false);
    table.horizontalHeader()->resizeSection(0, 5);
    AUTOSIZE(&table);
    EXPECT_GE(table.columnWidth(0), table.horizontalHeader()->sectionSizeHint(0));
    EXPECT_GE(table.columnWidth(1), widestEntry(table, 1));
}

TEST(ControlExtensions, ViewsWithoutColumnsAreLeftAlone)
{
    QTreeView empty;
    AUTOSIZE(&empty); // no model at all
    empty.setModel(new QStandardItemModel(&empty));
    AUTOSIZE(&empty);
    AUTOSIZECOLUMN(&empty, 3);
    AUTOSIZE(static_cast<QTreeView *>(nullptr));
    SUCCEED();
}

TEST(DrawingExtensions, CanvasAreaIsTheClientAreaAtTheOrigin)
{
    QWidget owner;
    QWidget control(&owner);
    control.setGeometry(37, 52, 120, 24);
    EXPECT_EQ(CANVASAREA(control), QRect(0, 0, 120, 24));

    QFrame framed(&owner); // a frame is not part of the client area
    framed.setFrameStyle(QFrame::Box | QFrame::Plain);
    framed.setLineWidth(2);
    framed.setGeometry(5, 5, 124, 28);
    EXPECT_EQ(CANVASAREA(framed), QRect(0, 0, 120, 24));
}

TEST(DrawingExtensions, FontCopyCarriesTheAttributes)
{
    QFont source = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    source.setWeight(QFont::Bold);
    source.setItalic(true);
    const QFont copy = FONTFROMHANDLE(source);
    EXPECT_EQ(copy.family(), source.family());
    EXPECT_EQ(copy.pointSizeF(), source.pointSizeF());
    EXPECT_EQ(copy.weight(), QFont::Bold);
    EXPECT_TRUE(copy.italic());
    EXPECT_FALSE(copy.underline());

    QFont pixels(QStringLiteral("Sans"));
    pixels.setPixelSize(13);
    pixels.setUnderline(true);
    const QFont pixelCopy = FONTFROMHANDLE(pixels);
    EXPECT_EQ(pixelCopy.pixelSize(), 13);
    EXPECT_TRUE(pixelCopy.underline());

    // The copy owns its attributes: a widget given it keeps them when its parent's font changes.
    QWidget parent;
    QWidget child(&parent);
    child.setFont(FONTFROMHANDLE(child.font()));
    const QString family = child.font().family();
    QFont other(QStringLiteral("Monospace"));
    other.setPointSize(31);
    parent.setFont(other);
    EXPECT_EQ(child.font().family(), family);
    EXPECT_NE(child.font().pointSize(), 31);
}

} // namespace
