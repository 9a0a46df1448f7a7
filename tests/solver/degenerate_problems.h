#pragma once

#include "solver_fixture.h"

namespace vexo::test {

// A seeded feed problem (randomProblem's, contents to 3 decimals and prices to 2) made degenerate
// the ways feed problems are: twins of ingredients (at the same price or a little above), even blends
// of two ingredients (at the blend's price or a little above), an ingredient of the formula held at
// a maximum of 0 or fixed at 0, a group whose maximum equals its member's maximum, on which that
// member sits, and nutrient rows that are sums of rows binding at the optimum (so they are tight
// there too). GLPK's optimum of the problem built so far decides where the last three go (it is
// installed for that; install the result before solving it). The added ingredients and rows keep
// the problem within the shape.
FeedProblem degenerateProblem(unsigned seed, const RandomShape &shape);

} // namespace vexo::test
