#include "platform/file_attributes.h"
#include "problem/file_names.h"
#include "problem/file_ops.h"

#include "ordinary_file_rights.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace vexo {
namespace {

class FileOps : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    QString path(const QString &name) const { return m_dir.filePath(name); }

    QString make(const QString &name, const QByteArray &content = "x") const
    {
        QFile f(path(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
        return path(name);
    }

    static QByteArray contents(const QString &p)
    {
        QFile f(p);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

    static void makeReadOnly(const QString &p)
    {
        ASSERT_TRUE(QFile::setPermissions(p, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    }

    QStringList entries() const
    {
        return QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }

    QTemporaryDir m_dir;
};

// The letter table, both ways.
TEST(FileAttributesLetters, WrittenInTableOrder)
{
    struct Case
    {
        quint32 flags;
        const char *letters;
    };
    const Case cases[] = {
        {0x21, "AR"},
        {0x400, "Or"},
        {0x0, ""},
        {0x40, ""},
        {0x80, ""},
        {0xFFF, "TCAOSHDRrs"},
        {0x12, "HD"},
        {0x200 | 0x4, "Ss"},
        {0x100 | 0x800, "TC"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.flags);
        EXPECT_EQ(FILEATTRIBUTES::DW2STRING(c.flags), QString::fromLatin1(c.letters));
    }
}

TEST(FileAttributesLetters, ReadBack)
{
    struct Case
    {
        const char *letters;
        quint32 flags;
    };
    const Case cases[] = {
        {"RA", 0x21},
        {"AR", 0x21},
        {"O", 0x400},
        {"r", 0x400},
        {"Or", 0x400},
        {"N", 0x80},
        // "N" means normal only on its own.
        {"NR", 0x1},
        {"RN", 0x1},
        {"N ", 0x0},
        {"E", 0x40},
        {"s", 0x200},
        {"S", 0x4},
        {"TCAOSHDRrsE", 0xF77},
        {"", 0x0},
        {"xyz", 0x0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.letters);
        EXPECT_EQ(FILEATTRIBUTES::STRING2DW(QString::fromLatin1(c.letters)), c.flags);
    }
}

TEST_F(FileOps, AttributesOfRealFiles)
{
    const QString plain = make("PLAIN.DBF");
    EXPECT_EQ(FILEATTRIBUTES(plain).DWATTRIBUTES, 0x20u);
    EXPECT_EQ(FILEATTRIBUTES(plain).CATTRIBUTES, "A");

    const QString hidden = make(".gizli");
    EXPECT_EQ(FILEATTRIBUTES(hidden).CATTRIBUTES, "AH");

    makeReadOnly(plain);
    EXPECT_EQ(FILEATTRIBUTES(plain).DWATTRIBUTES, 0x21u);
    EXPECT_EQ(FILEATTRIBUTES(plain).CATTRIBUTES, "AR");

    EXPECT_EQ(FILEATTRIBUTES(m_dir.path()).CATTRIBUTES, "D");

    // A missing file does not read as a file with every flag set.
    const FILEATTRIBUTES missing(path("YOK.DBF"));
    EXPECT_EQ(missing.DWATTRIBUTES, kInvalidFileAttributes);
    EXPECT_EQ(missing.CATTRIBUTES, "");
    EXPECT_FALSE(missing.exists());
    EXPECT_EQ(missing.fileName(), path("YOK.DBF"));
}

TEST_F(FileOps, FasetSetsAndRereads)
{
    FILEATTRIBUTES a(make("A.DBF"));
    ASSERT_TRUE(a.FASET("R"));
    EXPECT_EQ(a.DWATTRIBUTES, 0x21u);
    EXPECT_EQ(a.CATTRIBUTES, "AR");
    EXPECT_FALSE(QFile::permissions(path("A.DBF")) & QFileDevice::WriteOwner);

    // "N" among other letters is ignored: "NR" sets read-only, not normal.
    ASSERT_TRUE(a.FASET("N"));
    EXPECT_EQ(a.CATTRIBUTES, "A");
    ASSERT_TRUE(a.FASET("NR"));
    EXPECT_EQ(a.CATTRIBUTES, "AR");

    a.CLEARRO();
    EXPECT_EQ(a.CATTRIBUTES, "A");
    EXPECT_TRUE(QFile::permissions(path("A.DBF")) & QFileDevice::WriteOwner);
}

TEST_F(FileOps, FasetOnMissingFileChangesNothing)
{
    FILEATTRIBUTES a(path("YOK.DBF"));
    EXPECT_FALSE(a.FASET("R"));
    EXPECT_EQ(a.DWATTRIBUTES, kInvalidFileAttributes);
    EXPECT_EQ(a.CATTRIBUTES, "");
    EXPECT_FALSE(QFile::exists(path("YOK.DBF")));
}

TEST_F(FileOps, ClearReadOnly)
{
    const QString f = make("RO.DBF");
    makeReadOnly(f);
    FACLEARRO(f);
    EXPECT_EQ(FILEATTRIBUTES(f).CATTRIBUTES, "A");
    FACLEARRO(path("YOK.DBF")); // nothing to do, nothing created
    EXPECT_FALSE(QFile::exists(path("YOK.DBF")));
}

TEST_F(FileOps, SfdeleteRemovesPlainHiddenAndReadOnlyFiles)
{
    const QString plain = make("MATNRC6.DBF");
    const QString hidden = make(".VMKBMDESC.DBF");
    const QString readOnly = make("RO.DBF");
    makeReadOnly(readOnly);
    for (const QString &f : {plain, hidden, readOnly}) {
        SCOPED_TRACE(f.toStdString());
        EXPECT_TRUE(SFDELETE(f));
        EXPECT_FALSE(QFileInfo::exists(f));
    }
    EXPECT_TRUE(entries().isEmpty());
}

TEST_F(FileOps, MissingFileIsSuccessForSfdeleteAndFailureForSfdeletex)
{
    EXPECT_TRUE(SFDELETE(path("YOK.DBF")));
    EXPECT_FALSE(SFDELETEX(path("YOK.INI")));
    EXPECT_TRUE(entries().isEmpty());
}

TEST_F(FileOps, SfdeletexRemovesProtectedFiles)
{
    const QString ini = make("VXOFTP.INI");
    makeReadOnly(ini);
    EXPECT_TRUE(SFDELETEX(ini));
    EXPECT_FALSE(QFileInfo::exists(ini));
}

TEST_F(FileOps, DeletingAFolderFails)
{
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("Data"));
    make("Data/KEEP.DBF");
    EXPECT_FALSE(SFDELETE(path("Data")));
    EXPECT_FALSE(SFDELETEX(path("Data")));
    EXPECT_FALSE(JOVERASEFILE(path("Data"), false));
    EXPECT_TRUE(QFileInfo::exists(path("Data/KEEP.DBF")));
}

TEST_F(FileOps, DeletingALinkLeavesItsTargetAlone)
{
    QTemporaryDir other;
    const QString target = other.filePath("TARGET.DBF");
    {
        QFile f(target);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    makeReadOnly(target);
    ASSERT_TRUE(QFile::link(target, path("LINK.DBF")));
    EXPECT_TRUE(SFDELETE(path("LINK.DBF")));
    EXPECT_FALSE(QFileInfo(path("LINK.DBF")).isSymLink());
    EXPECT_TRUE(QFileInfo::exists(target));
    EXPECT_EQ(FILEATTRIBUTES(target).CATTRIBUTES, "AR");
}

TEST_F(FileOps, UndeletableFileIsAFailure)
{
    const auto readAndEnter = QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup
                              | QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::ExeOther;
    ASSERT_TRUE(QFile::setPermissions(m_dir.path(), readAndEnter | QFileDevice::WriteOwner));
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("Kilitli"));
    const QString f = make("Kilitli/A.DBF");
    const QString folder = path("Kilitli");
    ASSERT_TRUE(QFile::setPermissions(f, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));
    ASSERT_TRUE(QFile::setPermissions(folder, readAndEnter));
    {
        test::OrdinaryFileRights user; // the superuser may delete in any folder
        EXPECT_FALSE(SFDELETE(f));
        EXPECT_FALSE(SFDELETEX(f));
        EXPECT_FALSE(SFCOPY(path("Kilitli/A.DBF"), path("Kilitli/B.DBF")));
        EXPECT_TRUE(QFileInfo::exists(f));
    }
    QFile::setPermissions(folder, readAndEnter | QFileDevice::WriteOwner);
    EXPECT_TRUE(SFDELETE(f)); // with write permission back, the same file goes
}

TEST_F(FileOps, SfcopyCopiesAndReplaces)
{
    QByteArray big(300 * 1024, '\0');
    for (int i = 0; i < big.size(); ++i)
        big[i] = static_cast<char>(i * 7);
    const QString source = make("MATNRC6.DBF", big);
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("Yedek"));
    const QString target = path("Yedek/MATNRC6.DBF");
    EXPECT_TRUE(SFCOPY(source, target));
    EXPECT_EQ(contents(target), big);

    // An existing target is replaced.
    const QString small = make("SMALL.DBF", "yeni");
    EXPECT_TRUE(SFCOPY(small, target));
    EXPECT_EQ(contents(target), "yeni");
    EXPECT_EQ(contents(source), big);
}

TEST_F(FileOps, SfcopyFailuresLeaveTargetAsItWas)
{
    const QString target = make("HEDEF.DBF", "eski");
    EXPECT_FALSE(SFCOPY(path("YOK.DBF"), target));
    EXPECT_FALSE(SFCOPY(m_dir.path(), target));
    EXPECT_FALSE(SFCOPY(target, path("YokKlasor/HEDEF.DBF")));
    EXPECT_FALSE(SFCOPY(target, ""));
    // A read-only target stays as it is.
    const QString locked = make("KILITLI.DBF", "korunan");
    makeReadOnly(locked);
    EXPECT_FALSE(SFCOPY(target, locked));
    EXPECT_EQ(contents(locked), "korunan");
    ASSERT_TRUE(SFDELETE(locked));
    // A source that fails while it is read: nothing half-written takes the target's place.
    if (QFileInfo(QStringLiteral("/proc/self/mem")).isFile()) {
        EXPECT_FALSE(SFCOPY(QStringLiteral("/proc/self/mem"), target));
    }
    EXPECT_EQ(contents(target), "eski");
    EXPECT_EQ(entries(), QStringList{"HEDEF.DBF"});
}

TEST_F(FileOps, NamesDifferingOnlyInCaseFindTheFile)
{
    const QString lower = make("matnrc6.dbf", "eski");
    EXPECT_TRUE(SFCOPY(make("YENI.DBF", "yeni"), path("MATNRC6.DBF")));
    EXPECT_EQ(contents(lower), "yeni");
    EXPECT_FALSE(entries().contains("MATNRC6.DBF"));
    EXPECT_TRUE(SFCOPY(path("Matnrc6.Dbf"), path("KOPYA.DBF")));
    EXPECT_EQ(contents(path("KOPYA.DBF")), "yeni");
    EXPECT_TRUE(SFDELETE(path("MATNRC6.DBF")));
    EXPECT_TRUE(SFDELETEX(path("kopya.DBF")));
    EXPECT_EQ(entries(), QStringList{"YENI.DBF"});
}

TEST_F(FileOps, SfcopyRefusesATargetHeldOpen)
{
    const QString target = make("CANLI.DBF", "canli tablo");
    const int fd = ::open(QFile::encodeName(target).constData(), O_RDONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_SH), 0);
    EXPECT_FALSE(SFCOPY(make("YEDEK.DBF", "yedek"), target));
    ::close(fd);
    EXPECT_EQ(contents(target), "canli tablo");
    EXPECT_TRUE(SFCOPY(path("YEDEK.DBF"), target));
    EXPECT_EQ(contents(target), "yedek");
}

TEST_F(FileOps, EraseForGood)
{
    const QString f = make("SIL.TXT");
    EXPECT_TRUE(JOVERASEFILE(f, false));
    EXPECT_FALSE(QFileInfo::exists(f));
    EXPECT_FALSE(JOVERASEFILE(f, false));
    EXPECT_FALSE(JOVERASEFILE("", false));
}

TEST_F(FileOps, EraseIntoTrash)
{
    // The test runner's home is private, so its trash holds only what these tests put there.
    const QString trash = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/Trash/files";
    const QStringList before = QDir(trash).entryList(QDir::Files);
    const QString f = make("CÖP.TXT", "içerik");
    ASSERT_TRUE(JOVERASEFILE(f, true));
    EXPECT_FALSE(QFileInfo::exists(f));
    QStringList added = QDir(trash).entryList(QDir::Files);
    for (const QString &old : before)
        added.removeAll(old);
    ASSERT_EQ(added.size(), 1) << trash.toStdString();
    EXPECT_EQ(contents(trash + "/" + added.first()), "içerik");
}

TEST_F(FileOps, DeleteFilesByMask)
{
    make("A.TXT");
    make("b.txt");
    make("NOEXT");
    make("C.DBF");
    make(".hidden.txt");
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("Sub.txt"));
    make("Sub.txt/INNER.TXT");

    // The mask matches without regard to case; folders and hidden files are not listed.
    EXPECT_TRUE(DELETEFILES(m_dir.path(), "*.TXT"));
    EXPECT_EQ(entries(), (QStringList{".hidden.txt", "C.DBF", "NOEXT", "Sub.txt"}));
    EXPECT_TRUE(QFileInfo::exists(path("Sub.txt/INNER.TXT")));

    // The default mask takes every visible file, also one without a point.
    EXPECT_TRUE(DELETEFILES(m_dir.path()));
    EXPECT_EQ(entries(), (QStringList{".hidden.txt", "Sub.txt"}));

    // Nothing matching: an empty list, which is a success.
    EXPECT_TRUE(DELETEFILES(m_dir.path(), "*.VKD"));
}

TEST_F(FileOps, DeleteFilesByListStaysInTheFolder)
{
    QTemporaryDir outside;
    const QString victim = outside.filePath("KURBAN.DBF");
    {
        QFile f(victim);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("Kok"));
    const QString root = path("Kok");
    make("Kok/A.DBF");
    make("Kok/KURBAN.DBF");

    // Only the name part of each entry counts, looked for in the given folder.
    EXPECT_TRUE(DELETEFILES(root, QStringList{"A.DBF", victim}));
    EXPECT_TRUE(QFileInfo::exists(victim));
    EXPECT_FALSE(QFileInfo::exists(path("Kok/A.DBF")));
    EXPECT_FALSE(QFileInfo::exists(path("Kok/KURBAN.DBF")));
    make("Kok/C.DBF");
    EXPECT_TRUE(DELETEFILES(root, QStringList{"C:\\C.DBF"}));
    EXPECT_FALSE(QFileInfo::exists(path("Kok/C.DBF")));

    make("Kok/B.DBF");
    EXPECT_FALSE(DELETEFILES(root, QStringList{"../" + GETFILENAME(m_dir.path()) + "/Kok/.."}));
    EXPECT_FALSE(DELETEFILES(root, QStringList{".."}));
    EXPECT_FALSE(DELETEFILES(root, QStringList{""}));
    EXPECT_TRUE(QFileInfo::exists(path("Kok/B.DBF")));
    EXPECT_TRUE(QFileInfo::exists(victim));
    EXPECT_TRUE(DELETEFILES(root, QStringList{}));
}

TEST_F(FileOps, DeleteFilesStopsAtTheFirstFailure)
{
    make("1.DBF");
    make("2.DBF");
    make("3.DBF");
    makeReadOnly(path("2.DBF"));
    // A read-only file is refused; the files after it stay.
    EXPECT_FALSE(DELETEFILES(m_dir.path(), QStringList{"1.DBF", "2.DBF", "3.DBF"}));
    EXPECT_EQ(entries(), (QStringList{"2.DBF", "3.DBF"}));
    EXPECT_FALSE(DELETEFILES(m_dir.path(), "*.DBF"));
    EXPECT_EQ(entries(), (QStringList{"2.DBF", "3.DBF"}));
    // A name that is not there is a failure too.
    EXPECT_FALSE(DELETEFILES(m_dir.path(), QStringList{"YOK.DBF"}));
}

TEST_F(FileOps, DeleteFilesRefusesDrivesThatNameNoFolder)
{
    make("A.DBF");
    const QString cwd = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(m_dir.path()));
    // An empty drive, a drive letter or a relative name never resolve against the current folder.
    for (const QString &drive : {QString(), QStringLiteral("C"), QStringLiteral("C:\\"), QStringLiteral("."),
                                 path("A.DBF"), path("YokKlasor")}) {
        SCOPED_TRACE(drive.toStdString());
        EXPECT_FALSE(DELETEFILES(drive));
        EXPECT_FALSE(DELETEFILES(drive, QStringList{"A.DBF"}));
    }
    // A mask with a folder in it is refused.
    EXPECT_FALSE(DELETEFILES(m_dir.path(), "../*.*"));
    EXPECT_FALSE(DELETEFILES(m_dir.path(), ""));
    QDir::setCurrent(cwd);
    EXPECT_TRUE(QFileInfo::exists(path("A.DBF")));
}

} // namespace
} // namespace vexo
