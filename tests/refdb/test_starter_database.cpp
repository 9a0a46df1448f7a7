#include "refdb/starter_database.h"

#include "platform/cp1254_codec.h"
#include "problem/nutrient_units.h"
#include "problem/reference_tables.h"
#include "refdb/file_pair_replace.h"
#include "refdb_root.h"
#include "scripted_messages.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

using namespace vexo;
using vexo::test::RefDbRoot;

namespace {

// Both tables as an independent dBASE reader sees them.
QJsonObject readTable(const QString &path)
{
    static const char *kReader = R"(
import json, sys, dbfread
t = dbfread.DBF(sys.argv[1], encoding='cp1254', load=True)
print(json.dumps({'fields': [[f.name, f.type, f.length, f.decimal_count] for f in t.fields],
                  'records': [list(r.values()) for r in t.records]}))
)";
    QProcess p;
    p.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), QString::fromLatin1(kReader), path});
    EXPECT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    return QJsonDocument::fromJson(p.readAllStandardOutput()).object();
}

QStringList nutrientColumns()
{
    QStringList out;
    const DbfStructure layout = HKM_STRCREATE();
    for (qsizetype i = kReferenceFixedFields; i < layout.size(); ++i)
        out.append(layout[i].name);
    return out;
}

class FailingRename : public FileTransfer
{
public:
    bool rename(const QString &, const QString &) override { return false; }
};

} // namespace

TEST(StarterDefinitions, OnePerMatrixColumnInColumnOrder)
{
    const QList<StarterDefinition> defs = starterDefinitions();
    const QStringList columns = nutrientColumns();
    ASSERT_EQ(columns.size(), 52);
    ASSERT_EQ(defs.size(), columns.size());
    EXPECT_EQ(defs[0].NAME, "Kuru Madde");
    EXPECT_EQ(defs[0].ABRRE, "KM");
    EXPECT_EQ(defs[0].UNIT, "%");
    EXPECT_EQ(defs[0].DECIM, 4);
    int named = 0;
    for (qsizetype i = 0; i < defs.size(); ++i) {
        const StarterDefinition &d = defs[i];
        SCOPED_TRACE(d.ABRRE.toStdString());
        EXPECT_EQ(d.NUM, i + 1);
        EXPECT_EQ(d.ABRRE, columns[i]);
        EXPECT_EQ(d.DECIM, 4);
        // A name comes with its unit; the placeholder comes with none.
        if (d.NAME == kStarterPlaceholderName) {
            EXPECT_TRUE(d.UNIT.isEmpty());
        } else {
            ++named;
            EXPECT_FALSE(d.UNIT.isEmpty());
        }
        EXPECT_LE(d.NAME.size(), 30);
        EXPECT_LE(d.UNIT.size(), 11);
        EXPECT_TRUE(Cp1254Codec::fits(d.NAME)) << d.NAME.toStdString();
    }
    EXPECT_GT(named, 1);
    EXPECT_LT(named, 52) << "uncertain abbreviations keep the placeholder";
    // Names the list is sure of, and ones it must not guess.
    const auto find = [&](const char *abbreviation) {
        for (const StarterDefinition &d : defs)
            if (d.ABRRE == QLatin1String(abbreviation))
                return d;
        return StarterDefinition{};
    };
    EXPECT_EQ(find("HP").NAME, "Ham Protein");
    EXPECT_EQ(find("CINKO").NAME, "Çinko");
    for (const char *unsure : {"BY-P", "ME_KA", "NEL", "VITE", "FFOSFOR"})
        EXPECT_EQ(find(unsure).NAME, kStarterPlaceholderName) << unsure;
}

// A value typed into the starter reference in its definition's unit comes into a loaded problem
// unconverted: no starter unit is one the load converts away (iron in mg/kg once was).
TEST(StarterDefinitions, UnitsAreTheOnesALoadedProblemKeeps)
{
    for (const StarterDefinition &d : starterDefinitions()) {
        SCOPED_TRACE(d.ABRRE.toStdString());
        EXPECT_EQ(loadedUnit(d.ABRRE, d.UNIT), QString());
        if (d.ABRRE == u"DEMIR") {
            EXPECT_EQ(d.UNIT, "g/Kg");
            EXPECT_EQ(unitCrossing(d.UNIT, loadedUnit(d.ABRRE, QStringLiteral("mg/kg"))).kind, UnitCrossing::Same);
        }
    }
}

TEST(StarterDatabase, AFreshRootGetsTheEmptyMatrixAndItsDefinitions)
{
    RefDbRoot root;
    QDir(root.dir.path()).mkpath(QStringLiteral("Temp_Data"));
    test::ScriptedMessages messages;
    QString error;
    ASSERT_TRUE(writeStarterReferenceDatabase(&error)) << error.toStdString();
    EXPECT_TRUE(messages.shown().isEmpty());

    const QJsonObject matrix = readTable(root.path(kReferenceMatrixFile));
    const QJsonArray fields = matrix["fields"].toArray();
    const DbfStructure layout = HKM_STRCREATE();
    ASSERT_EQ(fields.size(), 56);
    for (qsizetype i = 0; i < layout.size(); ++i) {
        const QJsonArray f = fields[i].toArray();
        EXPECT_EQ(f[0].toString(), layout[i].name);
        EXPECT_EQ(f[1].toString(), QString(layout[i].type));
        EXPECT_EQ(f[2].toInt(), layout[i].width);
    }
    const QJsonArray records = matrix["records"].toArray();
    ASSERT_EQ(records.size(), 1);
    const QJsonArray first = records[0].toArray();
    EXPECT_EQ(first[0].toInt(), 1);
    for (qsizetype i = 1; i < first.size(); ++i)
        EXPECT_TRUE(first[i].toString().trimmed().isEmpty()) << "field " << i << " holds no value";

    const QJsonObject definitions = readTable(root.path(kNutrientDefinitionFile));
    const QJsonArray defFields = definitions["fields"].toArray();
    ASSERT_EQ(defFields.size(), 5);
    EXPECT_EQ(defFields[4].toArray()[0].toString(), "DECIM");
    const QJsonArray defs = definitions["records"].toArray();
    const QList<StarterDefinition> expected = starterDefinitions();
    ASSERT_EQ(defs.size(), expected.size());
    const QJsonArray one = defs[0].toArray();
    EXPECT_EQ(one[0].toInt(), 1);
    EXPECT_EQ(one[1].toString(), "Kuru Madde");
    EXPECT_EQ(one[2].toString(), "KM");
    EXPECT_EQ(one[3].toString(), "%");
    EXPECT_EQ(one[4].toInt(), 4);
    for (qsizetype i = 0; i < defs.size(); ++i) {
        const QJsonArray d = defs[i].toArray();
        EXPECT_EQ(d[0].toInt(), i + 1);
        EXPECT_EQ(d[1].toString(), expected[i].NAME);
        EXPECT_EQ(d[2].toString(), layout[i + kReferenceFixedFields].name);
        EXPECT_EQ(d[3].toString(), expected[i].UNIT);
        EXPECT_EQ(d[4].toInt(), 4);
    }
    // The rebuilt layout from these definitions is the new matrix's, column for column.
    const DbfStructure rebuilt = referenceLayoutFromDefinitions();
    ASSERT_EQ(rebuilt.size(), layout.size());
    for (qsizetype i = 0; i < layout.size(); ++i)
        EXPECT_EQ(rebuilt[i].name, layout[i].name);
    EXPECT_TRUE(root.tempEntries().isEmpty()) << "no work files left";
}

TEST(StarterDatabase, ExistingTablesAreNeverTouched)
{
    struct Case
    {
        const char *name;
        bool matrix, definitions;
        const char *matrixName; // the spelling the matrix file has
    };
    const QList<Case> cases = {
        {"both", true, true, "MATNRC6.DBF"},
        {"only the matrix", true, false, "MATNRC6.DBF"},
        {"only the definitions", false, true, "MATNRC6.DBF"},
        {"the matrix in small letters", true, false, "matnrc6.dbf"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        RefDbRoot root;
        test::ScriptedMessages messages;
        if (c.matrix) {
            ASSERT_TRUE(root.writeMatrix({"HP"}, 2));
            if (QString::fromLatin1(c.matrixName) != kReferenceMatrixFile) {
                ASSERT_TRUE(QFile::rename(root.path(kReferenceMatrixFile), root.path(QString::fromLatin1(c.matrixName))));
            }
        }
        if (c.definitions) {
            ASSERT_TRUE(root.writeDefinitions({{"Ham Protein", "HP", "%", 2}}));
        }
        const QStringList before = QDir(root.dir.path()).entryList(QDir::Files | QDir::Hidden);
        const QByteArray matrixBytes = root.bytes(QString::fromLatin1(c.matrixName));
        const QByteArray definitionBytes = root.bytes(kNutrientDefinitionFile);
        QString error;
        EXPECT_TRUE(writeStarterReferenceDatabase(&error)) << error.toStdString();
        EXPECT_EQ(QDir(root.dir.path()).entryList(QDir::Files | QDir::Hidden), before);
        EXPECT_EQ(root.bytes(QString::fromLatin1(c.matrixName)), matrixBytes);
        EXPECT_EQ(root.bytes(kNutrientDefinitionFile), definitionBytes);
    }
}

TEST(StarterDatabase, ASecondStartChangesNothing)
{
    RefDbRoot root;
    ASSERT_TRUE(writeStarterReferenceDatabase());
    const QByteArray matrix = root.bytes(kReferenceMatrixFile);
    const QByteArray definitions = root.bytes(kNutrientDefinitionFile);
    ASSERT_FALSE(matrix.isEmpty());
    ASSERT_TRUE(writeStarterReferenceDatabase());
    EXPECT_EQ(root.bytes(kReferenceMatrixFile), matrix);
    EXPECT_EQ(root.bytes(kNutrientDefinitionFile), definitions);
}

TEST(StarterDatabase, AFailedWriteLeavesNeitherTable)
{
    RefDbRoot root;
    FailingRename failing;
    setFileTransfer(&failing);
    QString error;
    EXPECT_FALSE(writeStarterReferenceDatabase(&error));
    setFileTransfer(nullptr);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(QDir(root.dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::Dirs | QDir::NoDotAndDotDot),
              QStringList());
}

TEST(StarterDatabase, ARootThatIsNoFolderIsRefused)
{
    RefDbRoot root;
    appGlobals().CVERIKOK = root.path(QStringLiteral("missing"));
    QString error;
    EXPECT_FALSE(writeStarterReferenceDatabase(&error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(root.path(QStringLiteral("missing"))));
}
