#pragma once

#include "solver/report_input.h"

#include <QDateTime>
#include <QString>

class QWidget;

namespace vexo {

// The detailed solution report as one text of 100-character lines ended by CR LF.
QString detailedReportText(const ReportInput &in, const QDateTime &now);

// The shadow price text of a limit row: "< 0.0000", "0.0000" or the 11/4 number text, right-aligned
// in 11 characters.
QString shadowPriceText(double s);

// SONUCDOSYA: writes the detailed report beside the problem file through RFILEANDTEXT.
bool SONUCDOSYA(QWidget *owner, const ReportInput &in);

} // namespace vexo
