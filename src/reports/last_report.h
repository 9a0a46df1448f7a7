#pragma once

#include <QByteArray>
#include <QString>

namespace vexo {

// The last report: the file the report pad and the viewer open next, and the text of the last text
// report. The text never changes on its own: whoever records a text records the file it belongs to,
// so the pad can never show one file's text under another file's name.
class LastReport
{
public:
    // CSONRAPOR: a text report's path, or the PDF document's after a PDF summary.
    const QString &CSONRAPOR() const { return m_path; }
    // CSONRAPORMETNI: the text of the last text report (or of the text file the pad last read or
    // saved).
    const QString &CSONRAPORMETNI() const { return m_text; }

    // A text report (or a plain-text file) and its text: both change together.
    void recordText(const QString &path, const QString &text);
    // A document without a text of its own (the PDF summary): only the path changes, so the text of
    // the last text report stays for its own file.
    void recordDocument(const QString &path);
    // The start-up state: both empty.
    void clear();

    // A solution report just recorded: the open problem's solution stamp when it was written
    // (OpenProblem::solutionStamp). Recording another report or document forgets it.
    void recordSolution(const QByteArray &stamp) { m_solution = stamp; }
    // True when the last report is a solution report of a problem that has been solved again or
    // changed since: `current` is the open problem's stamp now (empty with no problem open, which
    // makes nothing older).
    bool olderThan(const QByteArray &current) const
    {
        return !m_solution.isEmpty() && !current.isEmpty() && current != m_solution;
    }

private:
    QString m_path;
    QString m_text;
    QByteArray m_solution;
};

LastReport &lastReport();

} // namespace vexo
