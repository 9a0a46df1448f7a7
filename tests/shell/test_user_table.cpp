#include "platform/dbf_table.h"
#include "shell/user_table.h"
#include "shell_fixture.h"

#include <QFile>
#include <QFileInfo>

#include <filesystem>

using namespace vexo;

namespace {

class UserTableTest : public test::ProgramFolderTest
{
protected:
    // Users written straight into the table, as the password dialog would write them.
    void addUsers(const QList<QPair<QString, QString>> &users)
    {
        ASSERT_TRUE(KONTPWDBF());
        KSERVER table;
        ASSERT_FALSE(table.status());
        for (const auto &u : users) {
            ASSERT_TRUE(table.append());
            table.KULL_ID(u.first);
            table.PASSWORD(u.second);
        }
        table.commit();
    }
    QList<QPair<QString, QString>> records()
    {
        QList<QPair<QString, QString>> out;
        DbfTable t(userTablePath(), true, true);
        for (t.goTop(); !t.eof(); t.skip(1))
            out.append({t.fieldGet("KULL_ID").toString().trimmed(), t.fieldGet("PASSWORD").toString().trimmed()});
        return out;
    }
    // One attempt of a fresh session; LOGONOK and LOGONID afterwards.
    LogonSession logOn(const QString &name, const QString &password)
    {
        LogonSession s;
        s.NTRIES = 3;
        s.attempt(nullptr, name, password);
        return s;
    }
};

TEST_F(UserTableTest, AFreshStartCreatesExactlyTheDefaultAccountReadableByItsOwnerOnly)
{
    EXPECT_TRUE(KONTPWDBF());
    EXPECT_TRUE(m_messages.shown().isEmpty());
    ASSERT_TRUE(QFileInfo::exists(inProgram("KULLANICIID.DBF")));
    ASSERT_TRUE(QFileInfo::exists(inProgram("KULLIDX.CDX")));
    namespace fs = std::filesystem;
    for (const char *file : {"KULLANICIID.DBF", "KULLIDX.CDX"}) {
        const fs::perms perms = fs::status(inProgram(file).toStdString()).permissions();
        EXPECT_EQ(perms, fs::perms::owner_read | fs::perms::owner_write) << file;
    }
    EXPECT_EQ(records(), (QList<QPair<QString, QString>>{{"PLNV", "KV47"}}));

    {
        DbfTable t(userTablePath(), true, true);
        ASSERT_EQ(t.fCount(), 2);
        EXPECT_EQ(t.dbStruct().at(0), (DbfField{"KULL_ID", u'C', 20, 0}));
        EXPECT_EQ(t.dbStruct().at(1), (DbfField{"PASSWORD", u'C', 20, 0}));
    }

    const LogonSession s = logOn("PLNV", "KV47");
    EXPECT_TRUE(s.LOGONOK);
    EXPECT_EQ(s.LOGONID, QStringLiteral("PLNV").leftJustified(20));

    EXPECT_TRUE(KONTPWDBF()) << "a second start changes nothing";
    EXPECT_EQ(records().size(), 1);
}

TEST_F(UserTableTest, ADeletedIndexIsRebuiltAndTheUsersKept)
{
    addUsers({{"ZEKİ", "Z1"}, {"ALİ", "A1"}});
    ASSERT_TRUE(QFile::remove(inProgram("KULLIDX.CDX")));
    EXPECT_TRUE(KONTPWDBF());
    EXPECT_TRUE(QFileInfo::exists(inProgram("KULLIDX.CDX")));
    EXPECT_EQ(records().size(), 3);
    EXPECT_TRUE(logOn("zeki", "z1").LOGONOK);
    EXPECT_TRUE(logOn("ali", "A1").LOGONOK);
    KSERVER table;
    ASSERT_EQ(table.order(), 1);
    EXPECT_EQ(table.KULL_ID().trimmed(), QStringLiteral("ALİ")) << "the index orders by name";
}

TEST_F(UserTableTest, TheLogonComparesAsTheUsersTypeIt)
{
    addUsers({{"İSMAİL", "GİZLİ"}, {"IŞIK", "ŞİFRE"}, {"ALİ", "A1"}, {"ALİCAN", "A2"}});
    struct Case
    {
        const char *name;
        const char *password;
        bool ok;
        const char *id;
    };
    const Case cases[] = {
        {"PLNV", "KV47", true, "PLNV"},
        {"PLNV", "kv47", true, "PLNV"},       // the password is upper-cased
        {"PLNV", " KV47  ", true, "PLNV"},    // and blanks around it go
        {"plnv", "KV47", true, "PLNV"},       // the name is upper-cased
        {" PLNV", "KV47", false, ""},         // but not trimmed
        {"ismail", "gizli", true, "İSMAİL"},  // i becomes İ
        {"ışık", "şifre", true, "IŞIK"},      // ı becomes I
        {"isik", "şifre", false, ""},
        {"PL", "KV47", true, "PLNV"},         // a name's beginning finds it
        {"AL", "A1", true, "ALİ"},            // the first in index order
        {"AL", "A2", false, ""},
        {"PLNV", "KV4", false, ""},
        {"NOBODY", "KV47", false, ""},
        {"", "A1", false, ""},                // no name finds nobody, not even the first user
        {"   ", "A1", false, ""},
    };
    {
        // The empty-name rows mean something only while the first user in index order has their
        // password: an empty name that matched everything would find that user.
        KSERVER table;
        ASSERT_EQ(table.KULL_ID().trimmed(), QStringLiteral("ALİ"));
        ASSERT_EQ(table.PASSWORD().trimmed(), QStringLiteral("A1"));
    }
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.name) + " / " + c.password);
        const LogonSession s = logOn(QString::fromUtf8(c.name), QString::fromUtf8(c.password));
        EXPECT_EQ(s.LOGONOK, c.ok);
        if (c.ok) {
            EXPECT_EQ(s.LOGONID, QString::fromUtf8(c.id).leftJustified(20));
        }
    }
}

TEST_F(UserTableTest, ThreeFailuresEndTheLogonAfterTwoMessages)
{
    ASSERT_TRUE(KONTPWDBF());
    LogonSession s;
    EXPECT_EQ(s.attempt(nullptr, "PLNV", "wrong"), LogonSession::Step::TryAgain);
    EXPECT_EQ(s.NTRIES, 2);
    EXPECT_EQ(s.attempt(nullptr, "", "KV47"), LogonSession::Step::TryAgain) << "an empty name counts silently";
    EXPECT_EQ(s.attempt(nullptr, "PLNV", "nope"), LogonSession::Step::Finished);
    EXPECT_FALSE(s.LOGONOK);
    EXPECT_EQ(texts(), QStringList({"Geçersiz giriş teşebbüsü!"}));
    EXPECT_EQ(m_messages.shown().at(0).caption, QStringLiteral("Hata..."));

    LogonSession second;
    second.attempt(nullptr, "A", "x");
    second.attempt(nullptr, "B", "y");
    EXPECT_EQ(second.attempt(nullptr, "PLNV", "kv47"), LogonSession::Step::Finished);
    EXPECT_TRUE(second.LOGONOK) << "the third attempt may still succeed";
}

TEST_F(UserTableTest, AUserTableThatCannotBeOpenedFailsTheAttemptWithAMessage)
{
    ASSERT_TRUE(KONTPWDBF());
    DbfTable holder(userTablePath(), false, false); // another process has it
    ASSERT_TRUE(holder.isOpen());
    LogonSession s;
    EXPECT_EQ(s.attempt(nullptr, "PLNV", "KV47"), LogonSession::Step::TryAgain);
    EXPECT_FALSE(s.LOGONOK);
    ASSERT_EQ(m_messages.shown().size(), 1);
    EXPECT_EQ(m_messages.shown().at(0).caption, QStringLiteral("Hata..."));
    EXPECT_TRUE(m_messages.shown().at(0).text.startsWith(QStringLiteral("Koruma dosyası açılamadı... :")));
    holder.close();
    EXPECT_EQ(s.attempt(nullptr, "PLNV", "KV47"), LogonSession::Step::Finished);
    EXPECT_TRUE(s.LOGONOK);

    ASSERT_TRUE(QFile::remove(userTablePath()));
    LogonSession missing;
    EXPECT_EQ(missing.attempt(nullptr, "PLNV", "KV47"), LogonSession::Step::TryAgain);
    EXPECT_EQ(m_messages.shown().size(), 2);
}

TEST_F(UserTableTest, FailuresToCreateAreReportedAndAnsweredFalse)
{
    appGlobals().CPROGDIZIN = m_dir.filePath("NoSuchFolder");
    EXPECT_FALSE(KONTPWDBF());
    ASSERT_EQ(texts(), QStringList({"Koruma dosyası oluşturma başarısız..."}));
    EXPECT_EQ(m_messages.shown().at(0).caption, QStringLiteral("Hata..."));

    m_messages.clear();
    appGlobals().CPROGDIZIN.clear();
    QDir::setCurrent(m_program);
    EXPECT_FALSE(KONTPWDBF());
    EXPECT_FALSE(CREAPWDBF());
    LogonSession nowhere;
    nowhere.attempt(nullptr, "PLNV", "KV47");
    EXPECT_FALSE(nowhere.LOGONOK);
    EXPECT_TRUE(QDir(m_program).isEmpty()) << "nothing lands in the current folder";

    m_messages.clear();
    appGlobals().CPROGDIZIN = m_program;
    ASSERT_TRUE(KONTPWDBF());
    ASSERT_TRUE(QFile::remove(inProgram("KULLIDX.CDX")));
    DbfTable holder(userTablePath(), true, true);
    EXPECT_FALSE(KONTPWDBF());
    ASSERT_EQ(m_messages.shown().size(), 1);
    EXPECT_TRUE(m_messages.shown().at(0).text.startsWith(QStringLiteral("Koruma dosyası açma başarısız... :")));
}

} // namespace
