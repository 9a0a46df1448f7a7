#include "controls/cancel_owner.h"
#include "controls/control_extensions.h"
#include "controls/drawing_extensions.h"

#include <QDialog>
#include <QFontDatabase>
#include <QFrame>
#include <QHeaderView>
#include <QMenu>
#include <QPainter>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>
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

TEST(ControlExtensions, ViewsWithoutColumnsAndColumnsNotHeldAreLeftAlone)
{
    QTreeView empty;
    AUTOSIZE(&empty); // no model at all
    empty.setModel(new QStandardItemModel(&empty));
    AUTOSIZE(&empty);
    AUTOSIZECOLUMN(&empty, 3);
    EXPECT_EQ(empty.header()->count(), 0);
    AUTOSIZE(static_cast<QTreeView *>(nullptr));

    const QStringList headers = {QStringLiteral("Yem maddesi adı"), QStringLiteral("Katkı")};
    const QList<QStringList> rows = {{QStringLiteral("Mısır gluteni, yüksek proteinli"), QStringLiteral("12345678901234567890")}};
    QTreeView tree;
    tree.setModel(model(&tree, headers, rows));
    tree.header()->setStretchLastSection(false);
    QTableView table;
    table.setModel(model(&table, headers, rows));
    table.horizontalHeader()->setStretchLastSection(false);
    // Narrower than every header and entry, but not below what a header allows.
    const int narrow = std::max(tree.header()->minimumSectionSize(), table.horizontalHeader()->minimumSectionSize());
    for (int c = 0; c < 2; ++c) {
        tree.setColumnWidth(c, narrow);
        table.setColumnWidth(c, narrow);
    }
    // Columns the views do not hold change nothing.
    for (int column : {-1, 2, 40}) {
        AUTOSIZECOLUMN(&tree, column);
        AUTOSIZECOLUMN(&table, column);
    }
    for (int c = 0; c < 2; ++c) {
        EXPECT_EQ(tree.columnWidth(c), narrow);
        EXPECT_EQ(table.columnWidth(c), narrow);
    }
    // One column sizes that column only.
    AUTOSIZECOLUMN(&tree, 1);
    AUTOSIZECOLUMN(&table, 1);
    EXPECT_EQ(tree.columnWidth(0), narrow);
    EXPECT_EQ(table.columnWidth(0), narrow);
    EXPECT_EQ(tree.columnWidth(1), std::max(widestEntry(tree, 1), tree.header()->sectionSizeHint(1)));
    EXPECT_EQ(table.columnWidth(1), std::max(widestEntry(table, 1), table.horizontalHeader()->sectionSizeHint(1)));
}

// A dialog with a cancel handler that counts its calls.
class CountingDialog : public QDialog, public CancelOwner
{
public:
    void PBIPTAL() override
    {
        ++cancels;
        reject();
    }
    int cancels = 0;
};

TEST(ControlExtensions, ListBoxEscapeRunsTheOwnersCancelOnceAndOtherKeysStayInTheList)
{
    CountingDialog dialog;
    auto *list = new QVLISTBOX(new QWidget(&dialog));
    list->addItems({QStringLiteral("ARPA"), QStringLiteral("MISIR"), QStringLiteral("SOYA")});
    list->setCurrentRow(0);
    QSignalSpy rejected(&dialog, &QDialog::rejected);
    dialog.show();
    list->setFocus();

    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(list->currentRow(), 1);
    EXPECT_EQ(dialog.cancels, 0);
    QTest::keyClick(list, Qt::Key_Escape);
    EXPECT_EQ(dialog.cancels, 1);
    EXPECT_EQ(rejected.count(), 1) << "the dialog does not cancel a second time";

    QVLISTBOX alone; // no owner with a cancel handler: Esc is an ordinary key
    alone.show();
    QTest::keyClick(&alone, Qt::Key_Escape);
    EXPECT_TRUE(alone.isVisible());
}

TEST(ControlExtensions, ToolBarBelongsToNoWindow)
{
    QWidget window;
    for (const QVariant &argument : {QVariant(), QVariant::fromValue<QObject *>(&window), QVariant(42)}) {
        QVTOOLBAR bar(argument);
        EXPECT_EQ(bar.parentWidget(), nullptr);
        EXPECT_TRUE(bar.actions().isEmpty());
    }
}

// Where the style draws an item's check box, in the viewport's coordinates.
QRect checkBoxOf(const LSTVIEW_ &view, QTreeWidgetItem *item)
{
    const QRect row = view.visualItemRect(item);
    for (int x = row.left(); x <= row.right(); ++x) {
        const QPoint p(x, row.center().y());
        if (view.GETCHECKBOXATPOSITION_(p)) {
            int right = x;
            while (view.GETCHECKBOXATPOSITION_(QPoint(right + 1, p.y())))
                ++right;
            return QRect(QPoint(x, row.top()), QPoint(right, row.bottom()));
        }
    }
    return {};
}

TEST(ControlExtensions, ListViewPressOnACheckBoxTogglesIt)
{
    QWidget owner;
    auto *view = new LSTVIEW_(&owner, 110, QPoint(4, 6), QSize(300, 160));
    EXPECT_EQ(view->parentWidget(), &owner);
    EXPECT_EQ(view->geometry(), QRect(4, 6, 300, 160));
    EXPECT_EQ(view->property("controlId").toInt(), 110);
    view->setHeaderLabels({QStringLiteral("Yem maddesi"), QStringLiteral("Fiyat")});
    QTreeWidgetItem *corn = view->addItem({QStringLiteral("MISIR"), QStringLiteral("0.310")});
    QTreeWidgetItem *soy = view->addItem({QStringLiteral("SOYA"), QStringLiteral("0.520")});
    owner.resize(320, 180);
    owner.show();
    QWidget *port = view->viewport();

    // Without check boxes nothing is a box and no press toggles anything.
    EXPECT_FALSE(view->GETCHECKBOXATPOSITION_(view->visualItemRect(corn).topLeft() + QPoint(6, 6)));
    QTest::mouseClick(port, Qt::LeftButton, {}, view->visualItemRect(corn).topLeft() + QPoint(6, 6));
    EXPECT_FALSE(corn->data(0, Qt::CheckStateRole).isValid());

    view->setCHECKBOXES(true);
    const QRect box = checkBoxOf(*view, corn);
    ASSERT_TRUE(box.isValid());
    EXPECT_EQ(corn->checkState(0), Qt::Unchecked);
    QTest::mouseClick(port, Qt::LeftButton, {}, box.center());
    EXPECT_EQ(corn->checkState(0), Qt::Checked);
    QTest::mouseClick(port, Qt::LeftButton, {}, box.center());
    EXPECT_EQ(corn->checkState(0), Qt::Unchecked);
    EXPECT_EQ(soy->checkState(0), Qt::Unchecked) << "only the item under the press";

    // A double-click is two presses: the box ends as it was.
    QTest::mouseDClick(port, Qt::LeftButton, {}, box.center());
    EXPECT_EQ(corn->checkState(0), Qt::Unchecked);

    // Beside the box: the text of the first column, the second column, below the last item.
    const QRect row = view->visualItemRect(corn);
    for (const QPoint p : {QPoint(box.right() + 30, box.center().y()), QPoint(view->columnViewportPosition(1) + 5, row.center().y()),
                           QPoint(box.center().x(), view->visualItemRect(soy).bottom() + 20)}) {
        EXPECT_FALSE(view->GETCHECKBOXATPOSITION_(p));
        QTest::mouseClick(port, Qt::LeftButton, {}, p);
    }
    QTest::mouseClick(port, Qt::RightButton, {}, box.center());
    EXPECT_EQ(corn->checkState(0), Qt::Unchecked);
    EXPECT_EQ(soy->checkState(0), Qt::Unchecked);

    view->setCHECKBOXES(false);
    QTest::mouseClick(port, Qt::LeftButton, {}, box.center());
    EXPECT_FALSE(corn->data(0, Qt::CheckStateRole).isValid());
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

TEST(DrawingExtensions, BrushAndPenTakeTheGivenOneAsTheirOwn)
{
    QLinearGradient gradient(0, 0, 16, 0);
    gradient.setColorAt(0, Qt::red);
    gradient.setColorAt(1, Qt::blue);
    QPen dashed(QBrush(gradient), 3, Qt::DashDotLine, Qt::RoundCap, Qt::BevelJoin);
    dashed.setDashOffset(2);
    const QBrush brushes[] = {QBrush(QColor(196, 196, 225)), QBrush(Qt::darkGreen, Qt::Dense4Pattern), QBrush(gradient)};
    const QPen pens[] = {QPen(Qt::red), dashed, QPen(Qt::NoPen)};

    auto draw = [](const QBrush &b, const QPen &p) {
        QImage image(20, 20, QImage::Format_ARGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setBrush(b);
        painter.setPen(p);
        painter.drawRect(2, 2, 15, 15);
        painter.drawLine(0, 19, 19, 0);
        return image;
    };
    for (const QBrush &handle : brushes) {
        for (const QPen &penHandle : pens) {
            QBrush brush(Qt::yellow);
            QPen pen(Qt::green, 9);
            EXPECT_EQ(&BRUSHFROMHANDLE(brush, handle), &brush);
            EXPECT_EQ(&PENFROMHANDLE(pen, penHandle), &pen);
            EXPECT_EQ(brush, handle);
            EXPECT_EQ(pen, penHandle);
            EXPECT_EQ(draw(brush, pen), draw(handle, penHandle));
        }
    }
}

} // namespace
