#pragma once

#include <QByteArray>

namespace vexo {

// What became of a problem file's bytes on the road from opening to solving.
enum class ProblemProbeEnd { Refused, NotLoaded, Solved };

// Writes the bytes to a problem file in a private folder, opens it as the open problem, loads it
// (reference option off) and, when that succeeds, checks the model's invariants and solves it in
// automatic mode; messages are answered silently. The open problem is closed again afterwards. It
// exists so that arbitrary bytes can be pushed through the whole open, load and solve path, by the
// fuzz target and by the tests that replay its corpus.
ProblemProbeEnd probeProblemBytes(const QByteArray &bytes);

} // namespace vexo
