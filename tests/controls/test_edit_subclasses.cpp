#include "controls/cancel_owner.h"
#include "controls/control_extensions.h"
#include "controls/edit_subclasses.h"

#include <QAction>
#include <QDialog>
#include <QGroupBox>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

using namespace vexo;

namespace {

// A dialog with its own cancel handler, as every dialog that uses the fields has.
class CancellingDialog : public QDialog, public CancelOwner
{
public:
    void PBIPTAL() override
    {
        ++cancels;
        reject();
    }
    int cancels = 0;
};

TEST(EditSubclasses, EscapeRunsTheOwnersCancelHandler)
{
    CancellingDialog dialog;
    auto *group = new QGroupBox(&dialog); // the owner need not be the direct parent
    auto *field = new QVSLE(group);
    QSignalSpy rejected(&dialog, &QDialog::rejected);
    dialog.show();
    field->setFocus();

    QTest::keyClick(field, Qt::Key_Escape);
    EXPECT_EQ(dialog.cancels, 1);
    EXPECT_EQ(rejected.count(), 1); // through the handler only, not a second time by the dialog

    QTest::keyClicks(field, QStringLiteral("abc"));
    EXPECT_EQ(field->text(), QStringLiteral("abc"));
    EXPECT_EQ(dialog.cancels, 1);
}

TEST(EditSubclasses, EveryKindPassesEscapeToTheOwner)
{
    CancellingDialog dialog;
    auto *layout = new QVBoxLayout(&dialog);
    QLineEdit *fields[] = {new QVSLE, new QVNSLE, new MYSLE};
    for (QLineEdit *f : fields)
        layout->addWidget(f);
    for (QLineEdit *f : fields)
        QTest::keyClick(f, Qt::Key_Escape);
    EXPECT_EQ(dialog.cancels, 3);
}

TEST(EditSubclasses, EscapeBeatsAWindowShortcut)
{
    CancellingDialog dialog;
    auto *field = new QVSLE(&dialog);
    auto *action = new QAction(&dialog);
    action->setShortcut(QKeySequence(Qt::Key_Escape));
    dialog.addAction(action);
    QSignalSpy triggered(action, &QAction::triggered);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    dialog.activateWindow();
    field->setFocus();
    QTest::keyClick(field, Qt::Key_Escape);
    EXPECT_EQ(dialog.cancels, 1);
    EXPECT_EQ(triggered.count(), 0);
}

TEST(EditSubclasses, WithoutACancelHandlerEscapeIsTheDialogs)
{
    QDialog dialog;
    auto *field = new QVSLE(&dialog);
    QSignalSpy rejected(&dialog, &QDialog::rejected);
    dialog.show();
    QTest::keyClick(field, Qt::Key_Escape);
    EXPECT_EQ(rejected.count(), 1);
}

TEST(EditSubclasses, TextAndValueTogether)
{
    QVSLE field;
    field.setCURRENTTEXT(QStringLiteral("Ankara Yem"));
    EXPECT_EQ(field.text(), QStringLiteral("Ankara Yem"));
    EXPECT_EQ(field.VALUE(), QStringLiteral("Ankara Yem"));
}

TEST(EditSubclasses, NumberFieldKeepsOnlyNumberCharacters)
{
    const std::pair<const char *, const char *> cases[] = {
        {"12,5 kg", "12,5"}, {"-3", "3"}, {"  1.250,75 TL ", "1.250,75"}, {"kg", ""}, {"", ""},
    };
    QVNSLE field;
    for (const auto &[typed, kept] : cases) {
        field.setCURRENTTEXT(QString::fromUtf8(typed));
        EXPECT_EQ(field.text(), QString::fromUtf8(kept)) << typed;
        EXPECT_EQ(field.VALUE(), QString::fromUtf8(kept)) << typed;
    }
}

TEST(EditSubclasses, CaretPositionOfTheLastKey)
{
    MYSLE field;
    EXPECT_EQ(field.CURSORPOSITION(), 0u);
    field.setText(QStringLiteral("abcdefgh"));
    field.setCursorPosition(4);
    QTest::keyClick(&field, Qt::Key_Right); // recorded before the key moves the caret
    EXPECT_EQ(field.CURSORPOSITION(), 4u);
    EXPECT_EQ(field.cursorPosition(), 5);
    QTest::keyClick(&field, Qt::Key_Home);
    EXPECT_EQ(field.CURSORPOSITION(), 5u);

    field.setCursorPosition(6);
    EXPECT_EQ(field.setCURSORPOSITION(0), 0);
    EXPECT_EQ(field.cursorPosition(), 0);
    EXPECT_EQ(field.setCURSORPOSITION(100), 8); // the caret stops at the end
    EXPECT_EQ(field.CURSORPOSITION(), 100u);
}

TEST(ControlExtensions, ComboEscapeWithTheListClosedCancels)
{
    CancellingDialog dialog;
    auto *combo = new QVCOMBOBOX(&dialog);
    combo->addItems({QStringLiteral("YMPRICE"), QStringLiteral("YMFIX")});
    dialog.show();
    QTest::keyClick(combo, Qt::Key_Escape);
    EXPECT_EQ(dialog.cancels, 1);
    QTest::keyClick(combo, Qt::Key_Down);
    EXPECT_EQ(combo->currentIndex(), 1);
}

} // namespace
