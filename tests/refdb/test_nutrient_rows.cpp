#include "refdb/nutrient_rows.h"

#include "child_process.h"
#include "problem/reference_tables.h"
#include "refdb_root.h"
#include "scripted_messages.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

using namespace vexo;
using vexo::test::Definition;
using vexo::test::RefDbRoot;

namespace {

// Rows as "NUM:ABRRE" texts, which show both the order and the numbering.
QStringList shape(BARRAYSERVER &s)
{
    QStringList out;
    for (int r = 1; r <= s.LASTREC(); ++r)
        out.append(QStringLiteral("%1:%2").arg(s.valueAt(r, 1).toInt()).arg(s.textAt(r, 3).trimmed()));
    return out;
}

QList<Definition> fiveDefinitions()
{
    return {{"Kuru Madde", "KM", "%", 4}, {"Ham protein", "HP", "%", 2}, {"Kalsiyum", "CA", "%", 3},
            {"Fosfor", "P", "%", 3}, {"Enerji", "ME", "kcal", 0}};
}

struct Editor
{
    explicit Editor(const QList<Definition> &defs)
    {
        EXPECT_TRUE(root.writeDefinitions(defs));
        EXPECT_TRUE(root.writeMatrix({"KM", "HP", "CA", "P", "ME"}, 4));
        rows = std::make_unique<NutrientDefinitionRows>(NutrientDefinitionRows::loadDefinitions());
    }
    BARRAYSERVER &s() { return rows->server(); }
    QString flags() const
    {
        return QStringLiteral("%1%2%3").arg(rows->BMCHANGE ? "B" : "-", rows->ALAN3DEG ? "A" : "-",
                                            rows->LBOSKAY ? "L" : "-");
    }

    RefDbRoot root;
    test::ScriptedMessages messages;
    std::unique_ptr<NutrientDefinitionRows> rows;
};

} // namespace

TEST(NutrientRows, MissingTableStartsWithDryMatter)
{
    RefDbRoot root;
    test::ScriptedMessages messages;
    auto server = NutrientDefinitionRows::loadDefinitions();
    ASSERT_TRUE(server);
    ASSERT_EQ(server->LASTREC(), 1);
    const QStringList got = {server->textAt(1, 2).trimmed(), server->textAt(1, 3).trimmed(),
                             server->textAt(1, 4).trimmed(), server->textAt(1, 5)};
    EXPECT_EQ(got, QStringList({"Kuru Madde", "KM", "%", "4"}));
    EXPECT_EQ(server->valueAt(1, 1).toInt(), 1);
}

// Every operation with its rows, current row, flags and messages afterwards.
TEST(NutrientRows, OperationsTable)
{
    struct Case
    {
        const char *what;
        int current;
        std::function<void(NutrientDefinitionRows &)> run;
        QList<MessageAnswer> answers;
        QStringList rows;
        int after;
        QString flags;
        QStringList messages;
    };
    const QStringList five = {"1:KM", "2:HP", "3:CA", "4:P", "5:ME"};
    auto add = [](NutrientDefinitionRows &r) { r.PBEKLE(); };
    auto move = [](int from, int to) {
        return [=](NutrientDefinitionRows &r) {
            r.server().GOTO(from);
            r.BMSSEC();
            r.server().GOTO(to);
            r.BMSKAYDIR();
        };
    };
    const QList<Case> cases = {
        {"add", 2, add, {}, five + QStringList{"6:"}, 6, "--L", {}},
        {"add twice", 2, [&](NutrientDefinitionRows &r) { r.PBEKLE(); r.server().GOTO(1); r.PBEKLE(); },
         {}, five + QStringList{"6:"}, 6, "--L", {kAddFailed}},
        {"insert on 3", 3, [](NutrientDefinitionRows &r) { r.INSBLNKREC(); }, {},
         {"1:KM", "2:HP", "3:", "4:CA", "5:P", "6:ME"}, 3, "--L", {}},
        {"delete defined", 3, [](NutrientDefinitionRows &r) { r.BMDELETE(); },
         {MessageAnswer::Yes, MessageAnswer::Yes}, {"1:KM", "2:HP", "3:P", "4:ME"}, 3, "BA-",
         {kDeleteQuestion, kDeleteColumnQuestion}},
        {"delete last", 5, [](NutrientDefinitionRows &r) { r.BMDELETE(); },
         {MessageAnswer::Yes, MessageAnswer::Yes}, {"1:KM", "2:HP", "3:CA", "4:P"}, 4, "BA-",
         {kDeleteQuestion, kDeleteColumnQuestion}},
        {"delete defined, No to the second", 3, [](NutrientDefinitionRows &r) { r.BMDELETE(); },
         {MessageAnswer::Yes, MessageAnswer::No}, five, 3, "---", {kDeleteQuestion, kDeleteColumnQuestion}},
        {"delete blank", 2, [](NutrientDefinitionRows &r) { r.INSBLNKREC(); r.BMDELETE(); },
         {MessageAnswer::Yes}, five, 2, "--L", {kDeleteQuestion}},
        {"move 2 to 5", 1, move(2, 5), {}, {"1:KM", "2:CA", "3:P", "4:HP", "5:ME"}, 4, "BAL", {}},
        {"move 5 to 2", 1, move(5, 2), {}, {"1:KM", "2:ME", "3:HP", "4:CA", "5:P"}, 2, "BAL", {}},
        {"move onto itself", 1, move(3, 3), {}, five, 3, "---", {}},
        {"reserved KM", 1, move(1, 4), {}, five, 4, "---", {QStringLiteral("KM") + kReservedSuffix}},
        {"blank rows dropped", 1, [](NutrientDefinitionRows &r) {
             r.server().GOTO(2); r.INSBLNKREC(); r.BOSKAYSIL(); },
         {}, {"1:KM", "3:HP", "4:CA", "5:P", "6:ME"}, 2, "---", {}},
    };
    for (const Case &c : cases) {
        Editor e(fiveDefinitions());
        for (MessageAnswer a : c.answers)
            e.messages.answer(a);
        e.s().GOTO(c.current);
        c.run(*e.rows);
        EXPECT_EQ(shape(e.s()), c.rows) << c.what;
        EXPECT_EQ(e.s().RECNO(), std::min(c.after, e.s().LASTREC())) << c.what;
        EXPECT_EQ(e.flags(), c.flags) << c.what;
        QStringList shown;
        for (const MessageRequest &m : e.messages.shown()) {
            shown.append(m.text);
            EXPECT_EQ(m.caption, QStringLiteral("Uyarı...")) << c.what;
        }
        EXPECT_EQ(shown, c.messages) << c.what;
        EXPECT_EQ(e.messages.pendingAnswers(), 0) << c.what;
        EXPECT_FALSE(e.rows->kaydirEnabled) << c.what;
    }
}

TEST(NutrientRows, RefusedInsertKeepsEveryRow)
{
    Editor e(fiveDefinitions());
    e.s().setAppendGate([] { return false; });
    e.s().GOTO(3);
    e.rows->INSBLNKREC();
    EXPECT_EQ(shape(e.s()), QStringList({"1:KM", "2:HP", "3:CA", "4:P", "5:ME"}));
    ASSERT_EQ(e.messages.shown().size(), 1);
    EXPECT_EQ(e.messages.shown()[0].text, kInsertFailed);
}

TEST(NutrientRows, DialogValuesAndTheirWritingBack)
{
    Editor e(fiveDefinitions());
    e.s().GOTO(5); // 0 decimals opens an empty field
    EXPECT_EQ(e.rows->dialogValues(), QStringList({QStringLiteral("Enerji").leftJustified(30), QStringLiteral("ME").leftJustified(15),
                                                   QStringLiteral("kcal").leftJustified(11), QString(5, u' ')}));
    e.s().GOTO(2);
    EXPECT_EQ(e.rows->dialogValues()[3], QStringLiteral("    2"));

    e.rows->PBEKLE();
    const int blank = e.s().RECNO();
    EXPECT_EQ(e.rows->dialogValues(), QStringList({QString(25, u' '), QString(15, u' '), QString(11, u' '), QString(5, u' ')}));
    NutrientDialogResult taken{1, true, true, "Yeni", "HP", "mg", "          1"};
    EXPECT_FALSE(e.rows->applyDialog(blank, taken));
    EXPECT_EQ(e.messages.shown().last().text, kAbbreviationTaken);
    EXPECT_EQ(e.s().textAt(blank, 2).trimmed(), QString()); // nothing of the dialog written
    EXPECT_EQ(e.flags(), QStringLiteral("--L"));

    NutrientDialogResult fresh{1, true, true, "Yeni", "YENI", "mg", "          1"};
    EXPECT_TRUE(e.rows->applyDialog(blank, fresh));
    EXPECT_EQ(shape(e.s()).last(), QStringLiteral("6:YENI"));
    EXPECT_EQ(e.s().valueAt(blank, 5).toInt(), 1);
    EXPECT_EQ(e.flags(), QStringLiteral("BAL"));
}

TEST(NutrientRows, SaveWritesDefinitionsAndRebuildsTheMatrix)
{
    Editor e(fiveDefinitions());
    e.s().GOTO(3);
    e.messages.answer(MessageAnswer::Yes);
    e.messages.answer(MessageAnswer::Yes);
    e.rows->BMDELETE();
    e.rows->PBEKLE(); // an unfilled blank row is dropped, not written
    ASSERT_TRUE(e.rows->PBKAYDET());
    EXPECT_EQ(e.flags(), QStringLiteral("---"));
    DbfTable defs(e.root.path(kNutrientDefinitionFile), true, true);
    EXPECT_EQ(defs.lastRec(), 4u);
    DbfTable matrix(e.root.path(kReferenceMatrixFile), true, true);
    EXPECT_EQ(matrix.fieldPos(QStringLiteral("CA")), 0);
    EXPECT_EQ(matrix.fieldPos(QStringLiteral("P")), 7);
    EXPECT_EQ(matrix.lastRec(), 4u);
    EXPECT_EQ(e.messages.shown().last().text, kSaved);
    // The user confirmed that CA's column goes, so the rebuild does not ask again; its values are
    // still kept in a copy of the tables as they were.
    EXPECT_EQ(e.messages.unexpectedQuestions(), 0);
    EXPECT_EQ(e.root.tempEntries(), QStringList{QStringLiteral("Onceki_Tablolar_1")});
}

TEST(NutrientRows, FailedRebuildPutsTheDefinitionsBackAndStaysOpen)
{
    for (RebuildStep step : {RebuildStep::Create, RebuildStep::Append, RebuildStep::Replace}) {
        Editor e(fiveDefinitions());
        const QByteArray defs = e.root.bytes(kNutrientDefinitionFile);
        const QByteArray live = e.root.bytes(kReferenceMatrixFile);
        e.s().GOTO(2);
        e.messages.answer(MessageAnswer::Yes);
        e.messages.answer(MessageAnswer::Yes);
        e.rows->BMDELETE();
        EXPECT_FALSE(e.rows->PBKAYDET([&](RebuildStep s) { return s == step; }));
        EXPECT_EQ(e.flags(), QStringLiteral("BA-"));
        EXPECT_EQ(e.root.bytes(kNutrientDefinitionFile), defs);
        EXPECT_EQ(e.root.bytes(kReferenceMatrixFile), live);
        EXPECT_TRUE(e.root.tempEntries().isEmpty());
        // The retry succeeds with the same rows.
        EXPECT_TRUE(e.rows->PBKAYDET());
        EXPECT_EQ(e.flags(), QStringLiteral("---"));
    }
}

TEST(NutrientRows, ClosingWithNoWritesNothing)
{
    Editor e(fiveDefinitions());
    const QByteArray defs = e.root.bytes(kNutrientDefinitionFile);
    const QByteArray live = e.root.bytes(kReferenceMatrixFile);
    e.s().GOTO(2);
    e.rows->BMSSEC();
    e.s().GOTO(4);
    e.rows->BMSKAYDIR();
    e.messages.answer(MessageAnswer::No);
    EXPECT_TRUE(e.rows->SONKONT());
    EXPECT_EQ(e.messages.shown().last().text, kSaveQuestion);
    EXPECT_EQ(e.root.bytes(kNutrientDefinitionFile), defs);
    EXPECT_EQ(e.root.bytes(kReferenceMatrixFile), live);
}

namespace {

// Fills the disk the folder is on, so that the next write fails as on a full disk.
bool fillDisk(const QString &folder)
{
    QFile filler(folder + QStringLiteral("/DOLGU"));
    if (!filler.open(QIODevice::Append | QIODevice::Unbuffered))
        return false;
    const QByteArray block(512, 'f');
    while (filler.write(block) == block.size()) {
    }
    return true;
}

} // namespace

// On a disk with no room left: a definitions save that cannot be written says why, and when the
// disk fills up during the rebuild, so that the definitions cannot be put back either, the user is
// told that too; the flags stay set for a later save.
TEST(NutrientRows, AFullDiskSaveSaysWhyAndTellsAFailedPutBack)
{
    RefDbRoot prepared;
    ASSERT_TRUE(prepared.writeDefinitions(fiveDefinitions()));
    ASSERT_TRUE(prepared.writeMatrix({"KM", "HP", "CA", "P", "ME"}, 4));
    test::ScriptedMessages messages;
    const QString full = QString::fromLocal8Bit(std::strerror(ENOSPC));
    const int status = test::runOnSmallDisk(64 * 1024, [&](const QString &folder) {
        bool ok = true;
        auto check = [&](bool condition, const char *what) {
            if (!condition) {
                std::fprintf(stderr, "full disk: %s; messages: %s\n", what,
                             qPrintable(messages.shown().isEmpty() ? QString() : messages.shown().last().text));
                ok = false;
            }
        };
        for (const QString &name : {kNutrientDefinitionFile, kReferenceMatrixFile})
            check(QFile::copy(prepared.path(name), folder + u'/' + name), "the tables are copied");
        appGlobals().CVERIKOK = folder;
        NutrientDefinitionRows rows(NutrientDefinitionRows::loadDefinitions());
        check(rows.usable(), "the rows are loaded");
        const auto readBack = [&](const QString &name) {
            QFile f(folder + u'/' + name);
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        };
        const QByteArray defs = readBack(kNutrientDefinitionFile);
        const QByteArray matrix = readBack(kReferenceMatrixFile);

        // The definitions themselves cannot be written.
        rows.server().GOTO(2);
        messages.answer(MessageAnswer::Yes);
        messages.answer(MessageAnswer::Yes);
        check(rows.BMDELETE(), "a definition is deleted");
        check(fillDisk(folder), "the disk is filled");
        messages.clear();
        check(!rows.KAYDET(), "the save fails");
        const QString failed = QStringLiteral("Besin maddesi tanımları yazılamadı! : ");
        check(messages.shown().size() == 1, "one message");
        check(!messages.shown().isEmpty() && messages.shown()[0].text.startsWith(failed)
                  && messages.shown()[0].text.endsWith(full),
              "the message gives the disk's reason");
        check(rows.BMCHANGE && rows.ALAN3DEG, "the flags stay set");
        check(readBack(kNutrientDefinitionFile) == defs && readBack(kReferenceMatrixFile) == matrix,
              "both tables as they were");

        // With room again the definitions are written, and the disk fills up during the rebuild.
        check(QFile::remove(folder + QStringLiteral("/DOLGU")), "room again");
        messages.clear();
        check(!rows.KAYDET([&](RebuildStep step) { return step == RebuildStep::Create && fillDisk(folder); }),
              "the rebuild fails");
        check(messages.shown().size() == 2, "the rebuild's message and the put-back's");
        check(messages.shown().size() == 2 && messages.shown()[1].text.startsWith(kPutBackFailed + QStringLiteral(" : "))
                  && messages.shown()[1].text.endsWith(full),
              "the failed put-back is told with its reason");
        check(rows.BMCHANGE && rows.ALAN3DEG, "the flags stay set after the rebuild");
        check(readBack(kReferenceMatrixFile) == matrix, "the matrix as it was");
        return ok;
    });
    if (status == test::kNoSmallDisk)
        GTEST_SKIP() << "this machine allows no tmpfs mount";
    EXPECT_EQ(status, 0);
}
