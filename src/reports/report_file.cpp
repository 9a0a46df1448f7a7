#include "reports/report_file.h"

#include "platform/atomic_file.h"
#include "platform/cp1254_codec.h"
#include "problem/messages.h"
#include "reports/last_report.h"

#include <QDir>
#include <QFileInfo>

namespace vexo {

QString reportLine(const QString &content)
{
    return content.leftJustified(kReportLineWidth, u' ', true) + QStringLiteral("\r\n");
}

QString blankReportLine()
{
    return reportLine(QString());
}

QString centred(const QString &text, int width)
{
    if (text.size() >= width)
        return text.left(width);
    const qsizetype left = (width - text.size()) / 2;
    return (QString(left, u' ') + text).leftJustified(width, u' ');
}

bool writeReportFile(const QString &path, const QString &text)
{
    return writeFileBytes(path, Cp1254Codec::encode(text));
}

bool writeFileBytes(const QString &path, const QByteArray &bytes)
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    if (!QDir().mkpath(info.absolutePath()))
        return false;
    return writeFileAtomically(path, bytes);
}

void reportWriteFailed(QWidget *owner)
{
    ERRMESS(owner, QString(),
            QStringLiteral("Rapor dosyası oluşturma başarısız!") + QStringLiteral("\r\n\r\n")
                + QStringLiteral("Sonra tekrar deneyiniz.."));
}

bool RFILEANDTEXT(QWidget *owner, const QString &file, const QString &text)
{
    if (!writeReportFile(file, text)) {
        reportWriteFailed(owner);
        return false;
    }
    lastReport().recordText(file, text);
    return true;
}

} // namespace vexo
