#include "platform/dbf_filespec.h"
#include "platform/dbf_table.h"
#include "problem/system_queries.h"
#include "shell/settings_store.h"
#include "shell/tip_of_the_day.h"
#include "shell_fixture.h"

#include <QFile>
#include <QFileInfo>

using namespace vexo;

namespace {

class SettingsStoreTest : public test::ProgramFolderTest
{
protected:
    void TearDown() override
    {
        setSettingsFileEraser({});
        ProgramFolderTest::TearDown();
    }
    QString storePath() const { return inProgram(QStringLiteral("VEXO_Rir26.VSF")); }
    std::unique_ptr<REGFREECONTROL> open()
    {
        return std::make_unique<REGFREECONTROL>(m_program, kSettingsStoreName, kSettingsStoreKey);
    }
    // The raw field as the file holds it, padding included.
    QString raw(const QString &field)
    {
        DbfTable t(storePath(), true, true);
        t.goTop();
        return t.fieldGet(field).toString();
    }
};

TEST_F(SettingsStoreTest, AFirstOpeningCreatesTheNineFieldsAndOneBlankRecord)
{
    {
        auto store = open();
        ASSERT_EQ(store->RESULT(), 1);
        for (const auto &pair : store->GETVTABLE())
            EXPECT_TRUE(pair.second.isEmpty()) << pair.first.toStdString();
    }
    EXPECT_TRUE(m_messages.shown().isEmpty());
    DbfTable t(storePath(), true, true);
    ASSERT_TRUE(t.isOpen());
    EXPECT_EQ(t.lastRec(), 1u);
    const DbfStructure expected = {
        {"VKpath", u'C', 100, 0}, {"VKlstrt", u'C', 1, 0}, {"VKlatip", u'C', 2, 0},
        {"VKldlg", u'C', 1, 0},   {"VKlogo", u'C', 1, 0},  {"VKrmdo", u'C', 1, 0},
        {"VKScrPos", u'C', 20, 0}, {"VKkvtt", u'C', 1, 0}, {"VKtpdf", u'C', 1, 0},
    };
    ASSERT_EQ(t.fCount(), 9);
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(t.dbStruct().at(i).name.toUpper(), expected.at(i).name.toUpper());
        EXPECT_EQ(t.dbStruct().at(i).width, expected.at(i).width);
    }
}

TEST_F(SettingsStoreTest, ValuesAreTrimmedCutToTheirWidthAndKeptAcrossOpenings)
{
    {
        auto store = open();
        store->PUTSTR("VKlstrt", "1");
        store->PUTSTR("vkscrpos", "1234567890123456789012345"); // names are found without case
        store->PUTSTR("VKlatip", lastTipSettingText(7));
        store->PUTSTR("NoSuchField", "x");
        store->KAPAT();
    }
    EXPECT_EQ(raw("VKlatip"), QStringLiteral(" 7"));
    auto store = open();
    EXPECT_EQ(store->GETSTR("VKlstrt"), QStringLiteral("1"));
    EXPECT_EQ(store->GETSTR("VKScrPos"), QStringLiteral("12345678901234567890"));
    EXPECT_EQ(lastTipFromSetting(store->GETSTR("VKlatip")), 7);
    EXPECT_EQ(store->GETSTR("VKldlg"), QString());
    EXPECT_EQ(store->GETSTR("NoSuchField"), QString());
    store->PUTSTR("VKlatip", lastTipSettingText(44));
    EXPECT_EQ(lastTipFromSetting(store->GETSTR("VKlatip")), 44);
    EXPECT_EQ(store->GETSTRS({"VKlstrt", "VKlogo", "VKlatip"}), QStringList({"1", "", "44"}));
    store->PUTSTRS({"VKlogo", "VKrmdo"}, {"0", "1"}, {false, false});
    EXPECT_EQ(store->GETSTR("VKrmdo"), QStringLiteral("1"));
}

TEST_F(SettingsStoreTest, AScrambledValueIsStoredScrambledWithTheStoreKey)
{
    auto store = open();
    store->PUTSTR("VKScrPos", "10,20,30,40", true);
    const QString stored = store->GETSTR("VKScrPos");
    EXPECT_NE(stored, QStringLiteral("10,20,30,40"));
    EXPECT_EQ(CRYPTX(stored, kSettingsStoreKey, false), QStringLiteral("10,20,30,40"));
}

TEST_F(SettingsStoreTest, TheStoreIsHeldExclusivelyWhileOpen)
{
    auto store = open();
    ASSERT_EQ(store->RESULT(), 1);
    auto second = open();
    EXPECT_EQ(second->RESULT(), 0);
    ASSERT_EQ(m_messages.shown().size(), 1);
    EXPECT_EQ(m_messages.shown().at(0).caption, QStringLiteral("Hata..."));
    EXPECT_TRUE(m_messages.shown().at(0).text.startsWith(QStringLiteral("VEXO_Rir26.VSF veri dosyası açılamadı! : ")));
    store->KAPAT();
    EXPECT_EQ(open()->RESULT(), 1);
}

TEST_F(SettingsStoreTest, AStoreWithOtherFieldsIsErasedAndMadeAgain)
{
    DbfFileSpec spec(storePath());
    ASSERT_TRUE(spec.create({{"VKpath", u'C', 100, 0}, {"VKlstrt", u'C', 1, 0}}));
    {
        DbfTable t(storePath(), false, false);
        ASSERT_TRUE(t.append());
        t.fieldPut("VKlstrt", "1");
        t.commit();
    }
    auto store = open();
    ASSERT_EQ(store->RESULT(), 1);
    EXPECT_EQ(store->GETSTR("VKlstrt"), QString()) << "the old values are gone";
    EXPECT_EQ(store->GETVTABLE().size(), 9);
    EXPECT_TRUE(m_messages.shown().isEmpty());
}

TEST_F(SettingsStoreTest, AStoreThatCannotBeErasedEndsWithAMessageInsteadOfLooping)
{
    DbfFileSpec spec(storePath());
    ASSERT_TRUE(spec.create({{"VKpath", u'C', 100, 0}}));
    int erasures = 0;
    setSettingsFileEraser([&](const QString &) {
        ++erasures;
        return false;
    });
    auto store = open();
    EXPECT_EQ(store->RESULT(), 0);
    EXPECT_EQ(erasures, 1);
    ASSERT_EQ(m_messages.shown().size(), 1);
    EXPECT_EQ(m_messages.shown().at(0).caption, QStringLiteral("Hata..."));
    EXPECT_TRUE(m_messages.shown().at(0).text.startsWith(QStringLiteral("VEXO_Rir26.VSF")));
    EXPECT_EQ(store->GETSTR("VKpath"), QString());
    EXPECT_TRUE(QFileInfo::exists(storePath())) << "the file is left as it was";
}

TEST_F(SettingsStoreTest, AnEraserThatLeavesTheWrongFileStopsAfterOneRebuild)
{
    DbfFileSpec spec(storePath());
    ASSERT_TRUE(spec.create({{"VKpath", u'C', 100, 0}}));
    int erasures = 0;
    setSettingsFileEraser([&](const QString &) { return ++erasures < 100; }); // claims success, erases nothing
    auto store = open();
    EXPECT_EQ(store->RESULT(), 0);
    EXPECT_EQ(erasures, 1);
    EXPECT_EQ(m_messages.shown().size(), 1);
}

TEST_F(SettingsStoreTest, AReadOnlyStoreIsMadeWritableAndOpened)
{
    { open(); }
    ASSERT_TRUE(QFile::setPermissions(storePath(), QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    auto store = open();
    ASSERT_EQ(store->RESULT(), 1);
    store->PUTSTR("VKlogo", "1");
    store->KAPAT();
    EXPECT_TRUE(QFileInfo(storePath()).permissions() & QFileDevice::WriteOwner);
    EXPECT_EQ(raw("VKlogo"), QStringLiteral("1"));
    EXPECT_TRUE(m_messages.shown().isEmpty());
}

TEST_F(SettingsStoreTest, AStoreThatCannotBeCreatedSaysSo)
{
    auto store = std::make_unique<REGFREECONTROL>(m_dir.filePath("Missing"), kSettingsStoreName, kSettingsStoreKey);
    EXPECT_EQ(store->RESULT(), 0);
    ASSERT_EQ(texts(), QStringList({"VEXO_Rir26.VSF dosyası oluşturulamadı..."}));
}

TEST_F(SettingsStoreTest, WithoutAProgramFolderNoStoreIsMadeInTheCurrentFolder)
{
    QDir::setCurrent(m_program);
    auto store = std::make_unique<REGFREECONTROL>(QString(), kSettingsStoreName, kSettingsStoreKey);
    EXPECT_EQ(store->RESULT(), 0);
    EXPECT_EQ(texts(), QStringList({"VEXO_Rir26.VSF dosyası oluşturulamadı..."}));
    EXPECT_FALSE(QFileInfo::exists(storePath()));
    appGlobals().CPROGDIZIN.clear();
    EXPECT_FALSE(STARTUPTIPCONT(true));
    EXPECT_FALSE(QFileInfo::exists(storePath()));
}

struct WriterCase
{
    bool (*writer)(bool);
    const char *field;
    bool ShellGlobals::*global;
};

TEST_F(SettingsStoreTest, TheOptionWritersStoreOneOrZeroAndSetTheirOption)
{
    const WriterCase cases[] = {
        {STARTLOGONCONT, "VKldlg", &ShellGlobals::LACILISGIRIS},
        {STARTLOGOSHOWCONT, "VKlogo", &ShellGlobals::LACILISLOGO},
        {STARTUPTIPCONT, "VKlstrt", &ShellGlobals::LACILISTUYO},
        {ACTMATKAYCONT, "VKrmdo", nullptr},
        {RTEXTORPDF, "VKtpdf", nullptr},
    };
    for (const WriterCase &c : cases) {
        SCOPED_TRACE(c.field);
        EXPECT_TRUE(c.writer(true));
        EXPECT_EQ(readSetting(c.field), QStringLiteral("1"));
        if (c.global) {
            EXPECT_TRUE(shellGlobals().*c.global);
        }
        EXPECT_TRUE(c.writer(false));
        EXPECT_EQ(readSetting(c.field), QStringLiteral("0"));
        if (c.global) {
            EXPECT_FALSE(shellGlobals().*c.global);
        }
    }
    EXPECT_TRUE(m_messages.shown().isEmpty());
}

TEST_F(SettingsStoreTest, AWriterWithoutAStoreChangesNothing)
{
    shellGlobals().LACILISGIRIS = true;
    auto holder = open(); // the store is busy
    EXPECT_FALSE(STARTLOGONCONT(false));
    EXPECT_TRUE(shellGlobals().LACILISGIRIS);
    holder.reset();
    EXPECT_EQ(readSetting("VKldlg"), QString());
}

} // namespace
