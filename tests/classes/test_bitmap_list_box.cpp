// The bitmap list box's rules and its node list, without showing it.
#include "classes/bitmap_list_box.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

using namespace vexo;

namespace {

QList<BitmapListNode> nodesWithIds(std::initializer_list<int> ids)
{
    QList<BitmapListNode> nodes;
    for (int id : ids)
        nodes.append(BitmapListNode{id, QString::number(id), id * 10, {}, 0, {}});
    return nodes;
}

TEST(BitmapListBoxRules, TreeSeekFindsEveryIdAndNothingElse)
{
    EXPECT_EQ(TREESEEK({}, 2), 0);
    const auto nodes = nodesWithIds({2, 3, 5, 8, 13, 21, 34});
    for (int pos = 1; pos <= nodes.size(); ++pos)
        EXPECT_EQ(TREESEEK(nodes, nodes.at(pos - 1).id), pos) << pos;
    for (int missing : {0, 1, 4, 9, 33, 35, 1000, -1})
        EXPECT_EQ(TREESEEK(nodes, missing), 0) << missing;
    EXPECT_EQ(TREESEEK(nodesWithIds({7}), 7), 1);
    EXPECT_EQ(TREESEEK(nodesWithIds({7}), 8), 0);
}

TEST(BitmapListBoxRules, KeysMoveWithinTheRows)
{
    const struct { int key; int current; int count; std::optional<int> want; } cases[] = {
        {Qt::Key_Down, -1, 3, 0},              // nothing selected: the first row
        {Qt::Key_Down, 0, 3, 1},
        {Qt::Key_Down, 2, 3, std::nullopt},    // already last
        {Qt::Key_Down, -1, 0, std::nullopt},   // no rows at all
        {Qt::Key_Up, -1, 3, std::nullopt},     // nothing selected: nothing happens
        {Qt::Key_Up, 0, 3, std::nullopt},
        {Qt::Key_Up, 2, 3, 1},
        {Qt::Key_Left, 1, 3, std::nullopt},
    };
    for (const auto &c : cases)
        EXPECT_EQ(bitmapListKeyTarget(c.key, c.current, c.count), c.want)
            << c.key << " " << c.current << " " << c.count;
}

TEST(BitmapListBoxRules, IconCentredOnTheDefaultCellSitsLeftAndAbove)
{
    EXPECT_EQ(bitmapListIconOrigin(QPoint(0, 0), 20, 16), QPoint(-6, -8));
    EXPECT_EQ(bitmapListIconOrigin(QPoint(10, 48), 20, 16), QPoint(4, 40));
    EXPECT_EQ(bitmapListIconOrigin(QPoint(0, 0), 32, 32), QPoint(0, 0));
    EXPECT_EQ(bitmapListIconOrigin(QPoint(0, 0), 21, 17), QPoint(-6, -8)); // arithmetic halving
}

TEST(BitmapListBoxRules, BlockTopHalvesArithmetically)
{
    EXPECT_EQ(centredBlockTop(0, 40, 26), 7);
    EXPECT_EQ(centredBlockTop(16, 16, 26), 11); // a taller block starts above the row
    EXPECT_EQ(centredBlockTop(0, 16, 27), -6);
    EXPECT_EQ(centredBlockTop(5, 10, 10), 5);
}

TEST(BitmapListBoxRules, RowLookFollowsTheFocus)
{
    const struct { bool focus; int row; int active; bool sel; bool cur; bool wantSel; bool wantFrame; } cases[] = {
        {false, 2, 2, false, false, true, false}, // without focus the active row shows selected
        {false, 1, 2, true, true, false, false},  // ... and no other, selected or not
        {true, 2, 2, false, false, false, false}, // with focus the active row alone is not enough
        {true, 1, 2, true, true, true, true},     // the selected current row, with its frame
        {true, 1, 2, true, false, false, false},
    };
    for (const auto &c : cases) {
        const auto look = bitmapListRowLook(c.focus, c.row, c.active, c.sel, c.cur);
        EXPECT_EQ(look.selected, c.wantSel) << c.focus << c.row << c.sel << c.cur;
        EXPECT_EQ(look.frame, c.wantFrame) << c.focus << c.row << c.sel << c.cur;
    }
}

TEST(BitmapListBox, IdsStartAtTwoAndAreNeverReused)
{
    BITMAPLISTBOX box;
    EXPECT_TRUE(box.EMPTY());
    EXPECT_EQ(box.ADDNODE(QStringLiteral("a")), 2);
    EXPECT_EQ(box.ADDNODE(QStringLiteral("b")), 3);
    box.NACTIVEINDEX = 0;
    box.REMOVENODE();
    EXPECT_EQ(box.ADDNODE(QStringLiteral("c")), 4);
    box.LISTCLEAR();
    EXPECT_TRUE(box.EMPTY());
    EXPECT_EQ(box.rowCount(), 0);
    EXPECT_EQ(box.ADDNODE(QStringLiteral("d")), 5);
    EXPECT_EQ(box.rowIds(), QList<int>{5});
}

TEST(BitmapListBox, InsertedNodeShowsAtItsRowButStaysLastInTheList)
{
    BITMAPLISTBOX box;
    box.ADDNODE(QStringLiteral("a"), 1);
    box.ADDNODE(QStringLiteral("b"), 2);
    const int id = box.ADDNODE(QStringLiteral("c"), 3, {}, 0, {}, 0);
    EXPECT_EQ(box.rowIds(), (QList<int>{4, 2, 3}));
    ASSERT_EQ(box.ALISTBOX().size(), 3);
    EXPECT_EQ(box.ALISTBOX().last().id, id);
    EXPECT_EQ(TREESEEK(box.ALISTBOX(), id), 3);
    box.NACTIVEINDEX = 0;
    EXPECT_EQ(box.GETACTIVEID(), id);
    EXPECT_EQ(box.GETACTIVEVALUE(), QVariant(3));
}

TEST(BitmapListBox, ActiveAndDroppedReads)
{
    BITMAPLISTBOX box;
    EXPECT_EQ(box.GETACTIVEID(), -1);
    EXPECT_EQ(box.GETACTIVEVALUE(), QVariant(QString()));
    box.SETACTIVETEXT(QStringLiteral("nowhere")); // no row: nothing happens
    box.ADDNODE(QStringLiteral("a"), QStringLiteral("va"));
    box.ADDNODE(QStringLiteral("b"), QStringLiteral("vb"));
    box.NACTIVEINDEX = 1;
    box.NDROPINDEX = 0;
    EXPECT_EQ(box.GETACTIVEID(), 3);
    EXPECT_EQ(box.GETDROPPEDID(), 2);
    EXPECT_EQ(box.GETACTIVEVALUE().toString(), QStringLiteral("vb"));
    EXPECT_EQ(box.GETDROPPEDVALUE().toString(), QStringLiteral("va"));
    box.SETACTIVETEXT(QStringLiteral("b2"));
    box.SETACTIVEVALUE(42);
    EXPECT_EQ(box.ALISTBOX().at(1).text, QStringLiteral("b2"));
    EXPECT_EQ(box.ALISTBOX().at(1).value, QVariant(42));
    EXPECT_EQ(box.ALISTBOX().at(0).text, QStringLiteral("a"));
    box.NDROPINDEX = 7;
    EXPECT_EQ(box.GETDROPPEDID(), -1);
    EXPECT_EQ(box.GETDROPPEDVALUE(), QVariant(QString()));
}

TEST(BitmapListBox, RemoveNodeKeepsRowsAndNodesInStep)
{
    // Rows show ids 2, 5, 3, 4; the active row is the first. Removing another id takes that id's
    // row, not the active one.
    BITMAPLISTBOX box;
    box.ADDNODE(QStringLiteral("a"));
    box.ADDNODE(QStringLiteral("b"));
    box.ADDNODE(QStringLiteral("c"));
    box.ADDNODE(QStringLiteral("d"), {}, {}, 0, {}, 1);
    box.NACTIVEINDEX = 0;
    box.REMOVENODE(4);
    EXPECT_EQ(box.rowIds(), (QList<int>{2, 5, 3}));
    QList<int> nodeIds;
    for (const auto &n : box.ALISTBOX())
        nodeIds << n.id;
    EXPECT_EQ(nodeIds, (QList<int>{2, 3, 5}));
    EXPECT_EQ(box.NACTIVEINDEX, 0); // the active index is left as it was

    box.REMOVENODE(99); // an id no row shows removes nothing
    EXPECT_EQ(box.rowIds(), (QList<int>{2, 5, 3}));
    EXPECT_EQ(box.ALISTBOX().size(), 3);

    box.REMOVENODE(); // the active row's node
    EXPECT_EQ(box.rowIds(), (QList<int>{5, 3}));
    EXPECT_EQ(TREESEEK(box.ALISTBOX(), 2), 0);
}

TEST(BitmapListBox, DeleteHookCanKeepTheNode)
{
    BITMAPLISTBOX box;
    box.ADDNODE(QStringLiteral("a"));
    box.ADDNODE(QStringLiteral("b"));
    int asked = 0;
    bool keep = true;
    box.BONDELETE = [&](BITMAPLISTBOX &b) {
        EXPECT_EQ(&b, &box);
        ++asked;
        return keep;
    };
    box.REMOVENODE(3);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(box.rowIds(), (QList<int>{2, 3}));
    EXPECT_EQ(box.ALISTBOX().size(), 2);
    keep = false;
    box.REMOVENODE(3);
    EXPECT_EQ(box.rowIds(), QList<int>{2});

    box.LISTCLEAR();
    box.REMOVENODE(2); // an empty list asks nobody
    EXPECT_EQ(asked, 2);
}

TEST(BitmapListBox, RowsAreTheImageCellHigh)
{
    BITMAPLISTBOX box;
    box.resize(200, 200);
    box.ADDNODE(QStringLiteral("a"));
    box.ADDNODE(QStringLiteral("b"));
    EXPECT_EQ(box.NBITMAPHEIGHT(), 16);
    EXPECT_EQ(box.NBITMAPWIDTH, 20);
    EXPECT_EQ(box.sizeHintForRow(0), 16);
    box.setNBITMAPHEIGHT(40);
    EXPECT_EQ(box.sizeHintForRow(1), 40);
}

TEST(BitmapListBox, DoubleClickHandsTheSelectedRowsValue)
{
    BITMAPLISTBOX box;
    box.ADDNODE(QStringLiteral("a"), QStringLiteral("va"));
    box.ADDNODE(QStringLiteral("b"), QStringLiteral("vb"));
    QVariantList got;
    box.MOUSEBUTTONDOUBLECLICK(); // no hook, no row: nothing
    box.BONMOUSEDBLCLK = [&](BITMAPLISTBOX &, const QVariant &v) { got << v; };
    box.MOUSEBUTTONDOUBLECLICK(); // no selected row
    EXPECT_TRUE(got.isEmpty());
    box.setCurrentRow(1);
    box.MOUSEBUTTONDOUBLECLICK();
    EXPECT_EQ(got, QVariantList{QStringLiteral("vb")});
}

TEST(BitmapListBox, DeleteKeyRemovesTheActiveNode)
{
    BITMAPLISTBOX box;
    box.ADDNODE(QStringLiteral("a"));
    box.ADDNODE(QStringLiteral("b"));
    box.NACTIVEINDEX = 1;
    box.TVKEYDOWN(Qt::Key_Delete);
    EXPECT_EQ(box.rowIds(), QList<int>{2});
    box.TVKEYDOWN(Qt::Key_Up); // nothing selected: nothing happens
    EXPECT_EQ(box.currentRow(), -1);
    box.TVKEYDOWN(Qt::Key_Down);
    EXPECT_EQ(box.currentRow(), 0);
}

TEST(BitmapListBox, UnloadableFileOrUnknownKindDrawsNoImage)
{
    BITMAPLISTBOX box;
    QPixmap red(20, 16);
    red.fill(Qt::red);
    box.ADDNODE(QStringLiteral("x"), {}, QVariant::fromValue(red), 3);
    box.ADDNODE(QStringLiteral("y"), {}, {}, 4, QStringLiteral("/nonexistent/picture.bmp"));
    for (int pos : {1, 2}) {
        QImage img(20, 16, QImage::Format_RGB32);
        img.fill(Qt::white);
        QPainter p(&img);
        box.DRAWBITMAP(p, QRect(0, 0, 100, 16), pos);
        p.end();
        EXPECT_EQ(img.pixelColor(10, 8), QColor(Qt::white)) << pos;
    }
}

TEST(BitmapListBox, TextPrintInSelectionOrWindowColours)
{
    BITMAPLISTBOX box;
    QPalette pal = box.palette();
    pal.setColor(QPalette::Text, QColor(0, 160, 0));
    pal.setColor(QPalette::HighlightedText, QColor(200, 0, 0));
    box.setPalette(pal);
    for (bool selected : {false, true}) {
        QImage img(120, 30, QImage::Format_RGB32);
        img.fill(Qt::white);
        QPainter p(&img);
        box.TEXTPRINT(p, selected, QRect(0, 0, 120, 30), QStringLiteral("HHHH"));
        p.end();
        int ours = 0, theirs = 0, top = 30, bottom = -1;
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 120; ++x) {
                const QColor c = img.pixelColor(x, y);
                if (c == QColor(Qt::white))
                    continue;
                const bool red = c.red() > c.green();
                (red == selected ? ours : theirs)++;
                top = qMin(top, y);
                bottom = qMax(bottom, y);
            }
        EXPECT_GT(ours, 0) << selected;
        EXPECT_EQ(theirs, 0) << selected;
        EXPECT_LE(qAbs((top + bottom) / 2 - 15), 3) << selected; // one line, vertically centred
    }
}

} // namespace
