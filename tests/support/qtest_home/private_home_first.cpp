// Linked into every QtTest program: its private home is set before main() makes the application, so
// no window test sees the user's settings or Qt's file-chooser history.
#include "private_home.h"

namespace {

[[maybe_unused]] const bool g_privateHome = !vexo::test::usePrivateHome().isEmpty();

} // namespace
