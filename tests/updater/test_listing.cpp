#include "updater/listing.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTimeZone>

#include <gtest/gtest.h>

#include <algorithm>

namespace vexo {
namespace {

// The local date and time of a UTC moment, as a listing entry shows it.
QPair<QDate, QString> local(const QDate &d, const QTime &t)
{
    const QDateTime l = QDateTime(d, t, QTimeZone::utc()).toLocalTime();
    return {l.date(), l.time().toString(QStringLiteral("hh:mm:ss"))};
}

TEST(UpdaterListing, MachineListingKeepsFilesAndFoldersAndTurnsUtcToLocal)
{
    const QByteArray text = "type=cdir;modify=20261201101010; .\r\n"
                            "type=pdir;modify=20261201101010; ..\r\n"
                            "type=file;size=5001;modify=20261209233000.123;perm=r; VXO_Rir26-setup.exe\r\n"
                            "Type=Dir;Modify=20260101000000; sub dir\r\n"
                            "type=OS.unix=slink:/x;modify=20260101000000; link\r\n"
                            "type=file;size=-3;modify=20260101000000; negative\r\n"
                            "type=file;size=1;modify=garbage; bad date\r\n"
                            "type=file;size=1;modify=20260101000000; a/b\r\n"
                            "no facts here\r\n"
                            "type=file;size=12;modify=20260102030405; two  blanks \n";
    const QList<ListingEntry> e = parseMlsd(text);
    ASSERT_EQ(e.size(), 5);
    EXPECT_EQ(e[0].name, QStringLiteral("."));
    EXPECT_EQ(e[1].name, QStringLiteral(".."));
    EXPECT_EQ(e[2].name, QStringLiteral("VXO_Rir26-setup.exe"));
    EXPECT_EQ(e[2].size, 5001);
    EXPECT_EQ(e[2].attributes, QString());
    const auto when = local(QDate(2026, 12, 9), QTime(23, 30, 0));
    EXPECT_EQ(e[2].date, when.first);
    EXPECT_EQ(e[2].time, when.second);
    EXPECT_EQ(e[3].name, QStringLiteral("sub dir"));
    EXPECT_TRUE(e[3].isFolder());
    EXPECT_EQ(e[4].name, QStringLiteral("two  blanks "));
}

TEST(UpdaterListing, UnixListingReadsBothDateFormsAndSkipsTheRest)
{
    const QDateTime now(QDate(2026, 3, 10), QTime(12, 0), QTimeZone::utc());
    const QByteArray text = "total 12\r\n"
                            "drwxr-xr-x   2 owner group      4096 Mar 01 09:15 .\r\n"
                            "drwxr-xr-x   2 owner group      4096 Mar 01 09:15 ..\r\n"
                            "-rw-r--r--   1 owner group      5001 Mar 09 23:30 VXO_Rir26-setup.exe\r\n"
                            "-rw-r--r--   1 owner group        10 Dec 24 10:00 last year.txt\r\n"
                            "-rw-r--r--   1 owner group        20 Jun 01  2024 old.txt\r\n"
                            "lrwxrwxrwx   1 owner group         4 Jan 01  2025 ln -> target\r\n"
                            "-rw-r--r--   1 owner             7 Feb 02  2025 nogroup\r\n"
                            "-rw-r--r--   1 owner group        20 Foo 01  2024 bad month\r\n"
                            "-rw-r--r--   1 owner group        20 Feb 31  2024 bad day\r\n"
                            "garbage line\r\n";
    const QList<ListingEntry> e = parseUnixList(text, now);
    ASSERT_EQ(e.size(), 7);
    EXPECT_TRUE(e[0].isFolder());
    EXPECT_EQ(e[1].name, QStringLiteral(".."));
    EXPECT_EQ(e[2].name, QStringLiteral("VXO_Rir26-setup.exe"));
    EXPECT_EQ(e[2].size, 5001);
    const auto when = local(QDate(2026, 3, 9), QTime(23, 30));
    EXPECT_EQ(e[2].date, when.first);
    EXPECT_EQ(e[2].time, when.second);
    EXPECT_EQ(e[3].date, local(QDate(2025, 12, 24), QTime(10, 0)).first); // ahead of now: the year before
    EXPECT_EQ(e[4].date, QDate(2024, 6, 1));
    EXPECT_EQ(e[4].name, QStringLiteral("old.txt"));
    EXPECT_EQ(e[5].name, QStringLiteral("ln"));
    EXPECT_EQ(e[6].name, QStringLiteral("nogroup"));
    EXPECT_EQ(e[6].size, 7);
}

ListingEntry entry(const char *name, qint64 size, const char *attr, QDate date = QDate(2026, 1, 2))
{
    return ListingEntry{QString::fromLatin1(name), size, date, QStringLiteral("10:00:00"), QString::fromLatin1(attr)};
}

TEST(UpdaterListing, RowsPutTheParentThenFoldersThenFiles)
{
    const QDateTime now(QDate(2026, 5, 6), QTime(7, 8, 9));
    const QList<ListRow> rows = GETDIR_({entry("b.exe", 5, "A"), entry("sub", 0, "D"), entry(".", 0, "D"),
                                         entry("..", 0, "D", QDate(2025, 1, 1)), entry("[x]", 0, "D"),
                                         entry(".hidden", 0, "D"), entry("a.txt", 6, "")},
                                        now);
    QStringList names;
    for (const ListRow &r : rows)
        names << r.name + u'|' + r.sizeText();
    EXPECT_EQ(names, QStringList({"[..]|<Dir>", "[sub]|<Dir>", "[x]|<Dir>", "b.exe|5", "a.txt|6"}));
    EXPECT_EQ(rows[0].date, QDate(2025, 1, 1));

    // Without ".." the parent row carries the present moment.
    const QList<ListRow> bare = GETDIR_({entry("VXO_Rir26-setup.exe", 5, "")}, now);
    ASSERT_EQ(bare.size(), 2);
    EXPECT_EQ(bare[0].date, now.date());
    EXPECT_EQ(bare[0].time, QStringLiteral("07:08:09"));
    EXPECT_EQ(bare[0].attributes, QStringLiteral("D"));
}

TEST(UpdaterListing, FilterAndSizeMatchNamesExactly)
{
    const QList<ListingEntry> listing = {entry("VXO_Rir26-setup.exe.part", 1, ""), entry("vxo_rir26-setup.exe", 2, ""),
                                         entry("VXO_Rir26-setup.exe", 3, ""), entry("[VXO_Rir26-setup.exe]", 0, "D")};
    const QList<ListRow> rows = setupFileRows(GETDIR_(listing, QDateTime::currentDateTime()),
                                              QStringLiteral("VXO_Rir26-setup.exe"));
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].size, 3);
    struct Case
    {
        const char *name;
        qint64 size;
    } cases[] = {{"VXO_Rir26-setup.exe", 3}, {"VXO_Rir26-setup", 0}, {"VXO_RIR26-SETUP.EXE", 0}, {"", 0}};
    for (const Case &c : cases)
        EXPECT_EQ(GETSIZE_(listing, QString::fromLatin1(c.name)), c.size) << c.name;
}

TEST(UpdaterListing, LocalFolderMaskIgnoresCase)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const char *n : {"A.EXE", "b.exe", "c.txt"}) {
        QFile f(dir.filePath(QString::fromLatin1(n)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("xyz");
    }
    QStringList names;
    for (const ListingEntry &e : listLocalFolder(dir.path(), QStringLiteral("*.EXE")))
        names << e.name + u'|' + QString::number(e.size);
    EXPECT_EQ(names, QStringList({"A.EXE|3", "b.exe|3"}));
}

TEST(UpdaterListing, NamesSplitAtTheFirstDot)
{
    struct Case
    {
        const char *name, *shown, *ext;
    } cases[] = {{"VXO_Rir26-setup.exe", "VXO_Rir26-setup", "exe"}, {"a.tar.gz", "a", "tar.gz"},
                 {"noext", "noext", ""}, {"[dir.x]", "[dir.x]", ""}, {".profile", "", "profile"}};
    for (const Case &c : cases) {
        const auto s = splitListName(QString::fromLatin1(c.name));
        EXPECT_EQ(s.first, QString::fromLatin1(c.shown)) << c.name;
        EXPECT_EQ(s.second, QString::fromLatin1(c.ext)) << c.name;
    }
}

TEST(UpdaterListing, SortingIsAStrictOrderInBothDirections)
{
    auto row = [](const char *name, std::optional<qint64> size, QDate d, const char *t) {
        return ListRow{QString::fromLatin1(name), size, d, QString::fromLatin1(t), QString()};
    };
    const QList<ListRow> rows = {row("ab.exe", 10, QDate(2026, 2, 1), "10:00:00"),
                                 row("abc.exe", 2, QDate(2025, 12, 31), "10:00:00"),
                                 row("ab.txt", std::nullopt, QDate(2026, 2, 1), "09:00:00"),
                                 row("ab", 10, QDate(2026, 1, 15), "23:59:59")};
    struct Case
    {
        ListColumn column;
        bool ascending;
        QStringList expected;
    } cases[] = {
        {ListColumn::Name, true, {"ab", "ab.exe", "ab.txt", "abc.exe"}},
        {ListColumn::Name, false, {"abc.exe", "ab.txt", "ab.exe", "ab"}},
        {ListColumn::Ext, true, {"ab", "ab.exe", "abc.exe", "ab.txt"}},
        {ListColumn::Size, true, {"ab.txt", "abc.exe", "ab.exe", "ab"}},
        // Dates as dates: 31.12.2025 before 15.01.2026 before 01.02.2026, then by time.
        {ListColumn::Date, true, {"abc.exe", "ab", "ab.txt", "ab.exe"}},
        {ListColumn::Time, false, {"ab.exe", "ab.txt", "ab", "abc.exe"}},
        {ListColumn::Attr, true, {"ab.exe", "abc.exe", "ab.txt", "ab"}},
    };
    for (const Case &c : cases) {
        QList<ListRow> sorted = rows;
        std::stable_sort(sorted.begin(), sorted.end(), [&](const ListRow &a, const ListRow &b) {
            return rowBefore(c.column, c.ascending, a, b);
        });
        QStringList names;
        for (const ListRow &r : sorted)
            names << r.name;
        EXPECT_EQ(names, c.expected) << int(c.column) << c.ascending;
        // Irreflexive and asymmetric for every pair.
        for (const ListRow &a : rows) {
            EXPECT_FALSE(rowBefore(c.column, c.ascending, a, a));
            for (const ListRow &b : rows)
                EXPECT_FALSE(rowBefore(c.column, c.ascending, a, b) && rowBefore(c.column, c.ascending, b, a));
        }
    }
}

TEST(UpdaterListing, UpToDateTestByDates)
{
    const QString setup = QStringLiteral("VXO_Rir26-setup.exe");
    const QString prog = QStringLiteral("VEXO_Rir26.EXE");
    const QDate day(2026, 6, 15);
    auto remote = [&](QDate d) {
        return std::optional<ListRow>(ListRow{setup, 5, d, QStringLiteral("12:00:00"), QString()});
    };
    auto exe = [](const QString &n, QDate d) {
        return QList<ListingEntry>{ListingEntry{n, 1, d, QStringLiteral("23:00:00"), QString()}};
    };
    const QString inFolder = QStringLiteral("/data/VXO-Setup/VXO_Rir26-setup.exe kur dosyası güncel...");
    struct Case
    {
        const char *what;
        UpToDateInput in;
        bool upToDate;
        QString message;
    } cases[] = {
        {"program of the same day", {true, exe(prog, day), prog, remote(day), {}, setup, "/data/VXO-Setup"}, true, {}},
        {"program older, no copy", {true, exe(prog, day.addDays(-1)), prog, remote(day), {}, setup, "/data/VXO-Setup"},
         false, {}},
        {"program named in other case, copy decides",
         {true, exe(QStringLiteral("vexo_rir26.exe"), day), prog, remote(day), exe(setup, day), setup, "/data/VXO-Setup"},
         true, inFolder},
        {"copy older", {true, {}, prog, remote(day), exe(setup, day.addDays(-1)), setup, "/data/VXO-Setup"}, false, {}},
        {"copy named in other case", {true, {}, prog, remote(day), exe(QStringLiteral("VXO_RIR26-SETUP.EXE"), day), setup,
                                      "/data/VXO-Setup"}, false, {}},
        {"empty local list", {false, exe(prog, day.addYears(1)), prog, remote(day), exe(setup, day), setup, "/data/VXO-Setup"},
         false, {}},
        {"no remote row", {true, exe(prog, day), prog, std::nullopt, exe(setup, day), setup, "/data/VXO-Setup"}, false, {}},
    };
    for (const Case &c : cases) {
        const UpToDate r = GUNCELMI(c.in);
        EXPECT_EQ(r.upToDate, c.upToDate) << c.what;
        EXPECT_EQ(r.message, c.message) << c.what;
    }
}

} // namespace
} // namespace vexo

namespace vexo {
namespace {
TEST(UpdaterListing, LongPathsShowTheirEnd)
{
    const QString forty = QString(40, u'x');
    struct Case
    {
        QString name;
        int limit;
        QString shown;
    } cases[] = {
        {QString(), 40, QString()},
        {forty, 40, forty},
        {forty + u'y', 40, "..." + forty + u'y'},
        {QStringLiteral("/home/user/VXO-Setup"), 10, QStringLiteral("...r/VXO-Setup")},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ADJUSTNAME_(c.name, c.limit), c.shown) << c.name.toStdString();
}
} // namespace
} // namespace vexo
