#include "reports/last_report.h"

namespace vexo {

void LastReport::recordText(const QString &path, const QString &text)
{
    m_path = path;
    m_text = text;
    m_solution.clear();
}

void LastReport::recordDocument(const QString &path)
{
    m_path = path;
    m_solution.clear();
}

void LastReport::clear()
{
    m_path.clear();
    m_text.clear();
    m_solution.clear();
}

LastReport &lastReport()
{
    static LastReport last;
    return last;
}

} // namespace vexo
