#include "problem/name_match.h"

namespace vexo {

namespace {
NameMatcher *g_matcher = nullptr;
}

NameMatcher *nameMatcher()
{
    return g_matcher;
}

void setNameMatcher(NameMatcher *matcher)
{
    g_matcher = matcher;
}

} // namespace vexo
