// Problem files written from the solver tests' problems (with GoogleTest's checks, so not part of the
// benchmark's helpers).
#include "solver_fixture.h"

#include "problem/open_problem.h"
#include "problem/problem_file.h"
#include "problem/problem_saver.h"

#include <gtest/gtest.h>

namespace vexo::test {

void FeedProblem::saveTo(const QString &path) const
{
    install();
    ASSERT_TRUE(DATAFILECREATE(nullptr, path));
    ASSERT_TRUE(DATAFOPEN(nullptr, path));
    openProblem().setAllDirty(true);
    QString why;
    ASSERT_TRUE(PROBDBFUPDATE(&why)) << why.toStdString();
    openProblem().reset();
}

} // namespace vexo::test
