#include "platform/cp1254_codec.h"
#include "shell/registry.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vexo;

namespace {

const QString kSettingsKey = QStringLiteral("Software\\Tarvex_Int\\VK6Setings");

class RegistryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        setRegistryFilePath(path());
    }
    void TearDown() override { setRegistryFilePath(QString()); }

    QString path() const { return m_dir.filePath(QStringLiteral("registry.ini")); }
    QByteArray fileBytes() const
    {
        QFile f(path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void writeFile(const QByteArray &bytes) const
    {
        QFile f(path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }

    QTemporaryDir m_dir;
};

struct SubkeyCase
{
    const char *assigned;
    const char *stored;
};

TEST_F(RegistryTest, WorkingSubkeyLosesBlanksAndBackslashesAtBothEnds)
{
    const SubkeyCase cases[] = {
        {"  \\Software\\Tarvex_Int\\VK6Setings\\\\  ", "Software\\Tarvex_Int\\VK6Setings"},
        {"\\", "\\"},
        {"\\\\", "\\"},
        {"\\\\\\a", "a"},
        {"", ""},
        {"   ", ""},
        {" a b ", "a b"},
    };
    for (const SubkeyCase &c : cases) {
        CLASS_REGISTRY_ reg;
        EXPECT_EQ(reg.WORKING_SUBKEY(QString::fromLatin1(c.assigned)), QString::fromLatin1(c.stored)) << c.assigned;
        EXPECT_EQ(reg.WORKING_SUBKEY(), QString::fromLatin1(c.stored));
    }
}

TEST_F(RegistryTest, FullSubkeyJoinsTheRelativeSubkeyToTheWorkingOne)
{
    CLASS_REGISTRY_ reg;
    reg.WORKING_SUBKEY(kSettingsKey);
    EXPECT_EQ(reg.BUILD_FULL_SUBKEY(QStringLiteral("\\Extra\\")), kSettingsKey + QStringLiteral("\\Extra"));
    EXPECT_EQ(reg.BUILD_FULL_SUBKEY(QString()), kSettingsKey);
    EXPECT_EQ(reg.BUILD_FULL_SUBKEY(QStringLiteral("\\")), kSettingsKey);
    EXPECT_EQ(reg.BUILD_FULL_SUBKEY(QStringLiteral("  \\\\ ")), kSettingsKey);

    CLASS_REGISTRY_ single;
    single.WORKING_SUBKEY(QStringLiteral("\\"));
    EXPECT_EQ(single.BUILD_FULL_SUBKEY(QString()), QStringLiteral("\\"));
    EXPECT_EQ(single.BUILD_FULL_SUBKEY(QStringLiteral("\\")), QStringLiteral("\\"));

    CLASS_REGISTRY_ empty;
    EXPECT_EQ(empty.BUILD_FULL_SUBKEY(QStringLiteral("A\\B")), QStringLiteral("A\\B"));
    EXPECT_EQ(empty.BUILD_FULL_SUBKEY(QString()), QString());
}

TEST_F(RegistryTest, RootKeysFollowTheirClasses)
{
    CLASS_REGISTRY_ base;
    EXPECT_EQ(base.HKEY(), quint32(HKEY_LOCAL_MACHINE));
    EXPECT_EQ(base.LASTERROR(), 0);
    for (quint32 root : {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS,
                         HKEY_CURRENT_CONFIG, HKEY_DYN_DATA})
        EXPECT_EQ(base.HKEY(root), root);
    base.HKEY(HKEY_CURRENT_USER);
    EXPECT_EQ(base.HKEY(HKEY_PERFORMANCE_DATA), quint32(HKEY_LOCAL_MACHINE));
    base.HKEY(HKEY_CURRENT_USER);
    EXPECT_EQ(base.HKEY(0x12345u), quint32(HKEY_LOCAL_MACHINE));

    CLASS_HKCR hkcr;
    EXPECT_EQ(hkcr.HKEY(), quint32(HKEY_CLASSES_ROOT));
    EXPECT_EQ(hkcr.HKEY(HKEY_CURRENT_USER), quint32(HKEY_CLASSES_ROOT));
    CLASS_REGISTRY_ &asBase = hkcr;
    asBase.HKEY(HKEY_LOCAL_MACHINE);
    EXPECT_EQ(hkcr.HKEY(), quint32(HKEY_CLASSES_ROOT));
    EXPECT_EQ(CLASS_HKCU().HKEY(), quint32(HKEY_CURRENT_USER));
    CLASS_HKLM hklm;
    EXPECT_EQ(hklm.HKEY(HKEY_CLASSES_ROOT), quint32(HKEY_LOCAL_MACHINE));
}

TEST_F(RegistryTest, HivesAreSeparate)
{
    CLASS_HKCU user;
    user.WORKING_SUBKEY(kSettingsKey);
    ASSERT_EQ(user.WRITESTRING(QString(), QStringLiteral("VKpath"), QStringLiteral("/home/u")), 0);
    CLASS_HKLM machine;
    machine.WORKING_SUBKEY(kSettingsKey);
    EXPECT_EQ(machine.GETSTRING(QString(), QStringLiteral("VKpath")), QString());
    EXPECT_EQ(machine.LASTERROR(), REG_ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(user.GETSTRING(QString(), QStringLiteral("VKpath")), QStringLiteral("/home/u"));
    EXPECT_EQ(user.LASTERROR(), 0);
}

TEST_F(RegistryTest, GetStringAnswersOnlyTextValuesAndReportsMissingOnes)
{
    CLASS_HKLM reg;
    reg.WORKING_SUBKEY(kSettingsKey);
    EXPECT_EQ(reg.GETSTRING(QString(), QStringLiteral("VKpath")), QString());
    EXPECT_EQ(reg.LASTERROR(), REG_ERROR_FILE_NOT_FOUND) << "missing key";

    RegValue expand;
    expand.type = RegType::ExpandString;
    expand.text = QStringLiteral("%HOME%/VEXO");
    ASSERT_EQ(reg.writeValue(QString(), QStringLiteral("Expand"), expand), 0);
    ASSERT_EQ(reg.WRITEINT(QString(), QStringLiteral("Number"), 12), 0);
    ASSERT_EQ(reg.WRITESTRING(QString(), QStringLiteral("Blanks"), QStringLiteral("  /opt/vexo   ")), 0);

    EXPECT_EQ(reg.GETSTRING(QString(), QStringLiteral("Expand")), QString());
    EXPECT_EQ(reg.LASTERROR(), 0) << "an expandable text is no plain text, but the read succeeds";
    EXPECT_EQ(reg.GETSTRING(QString(), QStringLiteral("Number")), QString());
    EXPECT_EQ(reg.LASTERROR(), 0);
    EXPECT_EQ(reg.GETSTRING(QString(), QStringLiteral("Missing")), QString());
    EXPECT_EQ(reg.LASTERROR(), REG_ERROR_FILE_NOT_FOUND) << "missing value";
    EXPECT_EQ(reg.GETSTRING(QString(), QStringLiteral("Blanks")), QStringLiteral("  /opt/vexo"));
    EXPECT_EQ(reg.LASTERROR(), 0);
    // Value names are found without regard to case, as keys are.
    CLASS_HKLM other;
    other.WORKING_SUBKEY(QStringLiteral("SOFTWARE\\tarvex_int\\vk6setings"));
    EXPECT_EQ(other.GETSTRING(QString(), QStringLiteral("BLANKS")), QStringLiteral("  /opt/vexo"));
}

TEST_F(RegistryTest, TextsAreCutAtTheWriteLimitAndTooLongValuesAreNotRead)
{
    CLASS_HKLM reg;
    reg.WORKING_SUBKEY(kSettingsKey);
    const QString long3000(3000, u'x');
    ASSERT_EQ(reg.WRITESTRING(QStringLiteral("New\\Deeper"), QStringLiteral("Long"), long3000), 0);
    EXPECT_EQ(reg.GETSTRING(QStringLiteral("New\\Deeper"), QStringLiteral("Long")), QString(2046, u'x'));
    EXPECT_EQ(reg.GET_SUBKEY_VALUENAMES(QStringLiteral("New")), QStringList{QStringLiteral("Deeper")});

    // Longer values can only come from outside; 2,047 characters and the zero fill the 2,048 bytes.
    RegValue v;
    v.type = RegType::String;
    v.text = QString(2047, u'y');
    reg.writeValue(QString(), QStringLiteral("Fits"), v);
    v.text = QString(2048, u'z');
    reg.writeValue(QString(), QStringLiteral("TooLong"), v);
    EXPECT_EQ(reg.GETSTRING(QString(), QStringLiteral("Fits")).size(), 2047);
    EXPECT_EQ(reg.LASTERROR(), 0);
    EXPECT_EQ(reg.GETSTRING(QString(), QStringLiteral("TooLong")), QString());
    EXPECT_EQ(reg.LASTERROR(), REG_ERROR_MORE_DATA);
}

TEST_F(RegistryTest, GetIntAnswersOnlyNumbers)
{
    CLASS_HKLM reg;
    reg.WORKING_SUBKEY(kSettingsKey);
    reg.WRITEINT(QString(), QStringLiteral("Count"), 0xFFFFFFFFu);
    reg.WRITESTRING(QString(), QStringLiteral("Short"), QStringLiteral("12"));
    reg.WRITESTRING(QString(), QStringLiteral("Text"), QStringLiteral("12345"));
    EXPECT_EQ(reg.GETINT(QString(), QStringLiteral("Count")), 0xFFFFFFFFu);
    EXPECT_EQ(reg.LASTERROR(), 0);
    EXPECT_EQ(reg.GETINT(QString(), QStringLiteral("Short")), 0u);
    EXPECT_EQ(reg.LASTERROR(), 0);
    EXPECT_EQ(reg.GETINT(QString(), QStringLiteral("Text")), 0u);
    EXPECT_EQ(reg.LASTERROR(), REG_ERROR_MORE_DATA) << "six bytes do not fit the four-byte buffer";
    EXPECT_EQ(reg.GETINT(QString(), QStringLiteral("None")), 0u);
    EXPECT_EQ(reg.LASTERROR(), REG_ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryTest, KeysAreCreatedListedAndDeletedAsWindowsDoes)
{
    CLASS_HKCU reg;
    reg.WORKING_SUBKEY(QStringLiteral("Software\\Test"));
    EXPECT_EQ(reg.GET_SUBKEY_VALUENAMES(QString()), QStringList());
    EXPECT_EQ(reg.LASTERROR(), REG_ERROR_FILE_NOT_FOUND);

    EXPECT_EQ(reg.CREATEKEY(QStringLiteral("beta")), 0);
    EXPECT_EQ(reg.CREATESUBKEY(QStringLiteral("Alpha\\Inner")), 0);
    EXPECT_EQ(reg.CREATEKEY(QStringLiteral("BETA")), 0) << "an existing key is opened";
    reg.WRITESTRING(QString(), QStringLiteral("AValueNotAKey"), QStringLiteral("x"));
    EXPECT_EQ(reg.GET_SUBKEY_VALUENAMES(QString()), (QStringList{QStringLiteral("Alpha"), QStringLiteral("beta")}));
    EXPECT_EQ(reg.LASTERROR(), 0) << "the end of the list counts as success";

    EXPECT_EQ(reg.DELETESUBKEY(QStringLiteral("Alpha")), REG_ERROR_ACCESS_DENIED) << "it has a subkey";
    EXPECT_EQ(reg.DELETESUBKEY(QStringLiteral("Alpha\\Inner")), 0);
    EXPECT_EQ(reg.DELETESUBKEY(QStringLiteral("Alpha")), 0);
    EXPECT_EQ(reg.DELETESUBKEY(QStringLiteral("Alpha")), REG_ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(reg.LASTERROR(), REG_ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(reg.GET_SUBKEY_VALUENAMES(QString()), QStringList{QStringLiteral("beta")});

    EXPECT_EQ(reg.DELETEVALUE(QString(), QStringLiteral("avaluenotakey")), 0);
    EXPECT_EQ(reg.DELETEVALUENAME(QString(), QStringLiteral("AValueNotAKey")), REG_ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(reg.DELETEVALUE(QStringLiteral("Nowhere"), QStringLiteral("x")), REG_ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(reg.FLUSH(), 0);

    CLASS_HKCU root;
    EXPECT_EQ(root.DELETESUBKEY(QString()), REG_ERROR_ACCESS_DENIED) << "a hive is never deleted";
    CLASS_HKCU bad;
    bad.WORKING_SUBKEY(QStringLiteral("\\"));
    EXPECT_EQ(bad.WRITESTRING(QString(), QStringLiteral("x"), QStringLiteral("y")), REG_ERROR_BAD_PATHNAME);
    EXPECT_EQ(bad.CREATEKEY(QStringLiteral("a\\\\b")), REG_ERROR_BAD_PATHNAME);
}

TEST_F(RegistryTest, TheFileKeepsEveryCharacterAndIsUtf8)
{
    CLASS_HKLM reg;
    reg.WORKING_SUBKEY(kSettingsKey);
    const QString tricky = QStringLiteral("\"C:\\Prog \"Files\"\\\tŞİĞÜÖÇ şığüöç\nline2\x01 ");
    ASSERT_EQ(reg.WRITESTRING(QString(), QStringLiteral("Tricky \"name\""), tricky), 0);
    ASSERT_EQ(reg.WRITESTRING(QString(), QString(), QStringLiteral("default")), 0);
    ASSERT_EQ(reg.WRITESTRING(QString(), QStringLiteral("@"), QStringLiteral("at")), 0);
    EXPECT_EQ(reg.GETSTRING(QString(), QStringLiteral("Tricky \"name\"")), tricky.chopped(1));
    EXPECT_EQ(reg.GETSTRING(QString(), QString()), QStringLiteral("default"));
    EXPECT_EQ(reg.GETSTRING(QString(), QStringLiteral("@")), QStringLiteral("at"));

    const QByteArray bytes = fileBytes();
    EXPECT_TRUE(bytes.contains("[HKEY_LOCAL_MACHINE\\Software\\Tarvex_Int\\VK6Setings]"));
    EXPECT_TRUE(bytes.contains(QStringLiteral("ŞİĞÜÖÇ").toUtf8()));
    EXPECT_TRUE(bytes.contains("@=\"default\""));
    EXPECT_TRUE(bytes.contains("\"@\"=\"at\""));
    EXPECT_TRUE(bytes.contains("[HKEY_LOCAL_MACHINE\\Software]")) << "every ancestor key is a section";
    EXPECT_FALSE(QFile::exists(path() + QStringLiteral(".lock"))) << "the lock is given back";
}

TEST_F(RegistryTest, HandWrittenFilesAreRead)
{
    QByteArray text =
        "; written by hand\r\n"
        "[HKEY_LOCAL_MACHINE\\Software\\Tarvex_Int\\VK6Setings]\r\n"
        "\"VKpath\" = \"C:\\Program Files\\VEXO\"\r\n"
        "\"VKlstrt\"=\"1\"\r\n"
        "\"Odd\"=hex:01,02,03,04,05\r\n"
        "\"Count\"=dword:0000002a\r\n"
        "\"Exp\"=EXPAND:\"%HOME%\"\r\n"
        "\"VKlstrt\"=\"0\"\r\n"
        "[hkey_local_machine\\software\\tarvex_int\\vk6setings]\r\n"
        "\"VKlogo\"=\"";
    text += Cp1254Codec::encode(QStringLiteral("Ağaç"));
    text += "\"\r\n";
    writeFile(text);

    CLASS_HKLM reg;
    reg.WORKING_SUBKEY(kSettingsKey);
    EXPECT_EQ(reg.GETSTRING(QString(), QStringLiteral("VKpath")), QStringLiteral("C:\\Program Files\\VEXO"))
        << "a backslash before a letter stays";
    EXPECT_EQ(reg.GETSTRING(QString(), QStringLiteral("VKlstrt")), QStringLiteral("0")) << "the later line wins";
    EXPECT_EQ(reg.GETSTRING(QString(), QStringLiteral("VKlogo")), QStringLiteral("Ağaç"))
        << "a file that is not UTF-8 is read as Windows-1254; equal sections are one key";
    EXPECT_EQ(reg.GETINT(QString(), QStringLiteral("Count")), 42u);
    EXPECT_EQ(reg.GETSTRING(QString(), QStringLiteral("Exp")), QString());
    EXPECT_EQ(reg.LASTERROR(), 0);
    EXPECT_EQ(reg.GETSTRING(QString(), QStringLiteral("Odd")), QString());

    // A change rewrites the file; values of a type the program does not know survive it.
    ASSERT_EQ(reg.WRITESTRING(QString(), QStringLiteral("VKldlg"), QStringLiteral("1")), 0);
    EXPECT_TRUE(fileBytes().contains("\"Odd\"=hex:01,02,03,04,05"));
    EXPECT_EQ(reg.GETSTRING(QString(), QStringLiteral("VKlogo")), QStringLiteral("Ağaç"));
    EXPECT_EQ(reg.GETSTRING(QString(), QStringLiteral("VKpath")), QStringLiteral("C:\\Program Files\\VEXO"));
}

TEST_F(RegistryTest, AFolderThatCannotBeMadeFailsTheWriteAndLeavesTheReadsNeutral)
{
    QFile blocker(m_dir.filePath(QStringLiteral("not_a_folder")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    setRegistryFilePath(m_dir.filePath(QStringLiteral("not_a_folder/registry.ini")));
    CLASS_HKLM reg;
    reg.WORKING_SUBKEY(kSettingsKey);
    EXPECT_NE(reg.WRITESTRING(QString(), QStringLiteral("VKpath"), QStringLiteral("/x")), 0);
    EXPECT_NE(reg.LASTERROR(), 0);
    EXPECT_EQ(reg.GETSTRING(QString(), QStringLiteral("VKpath")), QString());
}

TEST_F(RegistryTest, TheRegisteredPdfViewerIsFoundByFileTypeOrTheReaderKey)
{
    EXPECT_EQ(COMMPATHANDEXE(QStringLiteral(".pdf")), QString()) << "nothing registered";

    CLASS_HKCR reg;
    reg.WRITESTRING(QStringLiteral("Applications\\AcroRD32.EXE\\Shell\\Read\\Command"), QString(),
                    QStringLiteral("\"/opt/Reader/AcroRd32\" /s \"%1\""));
    EXPECT_EQ(COMMPATHANDEXE(QStringLiteral(".pdf")), QStringLiteral("/opt/Reader/AcroRd32"))
        << "no file type: the reader's key";

    reg.WRITESTRING(QStringLiteral(".pdf"), QString(), QStringLiteral("PdfDocument"));
    EXPECT_EQ(COMMPATHANDEXE(QStringLiteral(".pdf")), QString()) << "a file type without a command";
    reg.WRITESTRING(QStringLiteral("PdfDocument\\Shell\\Open\\Command"), QString(),
                    QStringLiteral("/usr/bin/evince %1"));
    EXPECT_EQ(COMMPATHANDEXE(QStringLiteral(".pdf")), QStringLiteral("/usr/bin/evince %1"))
        << "an unquoted command is taken whole";
}

} // namespace
