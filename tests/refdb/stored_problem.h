#pragma once
// A feed problem stored in a problem file, for the tests that solve what a load brought in (they
// are built with the solver tests' feed problems and oracle).
#include "problem/open_problem.h"
#include "problem/problem_file.h"
#include "problem/problem_saver.h"
#include "solver_fixture.h"

#include <gtest/gtest.h>

namespace vexo::test {

// A problem file holding `fp` as the saver writes it; the open problem is reset after.
inline void storeProblem(const QString &file, const FeedProblem &fp)
{
    fp.install();
    ASSERT_TRUE(DATAFILECREATE(nullptr, file));
    ASSERT_TRUE(DATAFOPEN(nullptr, file));
    openProblem().setAllDirty(true);
    QString why;
    ASSERT_TRUE(PROBDBFUPDATE(&why)) << why.toStdString();
    openProblem().reset();
}

} // namespace vexo::test
