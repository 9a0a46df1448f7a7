#include "reports/pad_document.h"

#include "platform/cp1254_codec.h"
#include "reports/report_file.h"
#include "reports/rtf_reader.h"
#include "reports/rtf_writer.h"

#include <QFile>
#include <QTextDocument>

namespace vexo {

QString padTextFromBytes(const QByteArray &bytes)
{
    return padTextFromReport(Cp1254Codec::decode(bytes));
}

QString padTextFromReport(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

QByteArray padTextToBytes(const QString &text)
{
    QString crlf = text;
    crlf.replace(u'\n', QStringLiteral("\r\n"));
    return Cp1254Codec::encode(crlf);
}

QString padPlainText(const QTextDocument &document)
{
    QString text = document.toRawText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    text.replace(QChar::LineSeparator, u'\n');
    text.remove(QChar::ObjectReplacementCharacter);
    return text;
}

void setPadPlainText(QTextDocument *document, const QString &text)
{
    document->setPlainText(text);
}

bool isRichName(const QString &name)
{
    return name.right(3).toUpper() == QStringLiteral("RTF");
}

bool loadPadFile(const QString &path, QTextDocument *document)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return false;
    if (isRichName(path) && readRtf(bytes, document))
        return true;
    setPadPlainText(document, padTextFromBytes(bytes));
    return true;
}

bool savePadFile(const QString &path, const QTextDocument &document, bool rich)
{
    return writeFileBytes(path, rich ? writeRtf(document) : padTextToBytes(padPlainText(document)));
}

} // namespace vexo
