#include "problem_fixture.h"

#include "platform/dbf_table.h"
#include "problem/app_globals.h"
#include "problem/dbserverr.h"
#include "problem/open_problem.h"
#include "problem/problem_file.h"
#include "problem/problem_loader.h"
#include "problem/problem_saver.h"
#include "scripted_messages.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace vexo;
using vexo::test::Record;

namespace {

QString num(const QString &text) { return text.rightJustified(11, u' '); }
const QString B11(11, u' ');

bool load(const QString &path)
{
    openProblem().reset();
    if (!DATAFOPEN(nullptr, path))
        return false;
    return AKTPRODIZOLUSTUR(nullptr);
}

} // namespace

TEST(ProblemFile, StructureHas25FieldsAndA1309ByteRecord)
{
    const DbfStructure s = DATAFILESTRUCT();
    ASSERT_EQ(s.size(), 25);
    int record = 1;
    for (const DbfField &f : s) {
        EXPECT_EQ(f.decimals, 0);
        record += f.width;
    }
    EXPECT_EQ(record, 1309);
    EXPECT_EQ(s.first(), (DbfField{QStringLiteral("YMADI"), u'C', 25, 0}));
    EXPECT_EQ(s.at(6), (DbfField{QStringLiteral("YMSTOKVY"), u'L', 1, 0}));
    EXPECT_EQ(s.last(), (DbfField{QStringLiteral("YMBMAT"), u'C', 1020, 0}));
}

TEST(ProblemFile, YmbmatDecodingAndMarkers)
{
    const QString two = num("1.0000") + u',' + num("2.5000") + u',' + QStringLiteral("abc");
    EXPECT_EQ(decodeYmbmat(two), (QStringList{num("1.0000"), num("2.5000")}));
    EXPECT_TRUE(decodeYmbmat(QStringLiteral("no comma")).isEmpty());
    EXPECT_EQ(decodeYmbmat(QStringLiteral(",,")), (QStringList{QString(), QString()}));
    EXPECT_TRUE(isMarker(QStringLiteral("  Prm_Bilgileri_Kaydi   "), kPrmMarker));
    EXPECT_FALSE(isMarker(QStringLiteral("Prm_Bilgileri_Kaydi,"), kPrmMarker));
    EXPECT_EQ(encodeYmbmat({QStringLiteral("a")}, 3), QStringLiteral("a,,,"));
}

TEST(ProblemFile, CreateFailureAndExclusiveHolderAreReported)
{
    test::ProblemEnvironment env;
    test::ScriptedMessages messages;
    EXPECT_FALSE(DATAFILECREATE(nullptr, env.path("yok/klasor/A.VKD")));
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown()[0].text, QStringLiteral("A.VKD dosyası oluşturulamadı..."));
    EXPECT_EQ(messages.shown()[0].caption, QStringLiteral("Hata..."));

    const QString path = env.path("TUTULAN.VKD");
    ASSERT_TRUE(DATAFILECREATE(nullptr, path));
    DbfTable holder(path, false, false); // exclusive
    ASSERT_FALSE(holder.status().has_value());
    messages.clear();
    EXPECT_FALSE(DATAFOPEN(nullptr, path));
    EXPECT_FALSE(openProblem().isOpen());
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_TRUE(messages.shown()[0].text.startsWith(QStringLiteral("TUTULAN.VKD veri dosyası açılamadı! : ")))
        << messages.shown()[0].text.toStdString();
}

TEST(ProblemLoader, UnitConversionsRenamesAndSkippedRecords)
{
    test::ProblemEnvironment env;
    const QString path = env.path("YUKLE.VKD");
    QList<Record> recs(6);
    recs[0] = {{"YMADI", "Mısır"}, {"YMFIAT", num("0.300")}, {"YMSTOKVY", true}, {"YMKCOZUM", num("55.000")},
               {"BMADI", "ME_KA"}, {"BMBIRIM", "KCAL/KG"}, {"BMALTLIM", num("2850.0000")},
               {"BMADIA", "KALSIYUM"}, {"GADI", "TAHIL"}, {"GSABIT", num("40.000")},
               {"YMBMAT", num("3100.0000") + "," + B11 + "," + num("2800.0000") + ","}};
    recs[1] = {{"YMADI", "Soya"}, {"YMSTOKVY", false}, {"BMADI", "Ağırlık"}, {"BMBIRIM", "Kg/Kg"},
               {"BMSABIT", num("2875.5")}, {"YMBMAT", "1,1,1,"}};
    recs[2] = {{"BMADI", "KMO"}, {"BMBIRIM", "%"}, {"BMADIA", "KMO"}, {"BMADIB", "ME_KA"},
               {"YMBMAT", "88,89,90,"}};
    recs[3] = {{"YMADI", "Arpa"}, {"BMADI", "me_ka"}, {"BMBIRIM", "KCAL/KG"}, {"BMALTLIM", num("2600.0000")},
               {"YMBMAT", "2600,2700,2800,"}};
    recs[4] = {{"YMBMAT", kPrmMarker}};
    recs[5] = {{"YMBMAT", "K,1000.00,TL,Kg," + QString(40, u' ') + "," + QString(40, u' ') + ","
                              + QString(40, u' ') + "," + num("12.345") + ","}};
    test::writeProblemFile(path, recs);
    ASSERT_TRUE(load(path));
    OpenProblem &p = openProblem();
    // Renaming the dry matter leaves the ratios as stored, so the ratio on "KMO" names no nutrient;
    // the file's group has no membership row (no group marker), which the check reports too.
    EXPECT_EQ(p.checkInvariants(), (QStringList{"membership rows differ from the groups",
                                                "a ratio names a nutrient the problem does not have"}));

    EXPECT_EQ(p.AYMADLARI, (QStringList{"Mısır", "Soya", "Arpa"}));
    EXPECT_EQ(p.AYMSTOK, (QList<bool>{true, false, false}));
    EXPECT_EQ(p.AYMLIST[0][YMNAME], QStringLiteral("Mısır").leftJustified(25));
    EXPECT_EQ(p.AYMLIST[0][YMKCOZUM], num("55.000") + u' '); // the file field is 12 wide
    EXPECT_EQ(p.AYMLIST[0].size(), 11);

    EXPECT_EQ(p.ABMADLARI, (QStringList{"ME_KA", "AĞIRLIK", "KM", "me_ka"}));
    EXPECT_EQ(p.ABMBIRIMLERI[0], QStringLiteral("MCal/Kg"));
    EXPECT_EQ(p.ABMLIST[0][BMUNIT], QStringLiteral("MCal/Kg    "));
    EXPECT_EQ(p.ABMLIST[0][BMLLIMIT], QStringLiteral("     2.8500"));
    EXPECT_EQ(p.ABMLIST[0][BMULIMIT], B11);
    EXPECT_EQ(p.ABMLIST[1][BMNAME], QStringLiteral("AĞIRLIK        "));
    EXPECT_EQ(p.ABMLIST[1][BMFIX], num("2875.5")); // not a converted nutrient
    EXPECT_EQ(p.ABMLIST[3][BMLLIMIT], num("2600.0000")); // names compare exactly
    EXPECT_EQ(p.ABMLIST[0].size(), 12);
    EXPECT_EQ(p.ADONUSENBM, QStringList{"ME_KA"});
    EXPECT_EQ(p.AAMAT[0], (QStringList{"     3.1000", B11, "     2.8000"}));
    EXPECT_EQ(p.AAMAT[3], (QStringList{"2600", "2700", "2800"}));

    // The ratio with only one name is skipped; the renamed KM is not renamed in ratios.
    ASSERT_EQ(p.ABMOLIST.size(), 1);
    EXPECT_EQ(p.ABMOLIST[0][BMONAME1].trimmed(), QStringLiteral("KMO"));
    EXPECT_EQ(p.AYMGADLARI, QStringList{"TAHIL"});
    EXPECT_TRUE(p.AGMAT.isEmpty());
    EXPECT_DOUBLE_EQ(p.NKAYITLIMALIYET, 12.345);
    // The converted units and rows must be saved together.
    EXPECT_TRUE(p.LBMDEG);
    EXPECT_TRUE(p.LAMATDEG);
}

// The saved solution's levels are set against the next solve's ("K. Çözüm", "Fark-II"): a converted
// row's saved level and a ratio over it come in the row's new unit, and are saved in it.
TEST(ProblemLoader, SavedLevelsFollowTheirConvertedRows)
{
    test::ProblemEnvironment env;
    const QString path = env.path("KAYITLI.VKD");
    QList<Record> recs(3);
    recs[0] = {{"YMADI", "Mısır"}, {"YMFIAT", num("0.300")}, {"BMADI", "ME_KA"}, {"BMBIRIM", "kcal/kg"},
               {"BMALTLIM", num("2850.0000")}, {"BMKCOZUM", num("2900.0000")},
               {"BMADIA", "ME_KA"}, {"BMADIB", "HP"}, {"OALTLIM", num("130.0000")},
               {"OKCOZUM", num("135.0000")}, {"YMBMAT", num("3100.0000") + "," + num("2500.0000") + ","}};
    recs[1] = {{"YMADI", "Soya"}, {"BMADI", "HP"}, {"BMBIRIM", "%"}, {"BMKCOZUM", num("21.5000")},
               {"BMADIA", "HP"}, {"BMADIB", "ME_KA"}, {"OUSTLIM", num("0.0080")},
               {"OKCOZUM", num("0.0074")}, {"YMBMAT", num("8.0000") + "," + num("44.0000") + ","}};
    recs[2] = {{"YMBMAT", kPrmMarker}};
    test::writeProblemFile(path, recs);
    ASSERT_TRUE(load(path));
    const OpenProblem &p = openProblem();
    ASSERT_EQ(p.ABMLIST.size(), 2);
    EXPECT_EQ(p.ABMLIST[0][BMLLIMIT], QStringLiteral("     2.8500"));
    EXPECT_EQ(p.ABMLIST[0][BMKCOZUM], QStringLiteral("     2.9000"));
    EXPECT_EQ(p.ABMLIST[1][BMKCOZUM], num("21.5000")); // a row that was not converted
    ASSERT_EQ(p.ABMOLIST.size(), 2);
    EXPECT_EQ(p.ABMOLIST[0][BMOLLIMIT], QStringLiteral("     0.1300"));
    EXPECT_EQ(p.ABMOLIST[0][BMOKCOZUM], QStringLiteral("     0.1350"));
    EXPECT_EQ(p.ABMOLIST[1][BMOULIMIT], QStringLiteral("     8.0000"));
    EXPECT_EQ(p.ABMOLIST[1][BMOKCOZUM], QStringLiteral("     7.4000"));
}

// A group record stored without a name is no group: its membership row leaves with it, so the group
// after it keeps its own members.
TEST(ProblemLoader, AGroupRecordWithoutANameTakesItsMembershipRowAlong)
{
    test::ProblemEnvironment env;
    const QString path = env.path("GRUPLAR.VKD");
    QList<Record> recs = {
        {{"YMADI", "MISIR"}, {"BMADI", "HP"}, {"GADI", "TAHIL"}, {"GUSTLIM", num("65.000")},
         {"YMBMAT", num("8.5") + "," + num("44") + "," + num("11.5") + ","}},
        {{"YMADI", "SOYA"}, {"GALTLIM", num("70.000")}, {"YMBMAT", kPrmMarker}},
        {{"YMADI", "ARPA"}, {"GADI", "KARMA"}, {"GALTLIM", num("75.000")}, {"YMBMAT", "K,1000.00,Krş,Kg,"}},
        {{"YMBMAT", kGrupMarker}},
        {{"YMBMAT", "1.0,0.0,1.0,"}},
        {{"YMBMAT", "0.0,1.0,1.0,"}},
        {{"YMBMAT", "1.0,1.0,0.0,"}},
    };
    test::writeProblemFile(path, recs);
    ASSERT_TRUE(load(path));
    const OpenProblem &p = openProblem();
    EXPECT_EQ(p.AYMGADLARI, (QStringList{"TAHIL", "KARMA"}));
    ASSERT_EQ(p.AYMGLIST.size(), 2);
    EXPECT_EQ(p.AYMGLIST[1][YMGLLIMIT], num("75.000"));
    EXPECT_EQ(p.AGMAT, (RowList{{"1.0", "0.0", "1.0"}, {"1.0", "1.0", "0.0"}}));
    EXPECT_TRUE(p.checkInvariants().isEmpty()) << p.checkInvariants().join(u',').toStdString();
}

TEST(ProblemLoader, ConversionOfAMinimumKeepsFourDecimals)
{
    test::ProblemEnvironment env;
    const QString path = env.path("DONUSUM.VKD");
    test::writeProblemFile(path, {{{"BMADI", "ME_RU"}, {"BMBIRIM", "kcal/kg"}, {"BMALTLIM", num("2875.5")},
                                   {"BMUSTLIM", num("3000")}, {"YMADI", "A"}, {"YMBMAT", num("1") + ","}},
                                  {{"BMADI", "KOLIN"}, {"BMBIRIM", "MG/KG"}, {"BMSABIT", num("1500")},
                                   {"YMBMAT", num("1500") + ","}},
                                  {{"BMADI", "DEMIR"}, {"BMBIRIM", "g/Kg"}, {"BMSABIT", num("1500")},
                                   {"YMBMAT", num("7") + ","}},
                                  {{"YMBMAT", kPrmMarker}}});
    ASSERT_TRUE(load(path));
    OpenProblem &p = openProblem();
    EXPECT_EQ(p.ABMLIST[0][BMLLIMIT], QStringLiteral("     2.8755"));
    EXPECT_EQ(p.ABMLIST[0][BMULIMIT], QStringLiteral("     3.0000"));
    EXPECT_EQ(p.ABMLIST[1][BMUNIT], QStringLiteral("g/Kg       "));
    EXPECT_EQ(p.ABMLIST[1][BMFIX], QStringLiteral("     1.5000"));
    EXPECT_EQ(p.ABMLIST[2][BMFIX], num("1500")); // already g/Kg
    EXPECT_EQ(p.AAMAT[0], QStringList{"     0.0010"});
    EXPECT_EQ(p.AAMAT[1], QStringList{"     1.5000"});
    EXPECT_EQ(p.AAMAT[2], QStringList{num("7")}); // already g/Kg
    EXPECT_TRUE(p.APARMLIST.isEmpty());
    EXPECT_EQ(p.NKAYITLIMALIYET, 0.0);
}

TEST(ProblemLoader, OlderLayoutWithoutStockAndSavedSolutions)
{
    test::ProblemEnvironment env;
    const QString path = env.path("ESKI.VKD");
    const QByteArray bytes = test::olderLayoutBytes({{{"YMADI", "A"}, {"BMADI", "HP"}, {"YMBMAT", num("9.5") + "," + num("1.5") + ","}},
                                                     {{"YMADI", "B"}, {"YMBMAT", kPrmMarker}},
                                                     {{"YMBMAT", "K,1000.00,Krş,Kg,"}}});
    ASSERT_EQ(bytes.size(), 32 + 20 * 32 + 1 + 3 * (1 + 242 + 1020) + 1);
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_EQ(f.write(bytes), bytes.size());
    }
    ASSERT_TRUE(load(path));
    OpenProblem &p = openProblem();
    EXPECT_EQ(p.AYMADLARI, (QStringList{"A", "B"}));
    EXPECT_EQ(p.AAMAT, (RowList{{num("9.5"), num("1.5")}}));
    EXPECT_EQ(p.AYMSTOK, (QList<bool>{true, true}));
    EXPECT_EQ(p.AYMLIST[0][YMKCOZUM], B11);
    EXPECT_EQ(p.ABMLIST[0][BMKCOZUM], B11);
    EXPECT_EQ(p.APARMLIST, (QStringList{"K", "1000.00", "Krş", "Kg"}));
}

TEST(ProblemSaver, TwoNutrientsThreeIngredientsOneGroupLayout)
{
    test::ProblemEnvironment env;
    const QString path = env.path("YERLESIM.VKD");
    ASSERT_TRUE(DATAFILECREATE(nullptr, path));
    ASSERT_TRUE(DATAFOPEN(nullptr, path));
    EXPECT_EQ(PROBFILENAME(), QStringLiteral("YERLESIM"));
    EXPECT_EQ(PROBFILEBASE() + QStringLiteral(".VKD"), path);
    OpenProblem &p = openProblem();
    for (const char *n : {"Mısır", "Soya", "Arpa"}) {
        p.AYMADLARI << QString::fromUtf8(n);
        p.AYMLIST << Row{QString::fromUtf8(n).leftJustified(25), num("0.250"), B11, B11, B11, B11, B11, B11, B11, B11, B11};
        p.AYMSTOK << true;
    }
    for (const char *n : {"HP", "KM"}) {
        p.ABMADLARI << QString::fromLatin1(n);
        p.ABMBIRIMLERI << "%";
        p.ABMLIST << Row{QString::fromLatin1(n).leftJustified(15), QStringLiteral("%").leftJustified(11), B11,
                         num("10.0000"), B11, B11, B11, B11, B11, B11, B11, B11};
        p.AAMAT << Row{num("8.5000"), num("44.0000"), num("11.0000")};
    }
    p.AYMGADLARI << "TAHIL";
    p.AYMGLIST << Row{QStringLiteral("TAHIL").leftJustified(25), B11, B11, num("60.000"), B11, B11, B11, B11, B11, B11};
    p.AGMAT << Row{"1.0", "0.0", "1.0"};
    p.APARMLIST = {"K", "1000.00", "Krş", "Kg", QString(40, u' '), QString(40, u' '), QString(40, u' '), B11};
    p.setAllDirty(true);
    ASSERT_TRUE(PROBDBFUPDATE());
    EXPECT_FALSE(p.anyDirty());
    p.reset();

    const QList<Record> recs = test::readTable(path);
    ASSERT_EQ(recs.size(), 6);
    EXPECT_EQ(recs[0]["YMBMAT"].toString().lastIndexOf(u',') + 1, 36);
    EXPECT_TRUE(recs[0]["YMBMAT"].toString().mid(36).trimmed().isEmpty());
    EXPECT_EQ(recs[2]["YMBMAT"].toString().trimmed(), kPrmMarker);
    EXPECT_TRUE(recs[3]["YMBMAT"].toString().startsWith(QStringLiteral("K,1000.00,Krş,Kg,")));
    EXPECT_EQ(recs[4]["YMBMAT"].toString().trimmed(), kGrupMarker);
    EXPECT_EQ(recs[5]["YMBMAT"].toString().trimmed(), QStringLiteral("1.0,0.0,1.0,"));
    for (int r = 0; r < 6; ++r) {
        EXPECT_EQ(recs[r]["YMADI"].toString().trimmed().isEmpty(), r >= 3) << r;
        EXPECT_EQ(recs[r]["BMADI"].toString().trimmed().isEmpty(), r >= 2) << r;
    }

    ASSERT_TRUE(load(path));
    EXPECT_EQ(openProblem().AAMAT.size(), 2);
    EXPECT_EQ(openProblem().AAMAT[1][1], num("44.0000"));
    EXPECT_EQ(openProblem().AGMAT, (RowList{{"1.0", "0.0", "1.0"}}));
    EXPECT_EQ(openProblem().AYMGLIST[0][YMGULIMIT], num("60.000"));
    EXPECT_EQ(openProblem().AYMGLIST[0][YMGNAME], QStringLiteral("TAHIL").leftJustified(15));
}

TEST(ProblemSaver, OnlyTheDirtyPartChangesAndShrunkListsAreBlanked)
{
    test::ProblemEnvironment env;
    const QString path = env.path("KIRLI.VKD");
    QList<Record> recs;
    for (int i = 1; i <= 5; ++i)
        recs.append({{"YMADI", QStringLiteral("YM%1").arg(i)}, {"YMSTOKVY", true},
                     {"BMADI", QStringLiteral("BM%1").arg(i)}, {"BMBIRIM", "%"},
                     {"YMBMAT", QStringLiteral("%1,").arg(num("1.0000")).repeated(5)}});
    recs.append({{"YMBMAT", kPrmMarker}});
    recs.append({{"YMBMAT", QStringLiteral("K,1000.00,TL,Kg,")}});
    test::writeProblemFile(path, recs);
    ASSERT_TRUE(load(path));
    OpenProblem &p = openProblem();
    const QByteArray before = test::fileBytes(path);

    // Only the nutrient list: three rows remain.
    p.deleteNutrient(5);
    p.deleteNutrient(4);
    p.ABMLIST[0][BMLLIMIT] = num("1.0000");
    p.LAMATDEG = false;
    p.LBMODEG = false;
    ASSERT_TRUE(p.LBMDEG);
    ASSERT_TRUE(PROBDBFUPDATE());
    const QByteArray after = test::fileBytes(path);
    ASSERT_EQ(before.size(), after.size());
    const int header = 32 + 32 * 25 + 1;
    const int bmStart = 86, bmEnd = 156; // the nutrient fields' bytes within a record
    for (int i = 0; i < after.size(); ++i) {
        if (before[i] == after[i])
            continue;
        if (i < 32) // record count and date of the header
            continue;
        ASSERT_GE(i, header) << "header byte " << i << " changed";
        const int offset = (i - header) % 1309;
        ASSERT_TRUE(offset >= bmStart && offset < bmEnd) << "byte " << offset << " of a record changed";
    }
    p.reset();
    const QList<Record> saved = test::readTable(path);
    EXPECT_EQ(saved[2]["BMADI"].toString().trimmed(), QStringLiteral("BM3"));
    EXPECT_TRUE(saved[3]["BMADI"].toString().trimmed().isEmpty());
    EXPECT_TRUE(saved[4]["BMBIRIM"].toString().trimmed().isEmpty());
    EXPECT_EQ(saved[4]["YMADI"].toString().trimmed(), QStringLiteral("YM5"));
}

TEST(ProblemSaver, GrowingListsAppendRecordsAndEmptyListsBlank)
{
    test::ProblemEnvironment env;
    const QString path = env.path("BUYU.VKD");
    test::writeProblemFile(path, {{{"BMADI", "HP"}, {"YMADI", "A"}, {"YMBMAT", num("1") + "," + num("2") + ","}},
                                  {{"BMADI", "KM"}, {"YMADI", "B"}, {"YMBMAT", num("3") + "," + num("4") + ","}}});
    ASSERT_TRUE(load(path));
    OpenProblem &p = openProblem();
    for (const char *n : {"C", "D"}) {
        p.AYMADLARI << QString::fromLatin1(n);
        p.AYMLIST << Row{QString::fromLatin1(n).leftJustified(25), B11, B11, B11, B11, B11, B11, B11, B11, B11, B11};
        p.AYMSTOK << true;
    }
    p.AAMAT.clear();
    p.setAllDirty(false);
    p.LYMDEG = true;
    ASSERT_TRUE(PROBDBFUPDATE());
    QList<Record> recs = test::readTable(path);
    ASSERT_EQ(recs.size(), 4);
    EXPECT_EQ(recs[3]["YMADI"].toString().trimmed(), QStringLiteral("D"));
    EXPECT_TRUE(recs[3]["BMADI"].toString().trimmed().isEmpty());

    // An empty list blanks every record's fields of its group.
    p.AYMLIST.clear();
    p.AYMADLARI.clear();
    p.AYMSTOK.clear();
    p.LYMDEG = true;
    ASSERT_TRUE(PROBDBFUPDATE());
    recs = test::readTable(path);
    for (const Record &r : recs)
        EXPECT_TRUE(r["YMADI"].toString().trimmed().isEmpty());
    p.reset();

    // Into a table without records one blank record is created.
    const QString empty = env.path("BOS.VKD");
    ASSERT_TRUE(DATAFILECREATE(nullptr, empty));
    ASSERT_TRUE(DATAFOPEN(nullptr, empty));
    openProblem().LBMDEG = true;
    ASSERT_TRUE(PROBDBFUPDATE());
    EXPECT_EQ(openProblem().OPROBDBF->lastRec(), 1u);
}

TEST(ProblemSaver, ParametersCostAndCommas)
{
    test::ProblemEnvironment env;
    const QString path = env.path("PARM.VKD");
    test::writeProblemFile(path, {{{"YMADI", "A"}, {"YMBMAT", kPrmMarker}}, {{"YMBMAT", "K,1000.00,TL,Kg,"}}});
    ASSERT_TRUE(load(path));
    OpenProblem &p = openProblem();
    p.setAllDirty(false);
    QVPARMARRANGE();
    EXPECT_TRUE(p.LPRMDEG);
    ASSERT_EQ(p.APARMLIST.size(), 8);
    EXPECT_EQ(p.APARMLIST[4], QString(40, u' '));
    EXPECT_EQ(p.APARMLIST[7], B11);

    p.APARMLIST[PARM_COMPANY] = QStringLiteral("Yem, Sanayi A.Ş.").leftJustified(40);
    p.NMALIYET = 123.4567;
    ASSERT_TRUE(PROBDBFUPDATE());
    p.reset();
    ASSERT_TRUE(load(path));
    ASSERT_EQ(openProblem().APARMLIST.size(), 8);
    EXPECT_EQ(openProblem().APARMLIST[PARM_COMPANY], QStringLiteral("Yem  Sanayi A.Ş.").leftJustified(40));
    EXPECT_EQ(openProblem().APARMLIST[PARM_SAVEDCOST], QStringLiteral("    123.457"));
    EXPECT_DOUBLE_EQ(openProblem().NKAYITLIMALIYET, 123.457);

    // Without a solve the stored cost stays.
    openProblem().LPRMDEG = true;
    ASSERT_TRUE(PROBDBFUPDATE());
    openProblem().reset();
    ASSERT_TRUE(load(path));
    EXPECT_EQ(openProblem().APARMLIST[PARM_SAVEDCOST], QStringLiteral("    123.457"));

    // An empty list gets the defaults with the currency TL.
    openProblem().APARMLIST.clear();
    QVPARMARRANGE();
    EXPECT_EQ(openProblem().APARMLIST.mid(0, 4), (QStringList{"K", "1000.00", "TL", "Kg"}));
}

TEST(ProblemSaver, SaveBeforeAnySolveKeepsTheSavedSolution)
{
    test::ProblemEnvironment env;
    const QString path = env.path("KAYITLI.VKD");
    test::writeProblemFile(path, {{{"YMADI", "A"}, {"YMKCOZUM", num("60.000")}, {"BMADI", "HP"},
                                   {"BMKCOZUM", num("18.0000")}, {"YMBMAT", num("18") + ","}}});
    ASSERT_TRUE(load(path));
    OpenProblem &p = openProblem();
    p.setAllDirty(true);
    ASSERT_TRUE(PROBDBFUPDATE());
    p.reset();
    ASSERT_TRUE(load(path));
    EXPECT_EQ(openProblem().AYMLIST[0][YMKCOZUM].trimmed(), QStringLiteral("60.000"));
    EXPECT_EQ(openProblem().ABMLIST[0][BMKCOZUM].trimmed(), QStringLiteral("18.0000"));

    // After a solve the current solution becomes the saved one.
    openProblem().NCOZUMSAYISI = 1;
    openProblem().AYMLIST[0][YMACOZUM] = num("100.000");
    openProblem().LYMDEG = true;
    ASSERT_TRUE(PROBDBFUPDATE());
    openProblem().reset();
    ASSERT_TRUE(load(path));
    EXPECT_EQ(openProblem().AYMLIST[0][YMKCOZUM].trimmed(), QStringLiteral("100.000"));
}

TEST(ProblemSaver, TooManyIngredientsAreRefusedAndNothingIsWritten)
{
    test::ProblemEnvironment env;
    const QString path = env.path("BUYUK.VKD");
    ASSERT_TRUE(DATAFILECREATE(nullptr, path));
    ASSERT_TRUE(DATAFOPEN(nullptr, path));
    OpenProblem &p = openProblem();
    const auto fill = [&](int n) {
        p.AYMLIST.clear();
        p.AYMADLARI.clear();
        p.AYMSTOK.clear();
        p.AAMAT = {Row()};
        for (int i = 1; i <= n; ++i) {
            p.AYMADLARI << QStringLiteral("YM%1").arg(i);
            p.AYMLIST << Row{p.AYMADLARI.last().leftJustified(25), B11, B11, B11, B11, B11, B11, B11, B11, B11, B11};
            p.AYMSTOK << true;
            p.AAMAT[0] << num("1.2345");
        }
        p.setAllDirty(true);
    };
    fill(86);
    const QByteArray before = test::fileBytes(path);
    QString why;
    EXPECT_FALSE(PROBDBFUPDATE(&why));
    EXPECT_TRUE(why.contains(QStringLiteral("85")));
    EXPECT_EQ(test::fileBytes(path), before);
    EXPECT_TRUE(p.LYMDEG && p.LAMATDEG);

    // 85 cells fill the matrix field exactly and come back whole.
    fill(85);
    ASSERT_TRUE(PROBDBFUPDATE());
    p.reset();
    ASSERT_TRUE(load(path));
    ASSERT_EQ(openProblem().AAMAT.size(), 1);
    EXPECT_EQ(openProblem().AAMAT[0].size(), 85);
}

namespace {

// A problem table whose appends are refused after a number of good ones.
class RefusingTable : public DBSERVERR
{
public:
    RefusingTable(const QString &path, int goodAppends) : DBSERVERR(path, true, false), m_left(goodAppends) {}

protected:
    bool baseAppend(bool releaseLocks) override
    {
        if (m_left <= 0)
            return false;
        --m_left;
        return DBSERVERR::baseAppend(releaseLocks);
    }

private:
    int m_left;
};

} // namespace

TEST(ProblemSaver, ARefusedAppendFailsTheSaveAndKeepsTheFlags)
{
    test::ProblemEnvironment env;
    test::ManualClock clock;
    test::ScriptedMessages messages;
    const QString path = env.path("RED.VKD");
    ASSERT_TRUE(DATAFILECREATE(nullptr, path));
    OpenProblem &p = openProblem();
    p.OPROBDBF = std::make_unique<RefusingTable>(path, 1);
    for (const char *n : {"A", "B"}) {
        p.AYMADLARI << QString::fromLatin1(n);
        p.AYMLIST << Row{QString::fromLatin1(n).leftJustified(25), B11, B11, B11, B11, B11, B11, B11, B11, B11, B11};
        p.AYMSTOK << true;
    }
    p.LYMDEG = true;
    messages.answer(MessageAnswer::Cancel);
    QString why;
    EXPECT_FALSE(PROBDBFUPDATE(&why));
    EXPECT_FALSE(why.isEmpty());
    EXPECT_TRUE(p.LYMDEG);
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown()[0].style, 21u);
}
