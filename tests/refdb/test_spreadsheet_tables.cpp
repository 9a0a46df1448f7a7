// Reference tables a spreadsheet saved (decimal commas, texts left-aligned, no code page byte),
// written byte by byte by the test, never by the program's table code.
#include "refdb/matrix_rebuild.h"
#include "refdb/reference_additions.h"
#include "refdb/rm_rules.h"

#include "platform/dbf_table.h"
#include "glpk_oracle.h"
#include "refdb_fixture.h"
#include "problem/app_globals.h"
#include "problem/dbserverr.h"
#include "problem/open_problem.h"
#include "problem/problem_file.h"
#include "problem/problem_loader.h"
#include "problem/reference_tables.h"
#include "scripted_matcher.h"
#include "scripted_messages.h"
#include "solver_fixture.h"
#include "spreadsheet_dbf.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vexo;

namespace {

QString num(const QString &text) { return text.rightJustified(11, u' '); }
const QString B11(11, u' ');
const QString kWeightRight = QStringLiteral("     1.0000");

class SpreadsheetAddition : public ::testing::Test
{
protected:
    void SetUp() override
    {
        openProblem().reset();
        referenceTables().ABMDESC.clear(); // every nutrient has four decimals
        const QString path = m_dir.filePath(QStringLiteral("MATNRC6.DBF"));
        ASSERT_TRUE(test::writeSpreadsheetDbf(path, test::sheetMatrixFields({"KM", "HS"}),
                                              {{"1", "MISIR", "0,310", "TAHIL", "88", "2,5"},
                                               {"2", "İSPANAKÇIK", "0,425", "", "77,5", "12,5"},
                                               {"3", "ARPA", "0.250", "TAHIL", "89,0", "12abc"},
                                               {"4", "YULAF", "    0.280", "TAHIL", "  89.0000", "1.234,5"}}));
        m_rm = std::make_unique<DBSERVERR>(path, false, false);
        ASSERT_FALSE(m_rm->status().has_value());
    }
    void TearDown() override
    {
        m_rm.reset();
        openProblem().reset();
    }

    QTemporaryDir m_dir;
    std::unique_ptr<DBSERVERR> m_rm;
    test::ScriptedMessages m_messages;
    test::ScriptedMatcher m_matcher;
};

const QString kNoNumbers = QStringLiteral("MATNRC6.DBF tablosunda sayı olmayan değerler var; bunlar değersiz (boş) alındı:\n");

} // namespace

TEST_F(SpreadsheetAddition, IngredientsComeInWithTheProgramsNumbers)
{
    IngredientAddition add(*m_rm, nullptr);
    ASSERT_TRUE(add.AMAT_YMEKLE_KY({1, 2, 3, 4}));
    const OpenProblem &p = openProblem();
    ASSERT_EQ(p.AYMLIST.size(), 4);
    EXPECT_EQ(p.AYMLIST[1][YMPRICE], num("0.425"));
    EXPECT_EQ(p.AYMLIST[2][YMPRICE], num("0.250"));
    EXPECT_EQ(p.AYMLIST[3][YMPRICE], num("0.280"));
    // AĞIRLIK and KM are laid first; KM's contents come from its column.
    EXPECT_EQ(p.AAMAT, (RowList{{kWeightRight, kWeightRight, kWeightRight, kWeightRight},
                                {num("88.0000"), num("77.5000"), num("89.0000"), num("89.0000")}}));
    EXPECT_TRUE(m_messages.shown().isEmpty());
}

TEST_F(SpreadsheetAddition, CellsThatAreNoNumberAreNamedOnceAndLeftEmpty)
{
    // A problem holding HS gets its HS contents from the reference column.
    OpenProblem &p = openProblem();
    for (const QString &n : {QStringLiteral("AĞIRLIK"), QStringLiteral("HS")}) {
        Row row(BM_COLUMNS, B11);
        row[BMNAME] = n.leftJustified(15);
        p.ABMLIST.append(row);
        p.ABMADLARI.append(n);
        p.ABMBIRIMLERI.append(QString());
        p.AAMAT.append(Row());
    }
    IngredientAddition add(*m_rm, nullptr);
    ASSERT_TRUE(add.AMAT_YMEKLE_KY({2, 3, 4}));
    EXPECT_EQ(p.AAMAT[1], (Row{num("12.5000"), B11, B11}));
    ASSERT_EQ(m_messages.shown().size(), 1);
    EXPECT_EQ(m_messages.shown()[0].text, kNoNumbers + "ARPA - HS: \"12abc\"\nYULAF - HS: \"1.234,5\"");

    // The same through "Besin Maddesi Ekle": the cells of the new row, named in one box.
    m_messages.clear();
    openProblem().reset();
    for (const QString &y : {QStringLiteral("İSPANAKÇIK"), QStringLiteral("ARPA")}) {
        Row row(YM_COLUMNS, B11);
        row[YMNAME] = y.leftJustified(25);
        p.AYMLIST.append(row);
        p.AYMADLARI.append(y);
        p.AYMSTOK.append(true);
    }
    NutrientAddition nutrients(*m_rm, nullptr);
    nutrients.AABRRE = {"KM", "HS"};
    nutrients.ABIRIM = {"%", "%"};
    nutrients.GETRNOOFYM();
    ASSERT_TRUE(nutrients.BESINMADDESIEKLE({2}));
    EXPECT_EQ(p.ABMADLARI, (QStringList{"AĞIRLIK", "KM", "HS"}));
    EXPECT_EQ(p.AAMAT[1], (Row{num("77.5000"), num("89.0000")}));
    EXPECT_EQ(p.AAMAT[2], (Row{num("12.5000"), B11}));
    ASSERT_EQ(m_messages.shown().size(), 1);
    EXPECT_EQ(m_messages.shown()[0].text, kNoNumbers + "ARPA - HS: \"12abc\"");
}

// --- a rebuild after a short name was changed in another program ---------------------------------

namespace {

class SpreadsheetDataRoot : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_root.isValid());
        appGlobals().CVERIKOK = m_root.path();
        ASSERT_TRUE(test::writeSpreadsheetDbf(path(kReferenceMatrixFile), test::sheetMatrixFields({"KM", "HS"}),
                                              {{"1", "MISIR", "0,310", "TAHIL", "88", "2,5"},
                                               {"2", "ÇAVDAR", "0,425", "", "77,5", ""},
                                               {"3", "ARPA", "0.250", "TAHIL", "89,0", "5,5"}}));
        // HS is HSX now, and a new nutrient CA was added in the definitions editor.
        writeDefinitions({"KM", "HSX", "CA"});
        m_matrixBefore = test::bytesOf(path(kReferenceMatrixFile));
        m_definitionsBefore = test::bytesOf(path(kNutrientDefinitionFile));
    }
    QString path(const QString &name) const { return QDir(m_root.path()).filePath(name); }
    void writeDefinitions(const QStringList &abbreviations)
    {
        QList<QStringList> rows;
        for (const QString &a : abbreviations)
            rows.append({QString::number(rows.size() + 1), a + QStringLiteral(" adı"), a, QStringLiteral("%"), "4"});
        ASSERT_TRUE(test::writeSpreadsheetDbf(path(kNutrientDefinitionFile),
                                              {{"NUM", 'N', 3, 0}, {"NAME", 'C', 30, 0}, {"ABRRE", 'C', 15, 0},
                                               {"UNIT", 'C', 11, 0}, {"DECIM", 'N', 3, 0}},
                                              rows));
    }
    QStringList keptFolders() const
    {
        return QDir(path(QStringLiteral("Temp_Data"))).entryList({QStringLiteral("Onceki*")}, QDir::Dirs);
    }

    QTemporaryDir m_root;
    test::ScriptedMessages m_messages;
    QByteArray m_matrixBefore;
    QByteArray m_definitionsBefore;
};

const QString kQuestion = QStringLiteral(
    "Referans Matrisin şu sütunlarının tanımlarda karşılığı yok; yeniden düzenlemede değerleri silinecek:\n"
    "    HS: 2 değer\n"
    "Boş açılacak yeni sütunlar: HSX, CA\n\n"
    "Devam edilirse önceki tablolar Temp_Data klasöründe saklanır.\n"
    "Devam edilsin mi?");

} // namespace

TEST_F(SpreadsheetDataRoot, ARenamedShortNameIsToldBeforeARebuildAndMayStopIt)
{
    m_messages.answer(MessageAnswer::No);
    EXPECT_FALSE(rebuildReferenceMatrixFromDefinitions(nullptr));
    ASSERT_EQ(m_messages.shown().size(), 1);
    EXPECT_EQ(m_messages.shown()[0].text, kQuestion);
    EXPECT_EQ(test::bytesOf(path(kReferenceMatrixFile)), m_matrixBefore);
    EXPECT_TRUE(keptFolders().isEmpty());
}

TEST_F(SpreadsheetDataRoot, ARebuildThatDropsValuesKeepsTheTablesAsTheyWere)
{
    // The definitions editor hands over the definitions as they were before its own save.
    const QByteArray definitionsEdited = m_definitionsBefore;
    writeDefinitions({"KM", "HSX", "CA", "NA"});
    m_messages.answer(MessageAnswer::Yes);
    ASSERT_TRUE(rebuildReferenceMatrixFromDefinitions(nullptr, {}, definitionsEdited));
    ASSERT_EQ(m_messages.shown().size(), 2);
    const QString kept = path(QStringLiteral("Temp_Data/Onceki_Tablolar_1"));
    EXPECT_EQ(m_messages.shown()[1].text, kRebuildDone + QStringLiteral("\n\nÖnceki tablolar: ") + kept);
    EXPECT_EQ(test::bytesOf(QDir(kept).filePath(kReferenceMatrixFile)), m_matrixBefore);
    EXPECT_EQ(test::bytesOf(QDir(kept).filePath(kNutrientDefinitionFile)), definitionsEdited);

    {
        DbfTable rebuilt(path(kReferenceMatrixFile), true, true);
        ASSERT_FALSE(rebuilt.status().has_value());
        EXPECT_EQ(rebuilt.fieldPos(QStringLiteral("HS")), 0);
        EXPECT_EQ(rebuilt.fieldGet(QStringLiteral("KM")).toString().trimmed(), QStringLiteral("88"));
    }

    // A second rebuild that drops values keeps its own copy beside the first.
    writeDefinitions({"CA", "NA"});
    m_messages.clear();
    m_messages.answer(MessageAnswer::Yes);
    ASSERT_TRUE(rebuildReferenceMatrixFromDefinitions(nullptr))
        << (m_messages.shown().isEmpty() ? std::string() : m_messages.shown().last().text.toStdString());
    EXPECT_EQ(keptFolders(), (QStringList{"Onceki_Tablolar_1", "Onceki_Tablolar_2"}));
    EXPECT_EQ(test::bytesOf(QDir(kept).filePath(kReferenceMatrixFile)), m_matrixBefore);
}

TEST_F(SpreadsheetDataRoot, ARebuildThatDropsNothingAsksNothing)
{
    // Empty columns of no definition go without a word, as do new columns.
    ASSERT_TRUE(test::writeSpreadsheetDbf(path(kReferenceMatrixFile), test::sheetMatrixFields({"KM", "HS"}),
                                          {{"1", "MISIR", "0,310", "TAHIL", "88", ""}}));
    ASSERT_TRUE(rebuildReferenceMatrixFromDefinitions(nullptr));
    ASSERT_EQ(m_messages.shown().size(), 1);
    EXPECT_EQ(m_messages.shown()[0].text, kRebuildDone);
    EXPECT_TRUE(keptFolders().isEmpty());
}

// --- the matrix editor over a spreadsheet's table ---------------------------------------------------

namespace {

// Name and the trimmed texts of FIATI, KM and HS per record, read by python3-dbfread with the
// encoding the file's code page byte names.
QStringList readByPeer(const QString &path)
{
    static const char *kReader = R"(
import sys, dbfread
t = dbfread.DBF(sys.argv[1], char_decode_errors='strict', load=True)
for r in t.records:
    print('|'.join(str(r[f]).strip() for f in ('YM_ADI', 'FIATI', 'KM', 'HS')))
)";
    QProcess p;
    p.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), QString::fromLatin1(kReader), path});
    EXPECT_TRUE(p.waitForFinished(20000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed().split(u'\n');
}

} // namespace

TEST_F(SpreadsheetDataRoot, TheMatrixEditorReadsTheProgramsNumbersAndWritesWindows1254)
{
    writeDefinitions({"KM", "HS"});
    ASSERT_TRUE(test::writeSpreadsheetDbf(path(kReferenceMatrixFile), test::sheetMatrixFields({"KM", "HS"}),
                                          {{"1", "ÇAVDAR", "0,425", "", "77,5", "12,5"},
                                           {"2", "ARPA", "0.250", "TAHIL", "89,0", "12abc"}}));
    std::optional<RmTableData> table = readReferenceMatrix();
    const std::optional<RmDescriptions> descriptions = GETBMDATA();
    ASSERT_TRUE(table && descriptions);
    ownMatrixNumbers(*table, *descriptions, nullptr);
    ASSERT_EQ(m_messages.shown().size(), 1);
    EXPECT_EQ(m_messages.shown()[0].text, kNoNumbers + "ARPA - HS: \"12abc\"");
    ASSERT_EQ(table->rows.size(), 2);
    EXPECT_EQ(table->rows[0].mid(2), (ServerRow{num("0.425"), QString(11, u' '), num("77.5000"), num("12.5000")}));
    EXPECT_EQ(table->rows[1].value(5).toString(), B11);

    ReferenceMatrixRows rows(nullptr, std::move(*table), *descriptions);
    rows.server()->GOTO(2);
    rows.server()->FIELDPUT(2, QStringLiteral("ŞEKER PANCARI"));
    rows.changed = true;
    ASSERT_TRUE(rows.KAYDET());
    QFile written(path(kReferenceMatrixFile));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.read(32).at(29), '\xCA');
    EXPECT_EQ(readByPeer(path(kReferenceMatrixFile)),
              (QStringList{"ÇAVDAR|0.425|77.5000|12.5000", "ŞEKER PANCARI|0.250|89.0000|"}));
}

// --- a load with contents from the reference, solved ------------------------------------------------

TEST_F(SpreadsheetDataRoot, ALoadFromASpreadsheetsMatrixSolvesWithItsValues)
{
    writeDefinitions({"KM", "HS"});
    ASSERT_TRUE(test::writeSpreadsheetDbf(path(kReferenceMatrixFile), test::sheetMatrixFields({"KM", "HS"}),
                                          {{"1", "MISIR", "0,310", "TAHIL", "88", "2,5"},
                                           {"2", "İSPANAKÇIK", "0,425", "", "77,5", "12,5"}}));
    // The problem as stored holds other prices and contents; the reference's take their place.
    test::FeedProblem stored;
    stored.ingredients = {{"MISIR", 0.5, {}, {}, {}}, {"İSPANAKÇIK", 0.6, {}, {}, {}}};
    stored.nutrients = {{"AĞIRLIK", 1.0, {}, {}, "Kg/Kg"}, {"KM", {}, 80.0, {}, "%"}, {"HS", {}, 5.0, {}, "%"}};
    stored.content = {{1, 1}, {1, 1}, {1, 1}};
    const QString file = path(QStringLiteral("VIRGUL.VKD"));
    stored.saveTo(file);

    // GLPK's formula for the table's values: 0.310 and 0.425, KM 88 and 77.5, HS 2.5 and 12.5.
    test::FeedProblem table = stored;
    table.ingredients[0].price = 0.310;
    table.ingredients[1].price = 0.425;
    table.content = {{1, 1}, {88, 77.5}, {2.5, 12.5}};
    table.install();
    const test::OracleResult want = test::glpkOracle();
    ASSERT_TRUE(want.optimum);

    openProblem().reset();
    appGlobals().LRMDENOKU = true;
    const auto optionOff = qScopeGuard([] { appGlobals().LRMDENOKU = false; });
    ASSERT_TRUE(DATAFOPEN(nullptr, file));
    ASSERT_TRUE(AKTPRODIZOLUSTUR(nullptr));
    const OpenProblem &p = openProblem();
    EXPECT_EQ(p.AYMLIST[1][YMPRICE], num("0.425"));
    EXPECT_EQ(p.AAMAT[1][1], num("77.5000"));
    EXPECT_EQ(p.AAMAT[2][1], num("12.5000"));
    KY_OPTIMIZER solved(nullptr, true);
    ASSERT_EQ(solved.outcome(), SolveOutcome::Optimum);
    EXPECT_NEAR(solved.costSum(), want.cost, 1e-9);
    ASSERT_EQ(solved.shares().size(), want.x.size());
    for (std::size_t c = 0; c < want.x.size(); ++c)
        EXPECT_NEAR(solved.shares()[c], want.x[c], 1e-9) << c;
    // HS decides: 12.5 x + 2.5 (1 - x) = 5 gives a quarter of İSPANAKÇIK (12 and 2 would give 0.3).
    EXPECT_NEAR(solved.shares()[1], 0.25, 1e-9);
    EXPECT_TRUE(m_messages.shown().isEmpty());
}
