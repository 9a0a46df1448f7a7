#pragma once

#include "reports/pdf_summary.h"
#include "solver/report_input.h"

#include <QDateTime>
#include <QString>

class QWidget;

namespace vexo {

// The summary in its two forms: the text report (with its title block and blank separator lines)
// and the body of the PDF document (the same lines without them).
struct SummaryTexts
{
    QString text;
    QString pdfBody;
    QString company;  // AOZETRAPOR's document title
    QString dateLine; // AOZETRAPOR's date line
};

// A solve without an optimum gets no table: its sheet says that no optimal formula was found and
// that the limits are to be checked.
SummaryTexts summaryTexts(const ReportInput &in, const QDateTime &now);

// AOZETRAPOR: the summary the PDF writer renders; its chapter and body file are set only after the
// body file of a PDF summary was written.
OzetRapor &AOZETRAPOR();

// The PDF body file: the data root's "PDF_Out/pdfteks1.txt".
QString summaryBodyPath();
// The text summary's file: the open problem file's path without extension + ".TXT".
QString solutionReportPath();

// SONUCOZET: writes the summary in the chosen format. The text form goes through RFILEANDTEXT (the
// last report); the PDF form writes the body file and fills AOZETRAPOR for the PDF writer. A file
// that cannot be written is told to the user; the result is false then.
bool SONUCOZET(QWidget *owner, const ReportInput &in);

} // namespace vexo
