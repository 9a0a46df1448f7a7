#include "controls/balloon_tip.h"
#include "controls/edit_subclasses.h"
#include "platform/dbf_table.h"
#include "shell/password_dialog.h"
#include "shell/user_table.h"
#include "shell_fixture.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace vexo;

namespace {

using Check = NewPasswordSession::Check;
using Users = QList<QPair<QString, QString>>;

class PasswordDialogTest : public test::ProgramFolderTest
{
protected:
    void SetUp() override
    {
        ProgramFolderTest::SetUp();
        ASSERT_TRUE(KONTPWDBF());
        KSERVER table;
        for (const auto &u : Users{{"ALİ", "A1"}, {"VELİ", "V1"}}) {
            ASSERT_TRUE(table.append());
            table.KULL_ID(u.first);
            table.PASSWORD(u.second);
        }
        table.commit();
    }
    Users records()
    {
        Users out;
        DbfTable t(userTablePath(), true, true);
        for (t.goTop(); !t.eof(); t.skip(1))
            out.append({t.fieldGet("KULL_ID").toString(), t.fieldGet("PASSWORD").toString()});
        return out;
    }
    static QString padded(const char *text) { return QString::fromUtf8(text).leftJustified(20); }
    const Users m_start = {{padded("PLNV"), padded("KV47")}, {padded("ALİ"), padded("A1")}, {padded("VELİ"), padded("V1")}};
};

TEST_F(PasswordDialogTest, ChangingReplacesTheLoggedOnUsersNameAndPassword)
{
    {
        NewPasswordSession s(padded("PLNV"), false);
        ASSERT_TRUE(s.userFound());
        EXPECT_TRUE(s.currentPasswordMatches("kv47"));
        EXPECT_EQ(s.commit(nullptr, " kv47", "yeni", "YENİ", "ahmet"), Check::Written);
    }
    EXPECT_EQ(records().at(0), qMakePair(padded("AHMET"), padded("YENİ")));
    EXPECT_TRUE(m_messages.shown().isEmpty());

    LogonSession logon;
    logon.NTRIES = 3;
    logon.attempt(nullptr, "PLNV", "KV47");
    EXPECT_FALSE(logon.LOGONOK) << "the old name and password are gone";
    logon.attempt(nullptr, "ahmet", "yeni");
    EXPECT_TRUE(logon.LOGONOK);
}

TEST_F(PasswordDialogTest, TheChecksRunInOrderAndWriteNothingUntilAllPass)
{
    struct Case
    {
        const char *current, *newPassword, *retyped, *name;
        Check expected;
    };
    const Case cases[] = {
        {"KV4", "N", "N", "X", Check::CurrentPassword},
        {"", "", "", "", Check::CurrentPassword},
        {"KV47", "", "", "X", Check::NewPassword},
        {"KV47", "N1", "N2", "X", Check::Retype},
        {"KV47", "n1", "N1 ", "X", Check::Retype}, // compared untrimmed
        {"KV47", "N1", "n1", "", Check::NewName},
        {"KV47", "N1", "N1", "   ", Check::NewName},
    };
    NewPasswordSession s(padded("PLNV"), true);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.current + std::string("/") + c.newPassword + "/" + c.retyped + "/" + c.name);
        EXPECT_EQ(s.commit(nullptr, c.current, c.newPassword, c.retyped, c.name), c.expected);
    }
    EXPECT_TRUE(m_messages.shown().isEmpty());
    s.close();
    EXPECT_EQ(records(), m_start);
}

TEST_F(PasswordDialogTest, AddingRefusesATakenNameOrItsBeginningAndAcceptsALongerOne)
{
    NewPasswordSession s(padded("PLNV"), true);
    for (const char *name : {"plnv", "PL", "ali", "VEL"}) {
        SCOPED_TRACE(name);
        m_messages.clear();
        EXPECT_EQ(s.commit(nullptr, "KV47", "P", "P", name), Check::NameTaken);
        ASSERT_EQ(m_messages.shown().size(), 1);
        EXPECT_EQ(m_messages.shown().at(0).caption, QStringLiteral("Uyarı..."));
        EXPECT_EQ(m_messages.shown().at(0).text, QStringLiteral("Aynı isimde bir kullanıcı var!"));
        EXPECT_EQ(m_messages.shown().at(0).icon(), unsigned(MB_ICONINFORMATION));
    }
    EXPECT_EQ(s.commit(nullptr, "KV47", "yeni", "yeni", "plnvx"), Check::Written);
    Users expected = m_start;
    expected.append({padded("PLNVX"), padded("YENİ")});
    EXPECT_EQ(records(), expected);
}

TEST_F(PasswordDialogTest, RenamingToAnotherUsersNameIsRefusedButKeepingOnesOwnIsNot)
{
    {
        NewPasswordSession s(padded("ALİ"), false);
        EXPECT_EQ(s.commit(nullptr, "a1", "x", "x", "veli"), Check::NameTaken);
        EXPECT_EQ(s.commit(nullptr, "a1", "x", "x", "PLNV"), Check::NameTaken);
        s.close();
        EXPECT_EQ(records(), m_start);
    }
    NewPasswordSession s(padded("ALİ"), false);
    EXPECT_EQ(s.commit(nullptr, "a1", "x", "x", "ali"), Check::Written);
    EXPECT_EQ(records().at(1), qMakePair(padded("ALİ"), padded("X")));
}

TEST_F(PasswordDialogTest, WithoutTheLoggedOnUsersRecordNothingIsWritten)
{
    for (const char *user : {"", "   ", "NOBODY", "AL"}) {
        SCOPED_TRACE(user);
        m_messages.clear();
        NewPasswordSession s(QString::fromUtf8(user), false);
        EXPECT_FALSE(s.userFound());
        EXPECT_FALSE(s.currentPasswordMatches(""));
        EXPECT_FALSE(s.currentPasswordMatches("KV47"));
        EXPECT_EQ(s.commit(nullptr, "KV47", "N", "N", "NEW"), Check::UserNotFound);
        EXPECT_EQ(m_messages.shown().size(), 1);
        NewPasswordSession add(QString::fromUtf8(user), true);
        EXPECT_EQ(add.commit(nullptr, "", "N", "N", "NEW"), Check::UserNotFound);
    }
    EXPECT_EQ(records(), m_start);
}

TEST_F(PasswordDialogTest, TheDialogHoldsTheTableAndCancelWritesNothing)
{
    shellGlobals().CAKTIFKULLANICI = padded("PLNV");
    NEWPASSWORDDIALOG dialog(nullptr, "Yeni Kullanıcı Ekle", true);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Yeni Kullanıcı Ekle"));
    EXPECT_FALSE(dialog.lockOpen());
    {
        DbfTable other(userTablePath(), true, true);
        EXPECT_FALSE(other.isOpen()) << "the dialog holds the table exclusively";
    }
    dialog.show();
    QTest::keyClicks(dialog.currentPasswordField(), "kv4");
    EXPECT_FALSE(dialog.lockOpen());
    QTest::keyClicks(dialog.currentPasswordField(), "7");
    EXPECT_TRUE(dialog.lockOpen()) << "the lock opens with the last character";
    QTest::keyClicks(dialog.newPasswordField(), "gizli");
    EXPECT_EQ(dialog.newPasswordField()->text(), QStringLiteral("GİZLİ")) << "forced to capitals as typed";
    QTest::keyClick(dialog.newPasswordField(), Qt::Key_Escape);
    EXPECT_EQ(dialog.result(), 0);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(records(), m_start);
    DbfTable after(userTablePath(), false, false);
    EXPECT_TRUE(after.isOpen()) << "cancel closed the table";
}

TEST_F(PasswordDialogTest, TheDialogsOkAddsTheUser)
{
    shellGlobals().CAKTIFKULLANICI = padded("PLNV");
    NEWPASSWORDDIALOG dialog(nullptr, "Yeni Kullanıcı Ekle", true);
    dialog.show();
    dialog.currentPasswordField()->setText("KV47");
    dialog.newPasswordField()->setText("S3");
    dialog.retypePasswordField()->setText("S3");
    dialog.newUserField()->setText("selin");
    dialog.okButton()->click();
    EXPECT_EQ(dialog.result(), 1);
    EXPECT_EQ(records().last(), qMakePair(padded("SELİN"), padded("S3")));
}

TEST_F(PasswordDialogTest, FieldsAreFilledInOrderOnceTheLockIsOpen)
{
    shellGlobals().CAKTIFKULLANICI = padded("PLNV");
    NEWPASSWORDDIALOG dialog(nullptr, "Ad ve Parola Değiştir", false);
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    dialog.currentPasswordField()->setFocus();
    QTest::keyClicks(dialog.currentPasswordField(), "yanlis");
    dialog.retypePasswordField()->setFocus();
    QTest::qWait(20);
    EXPECT_EQ(QApplication::focusWidget(), dialog.currentPasswordField()) << "back to the current password";
    EXPECT_TRUE(dialog.currentPasswordField()->text().isEmpty()) << "which empties every field";
    EXPECT_FALSE(dialog.lockOpen());

    QTest::keyClicks(dialog.currentPasswordField(), "kv47");
    EXPECT_TRUE(dialog.lockOpen());
    QTest::qWait(20);
    EXPECT_EQ(QApplication::focusWidget(), dialog.newPasswordField()) << "the focus jumps on";
    dialog.newUserField()->setFocus();
    QTest::qWait(20);
    EXPECT_EQ(QApplication::focusWidget(), dialog.newPasswordField()) << "the retyped password is still missing";
}

TEST_F(PasswordDialogTest, EachFieldsHintShowsWhenTheFocusReachesIt)
{
    shellGlobals().CAKTIFKULLANICI = padded("PLNV");
    NEWPASSWORDDIALOG dialog(nullptr, "Ad ve Parola Değiştir", false);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    auto hint = [] {
        QTest::qWait(20); // the focus moves the dialog sends on are queued
        const QLabel *balloon = visibleBalloonTip();
        return balloon ? balloon->text() : QString();
    };
    dialog.currentPasswordField()->setFocus();
    EXPECT_EQ(hint(), QStringLiteral("Mevcut parolayı giriniz!"));
    QTest::keyClicks(dialog.currentPasswordField(), "KV47"); // the lock opens, the focus jumps on
    EXPECT_EQ(hint(), QStringLiteral("Yeni parolayı giriniz!"));
    QTest::keyClicks(dialog.newPasswordField(), "N");
    QTest::keyClick(dialog.newPasswordField(), Qt::Key_Tab);
    EXPECT_EQ(hint(), QStringLiteral("Yeni parolayı tekrar giriniz!"));
    QTest::keyClicks(dialog.retypePasswordField(), "N");
    QTest::mouseClick(dialog.newUserField(), Qt::LeftButton);
    EXPECT_EQ(QApplication::focusWidget(), dialog.newUserField());
    EXPECT_EQ(hint(), QStringLiteral("Yeni kullanıcı adı giriniz!"));
}

} // namespace
