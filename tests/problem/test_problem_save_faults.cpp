// Saving and loading under real faults: a size limit that makes writes fail like a full disk, a
// second program saving the same file, tables that are not problem files, and problems that the
// file's fields cannot hold. After each the file is byte for byte as before or wholly the new one.
#include "problem_fixture.h"

#include "child_process.h"
#include "foreign_files.h"
#include "ordinary_file_rights.h"
#include "platform/atomic_file.h"
#include "platform/dbf_filespec.h"
#include "platform/dbf_table.h"
#include "platform/own_temp_files.h"
#include "problem/file_ops.h"
#include "problem/ini_file.h"
#include "problem/dbserverr.h"
#include "problem/open_problem.h"
#include "problem/problem_file_commands.h"
#include "problem/problem_file.h"
#include "problem/problem_loader.h"
#include "problem/problem_saver.h"
#include "quiet_file_host.h"
#include "save_fixture.h"
#include "scripted_messages.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QHash>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <grp.h>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace vexo;
using vexo::test::allDirty;
using vexo::test::changeOnePrice;
using vexo::test::checksum;
using vexo::test::holdSaveByte;
using vexo::test::loadProblem;
using vexo::test::QuietHost;
using vexo::test::setProblem;
using vexo::test::Record;

namespace {

QString num(const QString &text)
{
    return text.rightJustified(11, u' ');
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

// Files beside the problem other than the problem itself (a copy left behind by a failed save).
QStringList leftovers(const QString &path)
{
    QDir dir = QFileInfo(path).absoluteDir();
    QStringList names = dir.entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    names.removeAll(QFileInfo(path).fileName());
    return names;
}

// A saved problem file holding `ingredients` ingredients and two nutrients.
QString savedProblem(const test::ProblemEnvironment &env, const QString &name, int ingredients)
{
    const QString path = env.path(name);
    EXPECT_TRUE(DATAFILECREATE(nullptr, path));
    EXPECT_TRUE(DATAFOPEN(nullptr, path));
    setProblem(ingredients, {QStringLiteral("HP"), QStringLiteral("KM")}, {QStringLiteral("TAHIL")});
    QString why;
    EXPECT_TRUE(PROBDBFUPDATE(&why)) << why.toStdString();
    openProblem().reset();
    return path;
}

} // namespace

TEST(ProblemRoundTrip, NutrientAndGroupRowsWithoutIngredientsComeBack)
{
    test::ProblemEnvironment env;
    const QString path = env.path("BOS.VKD");
    ASSERT_TRUE(DATAFILECREATE(nullptr, path));
    ASSERT_TRUE(DATAFOPEN(nullptr, path));
    setProblem(0, {QStringLiteral("HP"), QStringLiteral("KM"), QStringLiteral("CA")},
               {QStringLiteral("TAHIL"), QStringLiteral("KABA")});
    ASSERT_TRUE(openProblem().checkInvariants().isEmpty()) << openProblem().checkInvariants().join(u';').toStdString();
    ASSERT_TRUE(PROBDBFUPDATE());
    ASSERT_TRUE(loadProblem(path));
    const OpenProblem &p = openProblem();
    EXPECT_EQ(p.AAMAT, RowList(3, Row()));
    EXPECT_EQ(p.AGMAT, RowList(2, Row()));
    EXPECT_TRUE(p.checkInvariants().isEmpty()) << p.checkInvariants().join(u';').toStdString();
}

TEST(ProblemRoundTrip, InvariantCheckSeesMissingMatrixRows)
{
    test::ProblemEnvironment env;
    const struct
    {
        const char *what;
        std::function<void(OpenProblem &)> spoil;
        const char *rule;
    } cases[] = {
        {"no matrix rows for the nutrients", [](OpenProblem &p) { p.AAMAT.clear(); },
         "active matrix rows differ from the nutrients"},
        {"one matrix row short", [](OpenProblem &p) { p.AAMAT.removeLast(); },
         "active matrix rows differ from the nutrients"},
        {"no membership rows for the groups", [](OpenProblem &p) { p.AGMAT.clear(); },
         "membership rows differ from the groups"},
        {"a membership row one cell short", [](OpenProblem &p) { p.AGMAT[0].removeLast(); },
         "a membership row differs from the ingredients"},
    };
    for (const auto &c : cases) {
        for (const int ingredients : {0, 2}) {
            setProblem(ingredients, {QStringLiteral("HP"), QStringLiteral("KM")}, {QStringLiteral("TAHIL")});
            ASSERT_TRUE(openProblem().checkInvariants().isEmpty());
            if (ingredients == 0 && QByteArray(c.what).contains("cell short"))
                continue;
            c.spoil(openProblem());
            EXPECT_TRUE(openProblem().checkInvariants().contains(QString::fromLatin1(c.rule)))
                << c.what << " with " << ingredients << " ingredients";
        }
    }
}

// Older files held shorter matrix rows; a row cut at its field's width would have its missing
// contents taken as 0, so such a file is not opened at all.
TEST(ProblemLoadRefusals, MatrixRowsWithFewerCellsThanIngredientsAreRefused)
{
    test::ProblemEnvironment env;
    test::ScriptedMessages messages;
    const QString path = env.path("KESIK.VKD");
    // A 36-character matrix field holds 3 cells; the file names 4 ingredients.
    const QString row = num("1.0") + u',' + num("2.0") + u',' + num("3.0") + u',';
    writeBytes(path, test::olderLayoutBytes({{{"YMADI", "A"}, {"BMADI", "HP"}, {"YMBMAT", row}},
                                             {{"YMADI", "B"}, {"YMBMAT", kPrmMarker}},
                                             {{"YMADI", "C"}, {"YMBMAT", "K,1000.00,Krş,Kg,"}},
                                             {{"YMADI", "D"}, {"YMBMAT", kGrupMarker}}},
                                            36));
    const QByteArray before = checksum(path);
    EXPECT_FALSE(loadProblem(path));
    ASSERT_EQ(messages.shown().size(), 1);
    const QString text = messages.shown()[0].text;
    EXPECT_TRUE(text.startsWith(QStringLiteral("KESIK.VKD dosyası açılamadı! : Dosyada 4 yem maddesi var; ")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("en çok 3 yem maddesi"))) << text.toStdString();
    openProblem().reset();
    EXPECT_EQ(checksum(path), before);

    // The same file whose rows hold every ingredient loads.
    const QString whole = row + num("4.0") + u',';
    writeBytes(path, test::olderLayoutBytes({{{"YMADI", "A"}, {"BMADI", "HP"}, {"YMBMAT", whole}},
                                             {{"YMADI", "B"}, {"YMBMAT", kPrmMarker}},
                                             {{"YMADI", "C"}, {"YMBMAT", "K,1000.00,Krş,Kg,"}},
                                             {{"YMADI", "D"}, {"YMBMAT", kGrupMarker}}},
                                            48));
    EXPECT_TRUE(loadProblem(path));
    EXPECT_EQ(openProblem().AAMAT, (RowList{{num("1.0"), num("2.0"), num("3.0"), num("4.0")}}));
}

// A nutrient without its matrix row would count as 0 in every ingredient: such a file is not opened.
TEST(ProblemLoadRefusals, FewerMatrixRowsThanNutrientsAreRefused)
{
    test::ProblemEnvironment env;
    test::ScriptedMessages messages;
    const QString path = env.path("EKSIK.VKD");
    const QString row = num("1.0") + u',' + num("2.0") + u',';
    QList<Record> records = {{{"YMADI", "A"}, {"BMADI", "HP"}, {"YMBMAT", row}},
                             {{"YMADI", "B"}, {"BMADI", "KM"}, {"YMBMAT", kPrmMarker}},
                             {{"BMADI", "HY"}, {"YMBMAT", "K,1000.00,Krş,Kg,"}}};
    test::writeProblemFile(path, records);
    const QByteArray before = checksum(path);
    EXPECT_FALSE(loadProblem(path));
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown()[0].text,
              QStringLiteral("EKSIK.VKD dosyası açılamadı! : Dosyada 3 besin maddesi var; aktif matriste yalnız 1 "
                             "besin maddesinin satırı var, eksik satırların değerleri 0 sayılırdı."));
    openProblem().reset();
    EXPECT_EQ(checksum(path), before);

    // With a row for every nutrient the file loads.
    records[1]["YMBMAT"] = row;
    records[2]["YMBMAT"] = row;
    records.append({{"YMBMAT", kPrmMarker}});
    records.append({{"YMBMAT", "K,1000.00,Krş,Kg,"}});
    test::writeProblemFile(path, records);
    EXPECT_TRUE(loadProblem(path));
    EXPECT_EQ(openProblem().AAMAT.size(), 3);
    EXPECT_TRUE(openProblem().checkInvariants().isEmpty()) << openProblem().checkInvariants().join(u',').toStdString();
    EXPECT_EQ(messages.shown().size(), 1);
}

TEST(ProblemLoadRefusals, MoreIngredientsThanAProblemFileHoldsAreRefused)
{
    test::ProblemEnvironment env;
    test::ScriptedMessages messages;
    const QString path = env.path("COK.VKD");
    QList<Record> records;
    for (int i = 1; i <= 86; ++i)
        records.append({{"YMADI", QStringLiteral("YM%1").arg(i)}});
    records[0].insert("YMBMAT", kPrmMarker);
    test::writeProblemFile(path, records);
    const QByteArray before = checksum(path);
    EXPECT_FALSE(loadProblem(path));
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_TRUE(messages.shown()[0].text.contains(QStringLiteral("86 yem maddesi")));
    EXPECT_TRUE(messages.shown()[0].text.contains(QStringLiteral("en çok 85 yem maddesi")));
    openProblem().reset();
    EXPECT_EQ(checksum(path), before);
}

// Tables that are not problem files are refused when opened, whatever they hold; the current and
// the older layout open.
TEST(ProblemLoadRefusals, ForeignTablesAreRefusedAtOpenAndLeftAsTheyWere)
{
    test::ProblemEnvironment env;
    test::ScriptedMessages messages;
    auto changed = [](const std::function<void(DbfStructure &)> &change) {
        DbfStructure s = DATAFILESTRUCT();
        change(s);
        return s;
    };
    auto at = [](DbfStructure &s, const char *name) -> DbfField & {
        for (DbfField &f : s)
            if (f.name == QLatin1String(name))
                return f;
        return s.first();
    };
    const struct
    {
        const char *what;
        DbfStructure fields;
        bool opens;
    } cases[] = {
        {"current layout", DATAFILESTRUCT(), true},
        {"older layout", changed([](DbfStructure &s) {
             s.erase(std::remove_if(s.begin(), s.end(), [](const DbfField &f) {
                 return f.name == u"YMSTOKVY" || f.name.endsWith(QStringLiteral("KCOZUM"));
             }), s.end());
         }), true},
        {"older layout with shorter matrix rows", changed([&](DbfStructure &s) {
             s.removeAt(6);
             at(s, "YMBMAT").width = 240;
         }), true},
        {"matrix field missing", changed([](DbfStructure &s) { s.removeLast(); }), false},
        {"nutrient name missing", changed([](DbfStructure &s) { s.removeAt(7); }), false},
        {"number instead of text", changed([&](DbfStructure &s) { at(s, "YMFIAT") = {"YMFIAT", u'N', 11, 0}; }), false},
        {"narrower nutrient name", changed([&](DbfStructure &s) { at(s, "BMADI").width = 10; }), false},
        {"narrower matrix field in the current layout", changed([&](DbfStructure &s) { at(s, "YMBMAT").width = 600; }), false},
        {"a field of another table", changed([](DbfStructure &s) { s.append({QStringLiteral("FIATI"), u'C', 11, 0}); }), false},
    };
    for (const auto &c : cases) {
        const QString path = env.path("YABANCI.VKD");
        QFile::remove(path);
        Record record;
        for (const DbfField &f : c.fields) {
            if (f.name == u"YMADI" || f.name == u"BMADI")
                record.insert(f.name, f.type == u'C' ? QVariant(QStringLiteral("A")) : QVariant(1.0));
        }
        test::writeTable(path, c.fields, {record});
        const QByteArray before = checksum(path);
        messages.clear();
        EXPECT_EQ(DATAFOPEN(nullptr, path), c.opens) << c.what;
        EXPECT_EQ(openProblem().isOpen(), c.opens) << c.what;
        if (!c.opens) {
            ASSERT_EQ(messages.shown().size(), 1) << c.what;
            EXPECT_TRUE(messages.shown()[0].text.startsWith(
                QStringLiteral("YABANCI.VKD veri dosyası açılamadı! : Bir problem dosyası değil: ")))
                << c.what << ": " << messages.shown()[0].text.toStdString();
        }
        openProblem().reset();
        EXPECT_EQ(checksum(path), before) << c.what;
    }
}

// The saver checks every value against the field it goes into, in the table as it really is; a value
// that would be cut refuses the save and nothing is written.
TEST(ProblemSaveRefusals, ValuesWiderThanTheRealFieldsAreRefused)
{
    test::ProblemEnvironment env;
    // An older file whose matrix field holds 10 cells, opened as it is.
    const QString older = env.path("DAR.VKD");
    writeBytes(older, test::olderLayoutBytes({{{"YMADI", "A"}, {"BMADI", "HP"}, {"YMBMAT", num("1.0") + ","}},
                                              {{"YMBMAT", kPrmMarker}},
                                              {{"YMBMAT", "K,1000.00,Krş,Kg,"}},
                                              {{"YMBMAT", kGrupMarker}}},
                                             120));
    // A foreign table with a narrower nutrient name, opened around the open check.
    const QString narrow = env.path("DARAD.VKD");
    DbfStructure fields = DATAFILESTRUCT();
    fields[7].width = 10;
    test::writeTable(narrow, fields, {});

    const struct
    {
        QString path;
        int ingredients;
        QStringList nutrients;
        std::function<bool &(OpenProblem &)> dirty;
        const char *reason;
    } cases[] = {
        {older, 11, {QStringLiteral("HP")}, [](OpenProblem &p) -> bool & { return p.LAMATDEG; }, "(120 karakter)"},
        {narrow, 2, {QStringLiteral("HAM_PROTEIN_X")}, [](OpenProblem &p) -> bool & { return p.LBMDEG; },
         "\"HAM_PROTEIN_X\" değeri problem dosyasının BMADI alanına (10 karakter) sığmıyor"},
    };
    for (const auto &c : cases) {
        openProblem().reset();
        openProblem().OPROBDBF = std::make_unique<DBSERVERR>(c.path, true, false);
        ASSERT_FALSE(openProblem().OPROBDBF->status());
        setProblem(c.ingredients, c.nutrients, {});
        // Only the part that meets the narrow field is saved (the older file lacks fields that
        // other parts need).
        OpenProblem &p = openProblem();
        p.setAllDirty(false);
        c.dirty(p) = true;
        const QByteArray before = checksum(c.path);
        QString why;
        EXPECT_FALSE(PROBDBFUPDATE(&why));
        EXPECT_TRUE(why.contains(QString::fromUtf8(c.reason))) << why.toStdString();
        EXPECT_TRUE(c.dirty(p));
        openProblem().reset();
        EXPECT_EQ(checksum(c.path), before);
    }
}

TEST(ProblemSaveRefusals, GroupNamesThatTheFileWouldMakeEqualAreRefused)
{
    test::ProblemEnvironment env;
    const QString path = savedProblem(env, "GRUP.VKD", 3);
    const QByteArray before = checksum(path);
    ASSERT_TRUE(loadProblem(path));
    // Both long names keep their first 15 characters "KABA YEMLER GRU"; the third is cut alone.
    setProblem(3, {QStringLiteral("HP")},
               {QStringLiteral("KABA YEMLER GRUBU 1"), QStringLiteral("TAHIL"), QStringLiteral("KABA YEMLER GRUBU 2"),
                QStringLiteral("ENERJI KAYNAKLARI")});
    QString why;
    EXPECT_FALSE(PROBDBFUPDATE(&why));
    EXPECT_TRUE(why.contains(QStringLiteral("\"KABA YEMLER GRUBU 1\", \"KABA YEMLER GRUBU 2\""))) << why.toStdString();
    EXPECT_FALSE(why.contains(QStringLiteral("ENERJI"))) << why.toStdString();
    EXPECT_TRUE(allDirty(openProblem()));
    EXPECT_EQ(checksum(path), before);

    // A long name that stays unique is stored cut to the field, as the file has always held it.
    openProblem().AYMGLIST[2][YMGNAME] = QStringLiteral("KARMA").leftJustified(25);
    openProblem().AYMGADLARI[2] = QStringLiteral("KARMA");
    ASSERT_TRUE(PROBDBFUPDATE(&why)) << why.toStdString();
    ASSERT_TRUE(loadProblem(path));
    EXPECT_EQ(openProblem().AYMGADLARI,
              (QStringList{"KABA YEMLER GRU", "TAHIL", "KARMA", "ENERJI KAYNAKLA"}));
}

TEST(ProblemSaveRefusals, ASecondSaverIsRefusedAndKeepsItsFlags)
{
    test::ProblemEnvironment env;
    const QString path = savedProblem(env, "IKI.VKD", 2);
    ASSERT_TRUE(loadProblem(path));
    setProblem(4, {QStringLiteral("HP")}, {});
    const QByteArray before = checksum(path);

    // Another program in the middle of its save holds the save byte of the file.
    const int other = holdSaveByte(path);
    ASSERT_GE(other, 0);
    QString why;
    EXPECT_FALSE(PROBDBFUPDATE(&why));
    EXPECT_TRUE(why.contains(QStringLiteral("başka bir program tarafından kaydediliyor"))) << why.toStdString();
    EXPECT_TRUE(allDirty(openProblem()));
    EXPECT_EQ(checksum(path), before);
    EXPECT_TRUE(leftovers(path).isEmpty()) << leftovers(path).join(u' ').toStdString();

    // Once the other save is over, this one goes through.
    ::close(other);
    ASSERT_TRUE(PROBDBFUPDATE(&why)) << why.toStdString();
    EXPECT_FALSE(openProblem().anyDirty());
    ASSERT_TRUE(loadProblem(path));
    EXPECT_EQ(openProblem().AYMADLARI.size(), 4);
}

// A problem opened through a link is saved into the file the link names; the link stays a link.
TEST(ProblemSaveFaults, ASaveThroughALinkReplacesTheFileItNames)
{
    test::ProblemEnvironment env;
    const QString path = savedProblem(env, "HEDEF.VKD", 2);
    const QString link = env.path("BAG.VKD");
    ASSERT_TRUE(QFile::link(path, link));
    ASSERT_TRUE(loadProblem(link));
    setProblem(6, {QStringLiteral("HP")}, {});
    ASSERT_TRUE(PROBDBFUPDATE());
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    ASSERT_TRUE(loadProblem(path));
    EXPECT_EQ(openProblem().AYMADLARI.size(), 6);
}

// Writes that fail part way (a file-size limit on the saving process, which fails a write as a full
// disk does) leave the problem file byte for byte as it was, the flags set and no copy behind; a
// limit the save stays within gives the wholly new file.
TEST(ProblemSaveFaults, AFailedWriteLeavesTheFileAsItWas)
{
    test::ProblemEnvironment env;
    test::ManualClock clock;
    test::ScriptedMessages messages; // a refused append asks Retry or Cancel: Cancel
    const QString path = savedProblem(env, "DOLU.VKD", 2);
    const qint64 size = QFileInfo(path).size();
    const QByteArray before = checksum(path);
    const struct
    {
        const char *what;
        qint64 limit;
        bool saves;
    } cases[] = {
        {"the copy itself does not fit", size - 1, false},
        {"the first appended record does not fit", size + 100, false},
        {"a later record does not fit", size + 20 * 1309, false},
        {"everything fits", 64 * 1024 * 1024, true},
    };
    for (const auto &c : cases) {
        const int status = test::runWithFileSizeLimit(c.limit, [&] {
            if (!loadProblem(path))
                return false;
            setProblem(40, {QStringLiteral("HP"), QStringLiteral("KM"), QStringLiteral("CA")},
                       {QStringLiteral("TAHIL")}, QStringLiteral("YENI"));
            const bool saved = PROBDBFUPDATE();
            if (!saved && !allDirty(openProblem()))
                ::_exit(3); // a refused save must keep every flag
            return saved;
        });
        EXPECT_EQ(status, c.saves ? 0 : 1) << c.what;
        EXPECT_TRUE(leftovers(path).isEmpty()) << c.what << ": " << leftovers(path).join(u' ').toStdString();
        if (!c.saves) {
            EXPECT_EQ(checksum(path), before) << c.what;
            continue;
        }
        ASSERT_TRUE(loadProblem(path));
        const OpenProblem &p = openProblem();
        EXPECT_EQ(p.AYMADLARI.size(), 40);
        EXPECT_EQ(p.AYMADLARI.first(), QStringLiteral("YENI1"));
        EXPECT_EQ(p.AAMAT, RowList(3, Row(40, num("1.2500"))));
        EXPECT_TRUE(p.checkInvariants().isEmpty());
    }
}

// Empty when the file holds one whole problem as the savers below write it (ingredients numbered
// from 1 under one prefix, every matrix cell that prefix's value); otherwise what is wrong.
QString wholeProblemFault(const QString &path)
{
    if (!loadProblem(path))
        return QStringLiteral("the file does not load");
    const OpenProblem &p = openProblem();
    const int n = int(p.AYMADLARI.size());
    if (n == 0)
        return QStringLiteral("no ingredients");
    const QString prefix = p.AYMADLARI.first().left(p.AYMADLARI.first().size() - 1);
    const QHash<QString, std::pair<QString, QList<int>>> kinds = {
        {QStringLiteral("YM"), {QStringLiteral("1.2500"), {2}}},
        {QStringLiteral("BIR"), {QStringLiteral("1.0000"), {30, 31, 32}}},
        {QStringLiteral("IKI"), {QStringLiteral("2.0000"), {7, 8, 9}}}};
    if (!kinds.contains(prefix) || !kinds.value(prefix).second.contains(n))
        return QStringLiteral("%1 ingredients named %2...").arg(n).arg(prefix);
    for (int i = 0; i < n; ++i) {
        if (p.AYMADLARI.at(i) != prefix + QString::number(i + 1))
            return QStringLiteral("ingredient %1 is %2 among %3").arg(i + 1).arg(p.AYMADLARI.at(i), prefix);
    }
    if (p.AAMAT != RowList(2, Row(n, num(kinds.value(prefix).first))))
        return QStringLiteral("the matrix is not %1's").arg(prefix);
    if (p.AGMAT != RowList(1, Row(n, QStringLiteral("1.0"))))
        return QStringLiteral("the membership is not %1's").arg(prefix);
    if (!p.checkInvariants().isEmpty())
        return p.checkInvariants().join(u';');
    return {};
}

// Two programs saving one problem at the same time: every save is whole, so the file is always one
// program's problem and never a mixture.
TEST(ProblemSaveFaults, TwoProcessesSavingOneFileNeverMixTheirRecords)
{
    test::ProblemEnvironment env;
    test::ManualClock clock;
    test::ScriptedMessages messages;
    const QString path = savedProblem(env, "ORTAK.VKD", 2);
    auto saver = [&](int ingredients, const QString &prefix, const QString &cell) {
        return [=] {
            if (!loadProblem(path))
                ::_exit(4);
            int saved = 0;
            // At least 25 rounds, and on until this program has had a save of its own.
            for (int round = 0; round < 25 || (saved == 0 && round < 400); ++round) {
                setProblem(ingredients + round % 3, {QStringLiteral("HP"), QStringLiteral("KM")}, {QStringLiteral("TAHIL")},
                           prefix, cell);
                QString why;
                if (PROBDBFUPDATE(&why))
                    ++saved;
                else if (!allDirty(openProblem()))
                    ::_exit(5);
                else if (!why.contains(QStringLiteral("başka bir program")))
                    ::_exit(6);
                // The other program saved since this one opened the file: a save would build on a
                // problem this program never loaded, so it is refused; a user opens the file again.
                else if (why.contains(QStringLiteral("değiştirilmiş")) && !loadProblem(path))
                    ::_exit(7);
                // A user saves now and then, not in a tight loop: the other program gets its turns.
                ::usleep(useconds_t(1000 + (round * 7919 + ingredients * 104729) % 3000));
            }
            return saved > 0;
        };
    };
    const int first = test::startChild(saver(30, QStringLiteral("BIR"), QStringLiteral("1.0000")));
    const int second = test::startChild(saver(7, QStringLiteral("IKI"), QStringLiteral("2.0000")));
    // What a third program reading the file meanwhile sees: always one whole problem.
    const QString snapshot = env.path("GORUNEN.VKD");
    QStringList seen;
    for (int look = 0; look < 150; ++look) {
        QFile f(path);
        if (f.open(QIODevice::ReadOnly)) {
            const QByteArray bytes = f.readAll();
            f.close();
            writeBytes(snapshot, bytes);
            const QString fault = wholeProblemFault(snapshot);
            if (!fault.isEmpty() && !seen.contains(fault))
                seen << fault;
        }
        ::usleep(700);
    }
    EXPECT_EQ(test::waitChild(first), 0);
    EXPECT_EQ(test::waitChild(second), 0);
    EXPECT_TRUE(seen.isEmpty()) << seen.join(u'\n').toStdString();
    QFile::remove(snapshot);
    EXPECT_TRUE(leftovers(path).isEmpty()) << leftovers(path).join(u' ').toStdString();
    EXPECT_EQ(wholeProblemFault(path), QString());
    ASSERT_TRUE(loadProblem(path));
    EXPECT_FALSE(openProblem().AYMADLARI.first().startsWith(QStringLiteral("YM"))) << "nobody saved";
}

// The fault as a user meets it: a disk with no room left (a 64 KiB tmpfs, filled up). The problem
// save, an INI value, a copy and a new table each fail and leave their file as it was; with room
// again the save goes through whole.
TEST(ProblemSaveFaults, AFullDiskLeavesEveryFileAsItWas)
{
    test::ProblemEnvironment env;
    test::ManualClock clock;
    test::ScriptedMessages messages;
    const int status = test::runOnSmallDisk(64 * 1024, [](const QString &folder) {
        bool ok = true;
        auto check = [&](bool condition, const char *what) {
            if (!condition) {
                std::fprintf(stderr, "full disk: %s\n", what);
                ok = false;
            }
        };
        const QString path = folder + QStringLiteral("/DOLU.VKD");
        const QString ini = folder + QStringLiteral("/AYAR.INI");
        check(DATAFILECREATE(nullptr, path) && DATAFOPEN(nullptr, path), "the problem file is created");
        setProblem(3, {QStringLiteral("HP"), QStringLiteral("KM")}, {QStringLiteral("TAHIL")});
        check(PROBDBFUPDATE(), "the first save");
        check(writeFileAtomically(ini, "[A]\r\nB=1\r\n"), "the INI file is written");
        {
            QFile filler(folder + QStringLiteral("/DOLGU"));
            check(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered), "the filler opens");
            const QByteArray block(4096, 'f');
            while (filler.write(block) == block.size()) {
            }
        }
        const QByteArray problemBefore = checksum(path);
        const QByteArray iniBefore = test::fileBytes(ini);

        setProblem(20, {QStringLiteral("HP"), QStringLiteral("KM")}, {QStringLiteral("TAHIL")});
        check(!PROBDBFUPDATE(), "the save is refused");
        check(allDirty(openProblem()), "the refused save keeps its flags");
        check(checksum(path) == problemBefore, "the problem file is as it was");
        check(!INIFILE(ini).SETSTRING(QStringLiteral("A"), QStringLiteral("C"), QString(300, u'x')), "the INI write fails");
        check(!SFCOPY(path, ini), "the copy fails");
        check(!DbfFileSpec(ini).create(DATAFILESTRUCT()), "the new table fails");
        check(test::fileBytes(ini) == iniBefore, "the INI file is as it was");
        check(leftovers(path).size() == 2, "no copy is left behind");

        check(QFile::remove(folder + QStringLiteral("/DOLGU")), "the filler goes");
        check(PROBDBFUPDATE(), "with room again the save goes through");
        check(loadProblem(path) && openProblem().AYMADLARI.size() == 20, "the saved file is wholly the new one");
        openProblem().reset();
        return ok;
    });
    if (status == test::kNoSmallDisk)
        GTEST_SKIP() << "this machine allows no tmpfs mount; the file-size limit tests cover the same fault";
    EXPECT_EQ(status, 0);
}

// Through the file commands a user runs: a file that would be misread is not opened and stays as it
// is; a save refused because another program saves the same file is told and keeps the changes.
TEST(ProblemFileCommandFaults, RefusedOpensAndSavesAreToldAndChangeNothing)
{
    test::ProblemEnvironment env;
    test::ScriptedMessages messages;
    QuietHost host;
    const QString cut = env.path("KESIK.VKD");
    writeBytes(cut, test::olderLayoutBytes({{{"YMADI", "A"}, {"BMADI", "HP"}, {"YMBMAT", num("1.0") + ","}},
                                            {{"YMADI", "B"}, {"YMBMAT", kPrmMarker}},
                                            {{"YMBMAT", "K,1000.00,Krş,Kg,"}}},
                                           12));
    const QString foreign = env.path("YABANCI.VKD");
    test::writeTable(foreign, {{QStringLiteral("YMADI"), u'C', 25, 0}, {QStringLiteral("FIATI"), u'N', 11, 3}}, {});
    for (const QString &path : {cut, foreign}) {
        const QByteArray before = checksum(path);
        messages.clear();
        EXPECT_FALSE(DOOPENFILE(host, path)) << path.toStdString();
        EXPECT_FALSE(openProblem().isOpen());
        ASSERT_FALSE(messages.shown().isEmpty());
        EXPECT_TRUE(messages.shown()[0].text.contains(QStringLiteral("açılamadı! : "))) << messages.shown()[0].text.toStdString();
        EXPECT_EQ(checksum(path), before);
    }

    const QString path = savedProblem(env, "KAYIT.VKD", 2);
    ASSERT_TRUE(DOOPENFILE(host, path));
    setProblem(5, {QStringLiteral("HP")}, {});
    const QByteArray before = checksum(path);
    const int other = holdSaveByte(path);
    ASSERT_GE(other, 0);
    messages.clear();
    EXPECT_FALSE(KAYDET(host));
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_TRUE(messages.shown()[0].text.contains(QStringLiteral("başka bir program tarafından kaydediliyor")));
    EXPECT_TRUE(allDirty(openProblem()));
    EXPECT_EQ(checksum(path), before);
    ::close(other);
    EXPECT_TRUE(KAYDET(host));
    EXPECT_FALSE(openProblem().anyDirty());
}

namespace {

// The copies that saves write beside the problem file: the program's own marked temporaries of it
// (leaving out the files `others` made under such names).
QStringList copiesBeside(const QString &path, const QStringList &others = {})
{
    QStringList copies;
    for (const QString &name : leftovers(path)) {
        if (isOwnTempName(name, QFileInfo(path).fileName()) && !others.contains(name))
            copies << name;
    }
    return copies;
}

QByteArray native(const QString &path)
{
    return QFile::encodeName(path);
}

} // namespace

// Another program (a second copy over a shared folder, or a second session) changed the problem file
// after this one opened it, and here only one price changed. Writing that one list onto the other
// program's file would mix two problems, and writing the whole problem would silently drop the other
// program's save: the save is refused, keeps the change and offers a save under another name, which
// writes this program's whole problem. The other program's file stays as it saved it.
TEST(ProblemFileCommandFaults, ASaveOntoAFileAnotherProgramChangedIsRefusedAndOffersSaveAs)
{
    const struct
    {
        const char *what;
        std::function<bool(const QString &)> other;
    } cases[] = {
        {"another program saved a smaller problem over it",
         [](const QString &path) {
             if (!loadProblem(path))
                 return false;
             setProblem(40, {QStringLiteral("HP"), QStringLiteral("KM")}, {QStringLiteral("TAHIL")},
                        QStringLiteral("IKI"), QStringLiteral("2.0000"));
             return PROBDBFUPDATE();
         }},
        {"another program added a record in place",
         [](const QString &path) {
             DbfTable t(path, true, false);
             return !t.status() && t.append() && t.fieldPut(QStringLiteral("BMADI"), QStringLiteral("KUL")) && t.commit();
         }},
    };
    for (const auto &c : cases) {
        test::ProblemEnvironment env;
        test::ScriptedMessages messages;
        test::ScriptedFileDialogs dialogs;
        QuietHost host;
        const QString path = savedProblem(env, "ORTAK.VKD", 85);
        ASSERT_TRUE(DOOPENFILE(host, path)) << c.what;
        ASSERT_EQ(test::runInChild([&] { return c.other(path); }), 0) << c.what;
        const QByteArray theirs = checksum(path);
        changeOnePrice(QStringLiteral("99.000"));

        messages.answer(MessageAnswer::No);
        EXPECT_FALSE(KAYDET(host)) << c.what;
        ASSERT_EQ(messages.shown().size(), 1) << c.what;
        const QString text = messages.shown()[0].text;
        EXPECT_TRUE(text.startsWith(QStringLiteral("ORTAK.VKD dosyası, bu program açtıktan sonra başka bir program "
                                                   "tarafından değiştirilmiş; değişiklikleriniz bu dosyaya kaydedilmedi.")))
            << c.what << ": " << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("Farklı Kaydet"))) << c.what;
        EXPECT_EQ(messages.shown()[0].style & MB_YESNO, unsigned(MB_YESNO)) << c.what;
        EXPECT_TRUE(openProblem().LYMDEG) << c.what;
        EXPECT_EQ(openProblem().AYMLIST[0][YMPRICE], num("99.000")) << c.what;
        EXPECT_EQ(checksum(path), theirs) << c.what;
        EXPECT_TRUE(copiesBeside(path).isEmpty()) << c.what;

        // Yes: this program's whole problem goes into a file of its own, which becomes the open one.
        const QString mine = env.path("BENIM.VKD");
        messages.clear();
        messages.answer(MessageAnswer::Yes);
        dialogs.answer(mine);
        EXPECT_TRUE(KAYDET(host)) << c.what;
        EXPECT_EQ(messages.unexpectedQuestions(), 0) << c.what;
        EXPECT_FALSE(openProblem().anyDirty()) << c.what;
        ASSERT_TRUE(openProblem().isOpen()) << c.what;
        EXPECT_EQ(QFileInfo(openProblem().OPROBDBF->path()).fileName(), QStringLiteral("BENIM.VKD")) << c.what;
        EXPECT_EQ(checksum(path), theirs) << c.what;
        ASSERT_TRUE(loadProblem(mine)) << c.what;
        const OpenProblem &p = openProblem();
        EXPECT_EQ(p.AYMADLARI.size(), 85) << c.what;
        EXPECT_EQ(p.AYMLIST[0][YMPRICE], num("99.000")) << c.what;
        EXPECT_EQ(p.AYMLIST[1][YMPRICE], num("10.000")) << c.what;
        EXPECT_EQ(p.AAMAT, RowList(2, Row(85, num("1.2500")))) << c.what;
        EXPECT_TRUE(p.checkInvariants().isEmpty()) << c.what;
        openProblem().reset();
    }
}

// The saved file keeps the owner, the group and the mode of the file it replaces: in a group-shared
// folder a colleague's save must not hand the problem to the colleague.
TEST(ProblemSaveRights, TheSavedFileKeepsItsOwnerGroupAndMode)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "only the superuser may give a file to another owner and group";
    test::ProblemEnvironment env;
    const QString path = savedProblem(env, "PAY.VKD", 3);
    ASSERT_EQ(::chown(native(path).constData(), 1234, 5678), 0);
    ASSERT_EQ(::chmod(native(path).constData(), 0640), 0);
    ASSERT_TRUE(loadProblem(path));
    changeOnePrice(QStringLiteral("12.000"));
    QString why;
    ASSERT_TRUE(PROBDBFUPDATE(&why)) << why.toStdString();
    struct stat st = {};
    ASSERT_EQ(::stat(native(path).constData(), &st), 0);
    EXPECT_EQ(st.st_uid, 1234u);
    EXPECT_EQ(st.st_gid, 5678u);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    ASSERT_TRUE(loadProblem(path));
    EXPECT_EQ(openProblem().AYMLIST[0][YMPRICE], num("12.000"));
}

// An ordinary user's save, where the system does not let the copy keep the owner (only the superuser
// gives files away) or the group (only its members may). When that would change who may write the
// problem the save is refused with the reason and the file stays as it was; when the same people may
// write it either way, it is saved.
TEST(ProblemSaveRights, AnOwnerOrGroupThatCannotBeKeptIsToldWhenItWouldChangeWhoMayWrite)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "the test acts as other users, which needs the superuser";
    constexpr uid_t kUser = 65534;
    constexpr gid_t kUserGroup = 65534;
    constexpr uid_t kOwner = 1234;
    constexpr gid_t kShared = 5678;
    const struct
    {
        const char *what;
        uid_t owner;
        mode_t mode;
        bool userInShared;
        const char *refusal; // empty when the save goes through
        uid_t ownerAfter;
        gid_t groupAfter;
    } cases[] = {
        {"a colleague in the file's group saves another user's file", kOwner, 0664, true,
         "dosyanın sahibi (1234) korunamıyor", 0, 0},
        {"the owner saves a file whose group the owner is not in", kUser, 0664, false,
         "dosyanın grubu (5678) korunamıyor", 0, 0},
        {"a file everybody may write", kOwner, 0666, false, "", kUser, kUserGroup},
        {"the user's own file in the user's group", kUser, 0664, true, "", kUser, kShared},
    };
    for (const auto &c : cases) {
        test::ProblemEnvironment env;
        const QString path = savedProblem(env, "ORTAK.VKD", 3);
        const QString folder = QFileInfo(path).absolutePath();
        ASSERT_EQ(::chmod(native(folder).constData(), 0777), 0);
        ASSERT_EQ(::chown(native(path).constData(), c.owner, kShared), 0);
        ASSERT_EQ(::chmod(native(path).constData(), c.mode), 0);
        const QByteArray before = checksum(path);
        const int status = test::runInChild([&] {
            const gid_t groups[] = {kShared};
            if (::setgroups(c.userInShared ? 1 : 0, groups) != 0 || ::setgid(kUserGroup) != 0 || ::setuid(kUser) != 0)
                ::_exit(2);
            if (!loadProblem(path))
                ::_exit(3);
            changeOnePrice(QStringLiteral("55.000"));
            QString why;
            const bool saved = PROBDBFUPDATE(&why);
            if (saved == (*c.refusal != 0) || (!saved && !why.contains(QString::fromUtf8(c.refusal)))) {
                std::fprintf(stderr, "%s: %s\n", c.what, qPrintable(why));
                ::_exit(4);
            }
            if (!saved && !openProblem().LYMDEG)
                ::_exit(5);
            return true;
        });
        EXPECT_EQ(status, 0) << c.what;
        EXPECT_TRUE(copiesBeside(path).isEmpty()) << c.what;
        struct stat st = {};
        ASSERT_EQ(::stat(native(path).constData(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, c.mode) << c.what;
        if (*c.refusal) {
            EXPECT_EQ(checksum(path), before) << c.what;
            EXPECT_EQ(st.st_uid, c.owner) << c.what;
            EXPECT_EQ(st.st_gid, kShared) << c.what;
            continue;
        }
        EXPECT_EQ(st.st_uid, c.ownerAfter) << c.what;
        EXPECT_EQ(st.st_gid, c.groupAfter) << c.what;
        ASSERT_TRUE(loadProblem(path)) << c.what;
        EXPECT_EQ(openProblem().AYMLIST[0][YMPRICE], num("55.000")) << c.what;
        openProblem().reset();
    }
}

// A file the user may write in a folder where the user may create no file cannot be saved by
// writing a new file and renaming it: the message says that the folder is not writable.
TEST(ProblemSaveRights, AFolderThatTakesNoNewFileIsNamed)
{
    test::ProblemEnvironment env;
    const QString folder = env.path("SALT");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString path = savedProblem(env, "SALT/YAZ.VKD", 3);
    ASSERT_EQ(::chmod(native(QFileInfo(folder).absolutePath()).constData(), 0755), 0);
    ASSERT_EQ(::chmod(native(path).constData(), 0666), 0);
    ASSERT_EQ(::chmod(native(folder).constData(), 0555), 0);
    const QByteArray before = checksum(path);
    {
        test::OrdinaryFileRights user;
        ASSERT_TRUE(loadProblem(path));
        changeOnePrice(QStringLiteral("77.000"));
        QString why;
        EXPECT_FALSE(PROBDBFUPDATE(&why));
        EXPECT_TRUE(why.startsWith(QStringLiteral("Problem dosyasının bulunduğu klasöre yazılamıyor (")))
            << why.toStdString();
        EXPECT_TRUE(why.contains(QStringLiteral("/SALT: "))) << why.toStdString();
        EXPECT_FALSE(why.contains(QStringLiteral("kopya"))) << why.toStdString();
        EXPECT_TRUE(openProblem().LYMDEG);
        openProblem().reset();
    }
    EXPECT_EQ(checksum(path), before);
    ::chmod(native(folder).constData(), 0755);
}

// Saves and "Farklı Kaydet"s killed at random moments (and one that died between writing its copy and
// renaming it) leave their hidden copies behind; the next opening of the file removes them, since
// their writers are gone, and the file is always wholly one of the saved problems. Other programs'
// and other users' files beside it, some named much like the copies, are never touched.
TEST(ProblemSaveFaults, CopiesOfKilledSavesAreRemovedWhenTheFileIsNextOpened)
{
    test::ProblemEnvironment env;
    const QString path = savedProblem(env, "KESIK.VKD", 2);
    const QString other = savedProblem(env, "DIGER.VKD", 2);
    const test::ForeignFiles foreign(QFileInfo(path).absolutePath(), QStringLiteral("KESIK.VKD"));
    ASSERT_EQ(test::runInChild([&] {
        if (!loadProblem(path))
            return false;
        setProblem(30, {QStringLiteral("HP"), QStringLiteral("KM")}, {QStringLiteral("TAHIL")}, QStringLiteral("BIR"),
                   QStringLiteral("1.0000"));
        if (!openProblem().OPROBDBF->beginReplacement())
            return false;
        ::_exit(0); // dies with the copy written and locked
    }),
              0);
    ASSERT_EQ(copiesBeside(path, foreign.names()).size(), 1);

    // Each round one saver: it saves the open file again and again, or saves it under the other
    // file's name and back again with "Farklı Kaydet", answering Yes to the overwrite question.
    const auto nextProblem = [](int i) {
        const bool odd = i % 2 != 0;
        setProblem(odd ? 30 : 7, {QStringLiteral("HP"), QStringLiteral("KM")}, {QStringLiteral("TAHIL")},
                   odd ? QStringLiteral("BIR") : QStringLiteral("IKI"),
                   odd ? QStringLiteral("1.0000") : QStringLiteral("2.0000"));
    };
    std::mt19937 random(20261211);
    for (int round = 0; round < 40; ++round) {
        const bool saveAs = round % 2 != 0;
        const int pid = test::startChild([&] {
            if (!loadProblem(path))
                return false;
            test::ScriptedMessages messages;
            test::ScriptedFileDialogs dialogs;
            QuietHost host;
            for (int i = 0;; ++i) {
                nextProblem(i);
                if (!saveAs && !PROBDBFUPDATE())
                    return false;
                if (!saveAs)
                    continue;
                dialogs.answer(i % 2 == 0 ? other : path);
                messages.answer(MessageAnswer::Yes);
                if (!FKAYDET(host))
                    return false;
            }
        });
        ASSERT_GT(pid, 0);
        // A "Farklı Kaydet" saves the open file first: it is given longer to reach its own copy.
        ::usleep(useconds_t(saveAs ? 5000 + random() % 120000 : 2000 + random() % 25000));
        ::kill(pid_t(pid), SIGKILL);
        EXPECT_EQ(test::waitChild(pid), -1) << "round " << round << ": the saver ended by itself";
    }
    for (const QString &file : {path, other}) {
        EXPECT_EQ(wholeProblemFault(file), QString()) << file.toStdString(); // opens the file
        openProblem().reset();
        const QStringList copies = copiesBeside(file, foreign.names());
        EXPECT_TRUE(copies.isEmpty()) << copies.join(u' ').toStdString();
    }
    EXPECT_EQ(foreign.damage().toStdString(), "");
    QStringList left = leftovers(path);
    for (const QString &name : foreign.names() + QStringList{"DIGER.VKD", "linked.txt"})
        left.removeAll(name);
    EXPECT_TRUE(left.isEmpty()) << left.join(u' ').toStdString();
}

// A copy whose writer is at work is never removed: not while a save of the file runs in another
// program, and not while any process holds the lock that a writer keeps on its copy. Files that only
// look like copies stay.
TEST(ProblemSaveFaults, ACopyThatAWriterHoldsIsLeftAlone)
{
    test::ProblemEnvironment env;
    const QString path = savedProblem(env, "CALISAN.VKD", 2);
    int go[2];
    int ready[2];
    ASSERT_EQ(::pipe(go), 0);
    ASSERT_EQ(::pipe(ready), 0);
    const int pid = test::startChild([&] {
        DBSERVERR t(path, true, false);
        if (t.status() || !t.beginReplacement() || !t.goTop() || !t.fieldPut(QStringLiteral("YMADI"), QStringLiteral("YENI")))
            return false;
        char c = 'r';
        if (::write(ready[1], &c, 1) != 1 || ::read(go[0], &c, 1) != 1)
            return false;
        return t.finishReplacement();
    });
    // Only the child writes to `ready` and reads `go`: a child that fails early ends the wait.
    ::close(ready[1]);
    ::close(go[0]);
    char c = 0;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    ASSERT_EQ(copiesBeside(path).size(), 1);
    ASSERT_TRUE(loadProblem(path));
    EXPECT_EQ(copiesBeside(path).size(), 1) << "an opening removed the copy of a running save";
    changeOnePrice(QStringLiteral("1.000"));
    QString why;
    EXPECT_FALSE(PROBDBFUPDATE(&why));
    EXPECT_TRUE(why.contains(QStringLiteral("başka bir program tarafından kaydediliyor"))) << why.toStdString();
    EXPECT_EQ(copiesBeside(path).size(), 1) << "a save removed the copy of a running save";
    openProblem().reset();
    ASSERT_EQ(::write(go[1], &c, 1), 1);
    EXPECT_EQ(test::waitChild(pid), 0);
    ::close(go[1]);
    ::close(ready[0]);
    EXPECT_TRUE(copiesBeside(path).isEmpty());
    ASSERT_TRUE(loadProblem(path));
    EXPECT_EQ(openProblem().AYMADLARI.first(), QStringLiteral("YENI"));
    openProblem().reset();

    // Only the writer's lock on its copy tells that it is at work, and only the program's own marked
    // copies are ever removed: rsync's transfer copy ".CALISAN.VKD.Ab12Cd", unlocked, stays too.
    const QString held = env.path(".CALISAN.VKD.vexo-tmp-Ab12Cd");
    const QStringList lookalikes = {".CALISAN.VKD.Ab12Cd", ".CALISAN.VKD.part", "CALISAN.VKD.Ab12Cd",
                                    ".CALISAN.VKD.Ab12Cd7", ".BASKA.VKD.Ab12Cd", ".CALISAN.VKD.Ab-2Cd"};
    for (const QString &name : lookalikes)
        writeBytes(env.path(name), "x");
    writeBytes(held, "x");
    const int holder = ::open(native(held).constData(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(::flock(holder, LOCK_EX | LOCK_NB), 0);
    ASSERT_TRUE(loadProblem(path));
    openProblem().reset();
    EXPECT_TRUE(QFileInfo::exists(held));
    ::close(holder);
    ASSERT_TRUE(loadProblem(path));
    openProblem().reset();
    EXPECT_FALSE(QFileInfo::exists(held));
    for (const QString &name : lookalikes)
        EXPECT_TRUE(QFileInfo::exists(env.path(name))) << name.toStdString();
}

// Every operation on a problem file that sweeps the copies killed saves left (opening it, saving
// it, "Farklı Kaydet" onto it, the older layout's conversion, any whole-file write) removes only
// the program's own unheld copies; other programs' and other users' files beside it stay as they
// are, whatever their names.
TEST(ProblemSaveFaults, ForeignFilesBesideAProblemSurviveEveryOperation)
{
    test::ProblemEnvironment env;
    test::ScriptedMessages messages;
    test::ScriptedFileDialogs dialogs;
    QuietHost host;
    const QString path = savedProblem(env, "CALISAN.VKD", 2);
    const QString other = savedProblem(env, "DIGER.VKD", 3);
    const QString older = env.path("ESKI.VKD");
    const test::ForeignFiles foreign(QFileInfo(path).absolutePath(), QStringLiteral("CALISAN.VKD"));
    const QString leftover = env.path(".CALISAN.VKD.vexo-tmp-Le12Ft");
    const struct
    {
        const char *what;
        std::function<bool()> operation;
    } cases[] = {
        {"opening", [&] { return loadProblem(path); }},
        {"saving",
         [&] {
             if (!loadProblem(path))
                 return false;
             changeOnePrice(QStringLiteral("2.000"));
             return PROBDBFUPDATE();
         }},
        {"Farklı Kaydet onto it",
         [&] {
             if (!DOOPENFILE(host, other))
                 return false;
             dialogs.answer(path);
             messages.answer(MessageAnswer::Yes);
             return FKAYDET(host);
         }},
        {"converting the older layout into it",
         [&] {
             DbfStructure fields;
             for (const DbfField &f : DATAFILESTRUCT())
                 if (f.name != u"YMSTOKVY" && !f.name.endsWith(QStringLiteral("KCOZUM")))
                     fields.append(f);
             test::writeTable(older, fields, {{{"YMADI", "A"}, {"BMADI", "HP"}, {"YMBMAT", num("9.5") + "," + num("1.5") + ","}},
                                              {{"YMADI", "B"}, {"YMBMAT", kPrmMarker}},
                                              {{"YMBMAT", "K,1000.00,Krş,Kg,"}}});
             return QFile::remove(path) && QFile::rename(older, path) && DOOPENFILE(host, path);
         }},
        {"writing it whole", [&] { return SFCOPY(other, path); }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        openProblem().reset();
        writeBytes(leftover, "left by a save that was killed");
        messages.clear();
        EXPECT_TRUE(c.operation());
        openProblem().reset();
        EXPECT_TRUE(messages.shown().size() <= 1) << messages.shown().size(); // only the overwrite question
        EXPECT_FALSE(QFileInfo::exists(leftover));
        EXPECT_EQ(foreign.damage().toStdString(), "");
        QStringList left = leftovers(path);
        for (const QString &name : foreign.names() + QStringList{"DIGER.VKD", "linked.txt"})
            left.removeAll(name);
        EXPECT_TRUE(left.isEmpty()) << left.join(u' ').toStdString();
    }
}

// A write that fails for want of room cannot clear by waiting: the save fails at once with one
// message, without the silent retries and the Retry/Cancel box that a lock held elsewhere gets.
TEST(ProblemFileCommandFaults, AFullDiskFailsTheSaveAtOnceWithOneMessage)
{
    test::ProblemEnvironment env;
    const QString path = savedProblem(env, "DOLU.VKD", 2);
    const QByteArray before = checksum(path);
    const int status = test::runWithFileSizeLimit(QFileInfo(path).size() + 100, [&] {
        test::ManualClock clock;
        test::ScriptedMessages messages;
        QuietHost host;
        if (!DOOPENFILE(host, path))
            ::_exit(3);
        setProblem(40, {QStringLiteral("HP"), QStringLiteral("KM")}, {QStringLiteral("TAHIL")});
        if (KAYDET(host))
            ::_exit(4);
        for (const MessageRequest &m : messages.shown())
            std::fprintf(stderr, "box: %s\n", qPrintable(m.text));
        std::fprintf(stderr, "waits: %d\n", clock.sleeps());
        return clock.sleeps() == 0 && messages.shown().size() == 1 && messages.unexpectedQuestions() == 0
               && messages.shown()[0].text.startsWith(QStringLiteral("Problem dosyasına yazılamadı; değişiklikler kaydedilmedi. : "))
               && allDirty(openProblem());
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(checksum(path), before);
    EXPECT_TRUE(leftovers(path).isEmpty()) << leftovers(path).join(u' ').toStdString();
}
