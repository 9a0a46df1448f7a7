// Replays the problem-file fuzz target's corpus through the same open, load and solve path, so every
// input that once mattered keeps being checked by the ordinary test run.
#include "problem/open_problem.h"
#include "solver/problem_probe.h"

#include <QDir>
#include <QFile>

#include "source_tree.h"

#include <gtest/gtest.h>

using namespace vexo;

namespace {

QByteArray corpusFile(const QString &name)
{
    QFile f(vexo::test::sourceTree() + QStringLiteral("/fuzz/corpus_problem/") + name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST(ProblemFuzzCorpus, EveryCorpusFileGoesThroughOpenLoadAndSolve)
{
    const QDir corpus(vexo::test::sourceTree() + QStringLiteral("/fuzz/corpus_problem"));
    const QStringList files = corpus.entryList(QDir::Files);
    ASSERT_GE(files.size(), 4) << corpus.path().toStdString();
    int solved = 0;
    for (const QString &name : files) {
        const QByteArray bytes = corpusFile(name);
        ASSERT_FALSE(bytes.isEmpty() && QFileInfo(corpus.filePath(name)).size() > 0) << name.toStdString();
        if (probeProblemBytes(bytes) == ProblemProbeEnd::Solved)
            ++solved;
        EXPECT_FALSE(openProblem().isOpen()) << name.toStdString();
    }
    EXPECT_GE(solved, 4);
}

// The seeds are hand-written problem files of both layouts; each reaches the solver.
TEST(ProblemFuzzCorpus, SeedFilesAreOpenedLoadedAndSolved)
{
    for (const char *name : {"solvable.vkd", "older_layout.vkd", "empty.vkd", "no_ingredients.vkd"}) {
        const QByteArray bytes = corpusFile(QString::fromLatin1(name));
        ASSERT_FALSE(bytes.isEmpty()) << name;
        EXPECT_EQ(probeProblemBytes(bytes), ProblemProbeEnd::Solved) << name;
    }
    // Bytes that are no table, and a table that is no problem file, stop at the open.
    EXPECT_EQ(probeProblemBytes(QByteArray("not a table")), ProblemProbeEnd::Refused);
    QByteArray foreign = corpusFile(QStringLiteral("solvable.vkd"));
    foreign.replace(32, 5, "XYZAB"); // the first field's name
    EXPECT_EQ(probeProblemBytes(foreign), ProblemProbeEnd::Refused);
}
