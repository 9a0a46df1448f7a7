#pragma once

#include <QString>

namespace vexo::test {

// The project's source folder, for fixtures and corpora kept beside the tests.
inline QString sourceTree()
{
    return QStringLiteral(VEXO_SOURCE_DIR);
}

} // namespace vexo::test
