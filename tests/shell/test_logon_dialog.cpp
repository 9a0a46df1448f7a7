#include "controls/edit_subclasses.h"
#include "shell/logon_dialog.h"
#include "shell/user_table.h"
#include "shell_fixture.h"

#include <QApplication>
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
