// Renders of the drop-down button sampled at pixels, and the tree view's insertions.
#include "controls/dropdown_button.h"
#include "controls/named_owner.h"

#include <QPainter>
#include <QLineEdit>
#include <QtTest>

#include <memory>

using namespace vexo;

namespace {

struct Owner : QWidget, NamedCommandOwner
{
};

} // namespace

class TestDropDownButton : public QObject
{
    Q_OBJECT

    std::unique_ptr<Owner> owner;
    JOVDROPDOWNBITMAPBUTTON *button = nullptr;

    QImage render() { return button->grab().toImage(); }

private slots:
    void init()
    {
        BitmapButtonThemes::setLoaded(false);
        owner = std::make_unique<Owner>();
        owner->resize(200, 60);
        button = new JOVDROPDOWNBITMAPBUTTON(owner.get(), QStringLiteral("Seç"));
        button->setObjectName(QStringLiteral("PBSEC"));
        button->setGeometry(10, 10, 100, 24);
        // Another field holds the focus, so the button is not focused unless a test says so.
        auto *field = new QLineEdit(owner.get());
        field->setGeometry(10, 40, 60, 20);
        owner->show();
        QVERIFY(QTest::qWaitForWindowExposed(owner.get()));
        field->setFocus();
    }
    void cleanup()
    {
        owner.reset();
        BitmapButtonThemes::setLoaded(std::nullopt);
    }

    void arrowRowsAndSeparator_data()
    {
        QTest::addColumn<bool>("pressed");
        QTest::addColumn<bool>("focused");
        QTest::addColumn<bool>("themed");
        QTest::newRow("normal") << false << false << false;
        QTest::newRow("pressed") << true << false << false;
        QTest::newRow("focused") << false << true << false;
        QTest::newRow("themed") << false << false << true;
        QTest::newRow("pressed and focused") << true << true << false;
    }
    void arrowRowsAndSeparator()
    {
        QFETCH(bool, pressed);
        QFETCH(bool, focused);
        QFETCH(bool, themed);
        BitmapButtonThemes::setLoaded(themed);
        button->setUseXPTheme(themed);
        if (focused)
            button->setFocus();
        button->setState(pressed);
        QCOMPARE(button->isFocused(), focused);
        const QImage image = render();
        const int shift = focused ? 1 : 0;
        const int top = 10 + (pressed ? 1 : 0);
        const QColor black(Qt::black);
        // Rows 5, 3 and 1 pixels long from x 89, 90, 91.
        for (int row = 0; row < 3; ++row) {
            const int first = 89 + row - shift, last = 93 - row - shift;
            for (int x = first; x <= last; ++x)
                QCOMPARE(image.pixelColor(x, top + row), black);
            QVERIFY(image.pixelColor(first - 1, top + row) != black);
            QVERIFY(image.pixelColor(last + 1, top + row) != black);
        }
        QVERIFY(image.pixelColor(91 - shift, top + 3) != black);
        QVERIFY(image.pixelColor(91 - shift, top - 1) != black);
        // The separator: shadow at x 85, white at x 86, rows 4 to 19.
        const QColor shadow = QColor(button->palette().color(QPalette::Dark).rgb());
        // Focused in the classic look, the focus outline of the layout area runs along x 85, over
        // the white line that has moved there.
        const QColor light = focused && !themed ? black : QColor(Qt::white);
        for (int y : {4, 12, 19}) {
            QCOMPARE(image.pixelColor(85 - shift, y), shadow);
            QCOMPARE(image.pixelColor(86 - shift, y), light);
        }
        QVERIFY(image.pixelColor(85 - shift, 20) != shadow);
        QVERIFY(image.pixelColor(85 - shift, 3) != shadow);
    }

    void layoutAreaIsNarrower()
    {
        QCOMPARE(button->_GetClientRect(), QSize(86, 24));
        button->setCaptionPos(CaptionPos::RIGHT);
        QImage scratch(4, 4, QImage::Format_ARGB32);
        QPainter painter(&scratch);
        painter.setFont(button->font());
        QCOMPARE(button->_CalcTextRect(painter).right, 86 - 8);
    }

    void clickOnTheArrowIsTheButtonsClick()
    {
        int calls = 0;
        owner->namedCommands().add(QStringLiteral("PBSEC"), [&calls] { ++calls; });
        QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(92, 12));
        QCOMPARE(calls, 1);
    }

    void treeInsertions()
    {
        JOVTREEVIEW tree;
        QVERIFY(tree.AddItem(QString(), QStringLiteral("ROOT"), QStringLiteral("Kök")));
        QVERIFY(tree.AddItem(QStringLiteral("ROOT"), QStringLiteral("B"), QStringLiteral("b"), true));
        QVERIFY(tree.AddItem(QStringLiteral("ROOT"), QStringLiteral("D"), QStringLiteral("d")));
        QVERIFY(tree.InsertItem(QStringLiteral("ROOT"), QStringLiteral("FIRST"), QStringLiteral("A"), QStringLiteral("a")));
        QVERIFY(tree.InsertItem(QStringLiteral("ROOT"), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("c")));
        QTreeWidgetItem *root = tree.itemByName(QStringLiteral("ROOT"));
        QVERIFY(root);
        QStringList order;
        for (int i = 0; i < root->childCount(); ++i)
            order << root->child(i)->text(0);
        QCOMPARE(order, (QStringList{"a", "b", "c", "d"}));
        // A leaf marked as having children shows its expand button; the others stay plain leaves.
        QCOMPARE(tree.itemByName(QStringLiteral("B"))->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);
        QCOMPARE(tree.itemByName(QStringLiteral("D"))->childIndicatorPolicy(), QTreeWidgetItem::DontShowIndicatorWhenChildless);
        QCOMPARE(tree.itemByName(QStringLiteral("B"))->childCount(), 0);
        // Refused: unknown parent, unknown sibling, a sibling under another parent, a name taken.
        QVERIFY(!tree.AddItem(QStringLiteral("NONE"), QStringLiteral("E"), QStringLiteral("e"), true));
        QVERIFY(!tree.InsertItem(QStringLiteral("ROOT"), QStringLiteral("NONE"), QStringLiteral("E"), QStringLiteral("e")));
        QVERIFY(!tree.InsertItem(QString(), QStringLiteral("B"), QStringLiteral("E"), QStringLiteral("e")));
        QVERIFY(!tree.AddItem(QString(), QStringLiteral("A"), QStringLiteral("again")));
        QVERIFY(!tree.itemByName(QStringLiteral("E")));
        QCOMPARE(root->childCount(), 4);
    }
};

QTEST_MAIN(TestDropDownButton)
#include "tst_dropdown_button.moc"
