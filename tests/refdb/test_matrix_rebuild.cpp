#include "refdb/matrix_rebuild.h"

#include "problem/reference_tables.h"
#include "refdb_root.h"
#include "scripted_messages.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

using namespace vexo;
using vexo::test::Definition;
using vexo::test::RefDbRoot;

namespace {

QJsonObject readWithDbfread(const QString &path)
{
    static const char *kReader = R"(
import json, sys, dbfread
t = dbfread.DBF(sys.argv[1], encoding='cp1254', load=True)
print(json.dumps({'fields': [[f.name, f.type, f.length] for f in t.fields],
                  'records': [list(r.values()) for r in t.records]}))
)";
    QProcess p;
    p.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), QString::fromLatin1(kReader), path});
    EXPECT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    return QJsonDocument::fromJson(p.readAllStandardOutput()).object();
}

QStringList names(const DbfStructure &s)
{
    QStringList out;
    for (const DbfField &f : s)
        out.append(f.name);
    return out;
}

} // namespace

TEST(MatrixLayout, ColumnsFollowTheDefinitions)
{
    struct Case
    {
        QStringList abbreviations;
        QStringList columns; // after the four fixed ones
    };
    const QList<Case> cases = {
        {{}, {}},
        {{"", "   "}, {}},
        {{" KM ", "HP"}, {"KM", "HP"}},
        {{"KM", "HP", "KM"}, {"KM", "HP"}},
        {{"FIATI", "KOD", "CA"}, {"CA"}},
        {{"km", "KM"}, {"km", "KM"}},
    };
    for (const Case &c : cases) {
        const DbfStructure s = matrixLayoutForAbbreviations(c.abbreviations);
        EXPECT_EQ(names(s), QStringList({"KOD", "YM_ADI", "FIATI", "GRUBU"}) + c.columns) << c.abbreviations.join(',').toStdString();
        EXPECT_EQ(s[0], (DbfField{QStringLiteral("KOD"), u'N', 5, 0}));
        for (qsizetype i = 4; i < s.size(); ++i)
            EXPECT_EQ(s[i], (DbfField{c.columns[i - 4], u'C', 11, 0}));
    }
    EXPECT_EQ(MASCAN(matrixLayoutForAbbreviations({"KM"}), QStringLiteral("  KM ")), 1);
    EXPECT_EQ(MASCAN(matrixLayoutForAbbreviations({"KM"}), QStringLiteral("km")), 0);
    EXPECT_EQ(MASCAN({{"A", u'C', 1, 0}, {"A", u'C', 1, 0}}, QStringLiteral("A")), 2);
}

TEST(MatrixRebuild, CarriesEveryRowOverToTheNewColumns)
{
    RefDbRoot root;
    test::ScriptedMessages messages;
    ASSERT_TRUE(root.writeMatrix({"KM", "HP", "CA"}, 1200));
    // HP moved before KM, CA deleted, a new YENI, KM twice and FIATI add nothing, a blank row none.
    ASSERT_TRUE(root.writeDefinitions({{"Ham protein", "HP", "%", 2},
                                       {"Kuru Madde", "KM", "%", 4},
                                       {"Yeni", "YENI", "mg", 1},
                                       {"Kopya", "KM", "%", 1},
                                       {"Fiyat", "FIATI", "TL", 2},
                                       {"Boş", "", "", 0}}));
    // CA's values go: the user is asked first, and the tables as they were are kept.
    messages.answer(MessageAnswer::Yes);
    ASSERT_TRUE(rebuildReferenceMatrixFromDefinitions(nullptr));
    ASSERT_EQ(messages.shown().size(), 2);
    EXPECT_TRUE(messages.shown()[0].text.contains(QStringLiteral("    CA: 1200 değer\n")));
    EXPECT_EQ(messages.shown()[1].caption, QStringLiteral("Bilgi..."));
    EXPECT_EQ(messages.shown()[1].text, kRebuildDone + QStringLiteral("\n\nÖnceki tablolar: ")
                                            + root.path(QStringLiteral("Temp_Data/Onceki_Tablolar_1")));
    EXPECT_EQ(root.tempEntries(), QStringList{QStringLiteral("Onceki_Tablolar_1")});

    const QJsonObject t = readWithDbfread(root.path(kReferenceMatrixFile));
    const QJsonArray fields = t[QStringLiteral("fields")].toArray();
    QStringList got;
    for (const QJsonValue &f : fields)
        got.append(f.toArray()[0].toString());
    EXPECT_EQ(got, QStringList({"KOD", "YM_ADI", "FIATI", "GRUBU", "HP", "KM", "YENI"}));
    EXPECT_EQ(fields[0].toArray()[2].toInt(), 5);
    const QJsonArray records = t[QStringLiteral("records")].toArray();
    ASSERT_EQ(records.size(), 1200);
    for (int r = 1; r <= 1200; ++r) {
        const QJsonArray v = records[r - 1].toArray();
        ASSERT_EQ(v[0].toInt(), r);
        ASSERT_EQ(v[1].toString(), QStringLiteral("YEM %1").arg(r));
        ASSERT_EQ(v[2].toString(), QStringLiteral("%1.5").arg(r));
        ASSERT_EQ(v[4].toString(), QStringLiteral("%1.2").arg(r)); // HP
        ASSERT_EQ(v[5].toString(), QStringLiteral("%1.1").arg(r)); // KM
        ASSERT_EQ(v[6].toString(), QString());                     // YENI starts empty
    }
}

TEST(MatrixRebuild, NoAbbreviationLeavesTheFourFixedColumns)
{
    RefDbRoot root;
    test::ScriptedMessages messages;
    ASSERT_TRUE(root.writeMatrix({"KM"}, 3));
    ASSERT_TRUE(root.writeDefinitions({{"Boş", "", "", 0}}));
    messages.answer(MessageAnswer::Yes); // KM's values go
    ASSERT_TRUE(rebuildReferenceMatrixFromDefinitions(nullptr));
    DbfTable t(root.path(kReferenceMatrixFile), true, true);
    EXPECT_EQ(names(t.dbStruct()), QStringList({"KOD", "YM_ADI", "FIATI", "GRUBU"}));
    EXPECT_EQ(t.lastRec(), 3u);
}

// Each step that fails leaves the live matrix as it was, says the step's message and leaves nothing
// in the temporary folder.
TEST(MatrixRebuild, AFailedStepLeavesTheLiveMatrixAsItWas)
{
    struct Case
    {
        RebuildStep step;
        QString message;
    };
    const QList<Case> cases = {
        {RebuildStep::Create, kRebuildCreateFailed},    {RebuildStep::Copy, kRebuildCopyFailed},
        {RebuildStep::OpenNew, kRebuildOpenNewFailed},  {RebuildStep::OpenCopy, kRebuildOpenCopyFailed},
        {RebuildStep::Append, kRebuildAppendFailed},    {RebuildStep::Check, kRebuildAppendFailed},
        {RebuildStep::Replace, kRebuildReplaceFailed},
    };
    for (const Case &c : cases) {
        RefDbRoot root;
        test::ScriptedMessages messages;
        ASSERT_TRUE(root.writeMatrix({"KM", "HP"}, 20));
        ASSERT_TRUE(root.writeDefinitions({{"Ham protein", "HP", "%", 2}, {"Yeni", "YENI", "mg", 1}}));
        const QByteArray live = root.bytes(kReferenceMatrixFile);
        const QByteArray defs = root.bytes(kNutrientDefinitionFile);
        messages.answer(MessageAnswer::Yes); // KM's values go; the copy kept of the tables goes with the failure
        EXPECT_FALSE(rebuildReferenceMatrixFromDefinitions(nullptr, [&](RebuildStep s) { return s == c.step; }));
        ASSERT_EQ(messages.shown().size(), 2) << c.message.toStdString();
        EXPECT_EQ(messages.shown()[1].text, c.message);
        EXPECT_EQ(messages.shown()[1].caption, QStringLiteral("Bilgi..."));
        EXPECT_EQ(root.bytes(kReferenceMatrixFile), live) << c.message.toStdString();
        EXPECT_EQ(root.bytes(kNutrientDefinitionFile), defs);
        EXPECT_TRUE(root.tempEntries().isEmpty()) << root.tempEntries().join(',').toStdString();
    }
}

TEST(MatrixRebuild, RealFailuresAreToldAndChangeNothing)
{
    struct Case
    {
        const char *what;
        QString message;
    };
    for (const Case &c : {Case{"temp folder is a file", kRebuildCreateFailed},
                          Case{"abbreviation no table takes", kRebuildCreateFailed},
                          Case{"live matrix held open", kRebuildLiveHeld},
                          Case{"value too wide for its new column", kRebuildAppendFailed},
                          Case{"live matrix missing", kRebuildCopyFailed}}) {
        RefDbRoot root;
        test::ScriptedMessages messages;
        const QString what = QString::fromLatin1(c.what);
        ASSERT_TRUE(root.writeMatrix({"KM"}, 5));
        DbfStructure layout = matrixLayoutForAbbreviations({"KM"});
        std::unique_ptr<DbfTable> holder;
        if (what.startsWith(u"temp")) {
            QFile f(root.path(QStringLiteral("Temp_Data")));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        } else if (what.startsWith(u"abbreviation")) {
            layout = matrixLayoutForAbbreviations({"BU_AD_COK_UZUN"});
        } else if (what.startsWith(u"live matrix held")) {
            holder = std::make_unique<DbfTable>(root.path(kReferenceMatrixFile), true, true);
            ASSERT_FALSE(holder->status());
        } else if (what.startsWith(u"value")) {
            layout[4].width = 2; // "1.1" no longer fits
        } else {
            QFile::remove(root.path(kReferenceMatrixFile));
        }
        const QByteArray live = root.bytes(kReferenceMatrixFile);
        const RebuildOutcome out = rebuildReferenceMatrix(layout);
        EXPECT_FALSE(out.ok) << c.what;
        EXPECT_EQ(out.message, c.message) << c.what;
        EXPECT_EQ(root.bytes(kReferenceMatrixFile), live) << c.what;
        if (!what.startsWith(u"temp")) {
            EXPECT_TRUE(root.tempEntries().isEmpty()) << c.what;
        }
    }
}

TEST(DefinitionsTable, CreatedWithItsFirstDefinition)
{
    RefDbRoot root;
    test::ScriptedMessages messages;
    ASSERT_TRUE(CREATEDATAFILE());
    DbfTable t(root.path(kNutrientDefinitionFile), true, true);
    EXPECT_EQ(t.dbStruct(), nutrientDefinitionStructure());
    ASSERT_EQ(t.lastRec(), 1u);
    t.goTop();
    EXPECT_EQ(t.fieldGet(QStringLiteral("NUM")).toInt(), 1);
    EXPECT_EQ(t.fieldGet(QStringLiteral("NAME")).toString().trimmed(), QStringLiteral("Kuru Madde"));
    EXPECT_EQ(t.fieldGet(QStringLiteral("ABRRE")).toString().trimmed(), QStringLiteral("KM"));
    EXPECT_EQ(t.fieldGet(QStringLiteral("UNIT")).toString().trimmed(), QStringLiteral("%"));
    EXPECT_EQ(t.fieldGet(QStringLiteral("DECIM")).toInt(), 4);
    EXPECT_TRUE(messages.shown().isEmpty());
}
