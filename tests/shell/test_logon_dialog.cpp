#include "controls/balloon_tip.h"
#include "controls/edit_subclasses.h"
#include "shell/logon_dialog.h"
#include "shell/user_table.h"
#include "shell_fixture.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace vexo;

namespace {

class LogonDialogTest : public test::ProgramFolderTest
{
protected:
    void SetUp() override
    {
        ProgramFolderTest::SetUp();
        ASSERT_TRUE(KONTPWDBF());
    }
    void type(LOGONDIALOG &d, const char *name, const char *password)
    {
        d.nameField()->setText(QString::fromUtf8(name));
        d.passwordField()->setText(QString::fromUtf8(password));
        d.okButton()->click();
    }
};

TEST_F(LogonDialogTest, HasItsCaptionAndFields)
{
    LOGONDIALOG d(nullptr);
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Giriş"));
    EXPECT_EQ(LOGONDIALOG(nullptr, "Başka").windowTitle(), QStringLiteral("Başka"));
    EXPECT_EQ(d.passwordField()->echoMode(), QLineEdit::Password);
    EXPECT_EQ(d.okButton()->toolTip(), QStringLiteral("Tamam"));
    EXPECT_EQ(d.cancelButton()->toolTip(), QStringLiteral("İptal"));
    EXPECT_FALSE(d.LOGONOK());
    EXPECT_EQ(d.NTRIES(), 1);
}

TEST_F(LogonDialogTest, TheRightNameAndPasswordLogOn)
{
    LOGONDIALOG d(nullptr);
    d.show();
    QTest::keyClicks(d.passwordField(), "kv47");
    EXPECT_EQ(d.passwordField()->text(), QStringLiteral("KV47")) << "letters become capitals as typed";
    d.nameField()->setText("plnv");
    d.okButton()->click();
    EXPECT_EQ(d.result(), 1);
    EXPECT_TRUE(d.LOGONOK());
    EXPECT_EQ(d.LOGONID(), QStringLiteral("PLNV").leftJustified(20));
}

TEST_F(LogonDialogTest, ThreeWrongAttemptsCloseTheDialogRefused)
{
    LOGONDIALOG d(nullptr);
    d.show();
    type(d, "PLNV", "X");
    EXPECT_TRUE(d.isVisible());
    EXPECT_TRUE(d.nameField()->text().isEmpty()) << "both fields are emptied for the next attempt";
    EXPECT_TRUE(d.passwordField()->text().isEmpty());
    type(d, "PLNV", "Y");
    type(d, "PLNV", "Z");
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(d.result(), 1);
    EXPECT_FALSE(d.LOGONOK());
    EXPECT_EQ(texts(), QStringList({"Geçersiz giriş teşebbüsü!", "Geçersiz giriş teşebbüsü!"}));
}

TEST_F(LogonDialogTest, EscapeInEitherFieldCancels)
{
    for (int field = 0; field < 2; ++field) {
        LOGONDIALOG d(nullptr);
        d.show();
        d.nameField()->setText("PLNV");
        d.passwordField()->setText("KV47");
        QTest::keyClick(field == 0 ? d.nameField() : static_cast<QWidget *>(d.passwordField()), Qt::Key_Escape);
        EXPECT_FALSE(d.isVisible());
        EXPECT_EQ(d.result(), 0);
        EXPECT_FALSE(d.LOGONOK());
        EXPECT_TRUE(d.LOGONID().isEmpty());
    }
}

// The hint beside the field that has the focus, as the user sees it once the events are through: on
// the field's right, level with it, over none of the dialog's fields and buttons.
QString hintShownBeside(QWidget *field)
{
    QApplication::processEvents();
    const QLabel *balloon = visibleBalloonTip();
    if (!balloon)
        return {};
    const QRect at = QRect(field->mapToGlobal(QPoint()), field->size());
    EXPECT_GT(balloon->geometry().left(), at.right());
    EXPECT_LE(balloon->geometry().top(), at.bottom());
    EXPECT_GE(balloon->geometry().bottom(), at.top());
    for (const QWidget *other : field->window()->findChildren<QWidget *>()) {
        if (other->isVisible() && other->focusPolicy() != Qt::NoFocus) {
            EXPECT_FALSE(balloon->geometry().intersects(QRect(other->mapToGlobal(QPoint()), other->size())))
                << other->metaObject()->className();
        }
    }
    return balloon->text();
}

TEST_F(LogonDialogTest, HintsStayVisibleAfterTheFocusMoves)
{
    LOGONDIALOG d(nullptr);
    d.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
    d.nameField()->setFocus();
    EXPECT_EQ(hintShownBeside(d.nameField()), QStringLiteral("Kullanıcı adını giriniz!"));
    QTest::keyClicks(d.nameField(), "PLNV");
    EXPECT_EQ(visibleBalloonTip(), nullptr) << "typing takes the hint away";

    // Tab: the key's release reaches the password field after the hint appeared there.
    QTest::keyPress(d.nameField(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), d.passwordField());
    QTest::keyRelease(d.passwordField(), Qt::Key_Tab);
    EXPECT_EQ(hintShownBeside(d.passwordField()), QStringLiteral("Parolayı giriniz!"));

    // A click into a field gives it the focus and its hint; the click does not take it away.
    QTest::mouseClick(d.nameField(), Qt::LeftButton);
    EXPECT_EQ(hintShownBeside(d.nameField()), QStringLiteral("Kullanıcı adını giriniz!"));
    QTest::mouseClick(d.passwordField(), Qt::LeftButton);
    EXPECT_EQ(hintShownBeside(d.passwordField()), QStringLiteral("Parolayı giriniz!"));

    // With the name empty the password field sends the focus back, and the hint with it.
    d.nameField()->clear();
    d.nameField()->setFocus();
    QTest::mouseClick(d.passwordField(), Qt::LeftButton);
    EXPECT_EQ(hintShownBeside(d.nameField()), QStringLiteral("Kullanıcı adını giriniz!"));
    EXPECT_EQ(QApplication::focusWidget(), d.nameField());

    d.PBIPTAL();
    QApplication::processEvents();
    EXPECT_EQ(visibleBalloonTip(), nullptr) << "the hint goes with its dialog";
}

TEST_F(LogonDialogTest, StartUpsLogonAnswersTheStoredNameOrNothing)
{
    QTimer::singleShot(0, [] {
        auto *d = qobject_cast<LOGONDIALOG *>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        d->nameField()->setText("pl");
        d->passwordField()->setText("KV47");
        d->PBTAMAM();
    });
    EXPECT_EQ(runLogonDialog(nullptr), QStringLiteral("PLNV").leftJustified(20));

    QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
    EXPECT_EQ(runLogonDialog(nullptr), std::nullopt);
}

} // namespace
