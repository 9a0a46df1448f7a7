#include "reports/pdf_format.h"

#include <cmath>

namespace vexo {

QByteArray FMTREAL_(double value, unsigned decimals)
{
    QByteArray text = QByteArray::number(value, 'f', static_cast<int>(decimals)).trimmed();
    text.replace(',', '.');
    if (text.contains('.')) {
        while (text.size() > 1 && text.endsWith('0'))
            text.chop(1);
        if (text.endsWith('.'))
            text.chop(1);
    }
    // A value that rounds to zero from below would otherwise read "-0".
    if (text == "-0")
        text = "0";
    return text;
}

QByteArray pdfEscape(const QByteArray &text)
{
    QByteArray out = text;
    out.replace("\\", "\\\\");
    out.replace(")", "\\)");
    out.replace("(", "\\(");
    return out;
}

double pdfRound(double value, int places)
{
    const double scale = std::pow(10.0, places);
    return std::round(value * scale) / scale;
}

} // namespace vexo
