#include "platform/special_folders.h"
#include "shell/registry.h"
#include "shell/registry_setup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vexo;

namespace {

class RegistrySetupTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        setRegistryFilePath(m_dir.filePath(QStringLiteral("registry.ini")));
        QDir(defaultProgramFolder()).removeRecursively();
        m_reg.WORKING_SUBKEY(settingsRegistryKey());
    }
    void TearDown() override
    {
        setRegistryFilePath(QString());
        QDir(defaultProgramFolder()).removeRecursively();
    }

    QString value(const char *name) { return m_reg.GETSTRING(QString(), QString::fromLatin1(name)); }

    QTemporaryDir m_dir;
    CLASS_HKLM m_reg;
};

TEST_F(RegistrySetupTest, AFreshMachineGetsAWritablePerUserProgramFolder)
{
    ASSERT_TRUE(value("VKpath").isEmpty());
    const QString folder = ensureProgramFolderRegistered();
    EXPECT_EQ(folder, configFolder() + QStringLiteral("/Program"));
    EXPECT_EQ(value("VKpath"), folder);
    const QFileInfo info(folder);
    EXPECT_TRUE(info.isDir());
    EXPECT_TRUE(info.isWritable());
    EXPECT_EQ(value("VKlstrt"), QStringLiteral("1"));
    EXPECT_EQ(value("VKlogo"), QStringLiteral("1"));
    EXPECT_EQ(value("VKldlg"), QStringLiteral("0"));
    EXPECT_TRUE(value("VKrmdo").isEmpty());
    EXPECT_TRUE(value("VKlatip").isEmpty());
    EXPECT_TRUE(value("VKkvtt").isEmpty());

    // A second start finds the installation and changes nothing.
    m_reg.WRITESTRING(QString(), QStringLiteral("VKlstrt"), QStringLiteral("0"));
    EXPECT_EQ(ensureProgramFolderRegistered(), folder);
    EXPECT_EQ(value("VKlstrt"), QStringLiteral("0"));
}

TEST_F(RegistrySetupTest, AnInstallationElsewhereIsLeftAlone)
{
    const QString elsewhere = m_dir.filePath(QStringLiteral("Installed"));
    m_reg.WRITESTRING(QString(), QStringLiteral("VKpath"), elsewhere + QStringLiteral("   "));
    EXPECT_EQ(ensureProgramFolderRegistered(), elsewhere);
    EXPECT_TRUE(value("VKlstrt").isEmpty()) << "the setup's options are written only with the folder";
    EXPECT_FALSE(QFileInfo::exists(elsewhere)) << "someone else's folder is not made";
    EXPECT_FALSE(QFileInfo::exists(defaultProgramFolder()));
}

TEST_F(RegistrySetupTest, OptionsAlreadySetAreKeptAndAVanishedDefaultFolderIsMadeAgain)
{
    m_reg.WRITESTRING(QString(), QStringLiteral("VKlogo"), QStringLiteral("0"));
    const QString folder = ensureProgramFolderRegistered();
    EXPECT_EQ(value("VKlogo"), QStringLiteral("0"));
    EXPECT_EQ(value("VKlstrt"), QStringLiteral("1"));

    ASSERT_TRUE(QDir(folder).removeRecursively());
    EXPECT_EQ(ensureProgramFolderRegistered(), folder);
    EXPECT_TRUE(QFileInfo(folder).isDir());
}

TEST_F(RegistrySetupTest, ARegistryThatCannotBeWrittenGivesNoFolder)
{
    QFile blocker(m_dir.filePath(QStringLiteral("file")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    setRegistryFilePath(m_dir.filePath(QStringLiteral("file/registry.ini")));
    EXPECT_EQ(ensureProgramFolderRegistered(), QString());
}

} // namespace
