#pragma once

#include "reports/pdf_document.h"
#include "reports/pdf_summary.h"
#include "scripted_messages.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vexo::test {

// The writer with its state open to the tests.
class ProbePdf : public MDPDF
{
public:
    using MDPDF::MDPDF;
    using MDPDF::AUSEDFONTS;
    using MDPDF::BUFOUT_;
    using MDPDF::CDRAWCOLOR;
    using MDPDF::CFILLCOLOR;
    using MDPDF::CFONTFAMILY;
    using MDPDF::CFONTSTYLE;
    using MDPDF::CTEXTCOLOR;
    using MDPDF::CZOOMMODE;
    using MDPDF::LCOLORFLAG;
    using MDPDF::LINFOOTER;
    using MDPDF::NBUFLEN;
    using MDPDF::NCMARGIN;
    using MDPDF::NEWOBJ_;
    using MDPDF::NFONTSIZE;
    using MDPDF::NFONTSIZEPT;
    using MDPDF::NH;
    using MDPDF::NLINEWIDTH;
    using MDPDF::NLMARGIN;
    using MDPDF::NOBJECT;
    using MDPDF::NPAGEBREAKTRIGGER;
    using MDPDF::NTMARGIN;
    using MDPDF::NW;
    using MDPDF::NWS;
    using MDPDF::NX;
    using MDPDF::NY;
    using MDPDF::OUT_;
    using MDPDF::AIMAGES;

    // The lines written since the mark.
    QList<QByteArray> linesSince(quint32 mark) const
    {
        QByteArray tail = documentBytes().mid(mark);
        if (tail.endsWith('\n'))
            tail.chop(1);
        return tail.isEmpty() ? QList<QByteArray>{} : tail.split('\n');
    }
    quint32 mark() const { return NBUFLEN; }
};

// Every writer test runs with scripted boxes and a fixed clock.
class PdfTest : public ::testing::Test
{
protected:
    ScriptedMessages messages;
    ManualClock clock;

    // The one "PDF Error" box shown, or an empty text.
    QString pdfErrorText() const
    {
        for (const MessageRequest &r : messages.shown()) {
            if (r.caption == u"PDF Error")
                return r.text;
        }
        return {};
    }
};

// Runs an external tool; an empty result when it is not installed.
struct ToolResult
{
    bool found = false;
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

inline ToolResult runTool(const QString &program, const QStringList &args)
{
    ToolResult r;
    const QString exe = QStandardPaths::findExecutable(program);
    if (exe.isEmpty())
        return r;
    r.found = true;
    QProcess p;
    p.start(exe, args);
    p.waitForFinished(60000);
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

inline bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// Width file folder holding copies of the program's width files, for tests that must change them.
inline QString copyWidthFiles(const QTemporaryDir &dir)
{
    const QString folder = dir.path() + u'/';
    for (const char *name : {"courier", "courierb", "helvetica", "helveticab", "helveticai", "symbol"}) {
        const QString file = QString::fromLatin1(name) + QStringLiteral(".ftb");
        QFile::copy(pdfDataFolder() + file, folder + file);
        QFile::setPermissions(folder + file, QFile::ReadOwner | QFile::WriteOwner);
    }
    return folder;
}

} // namespace vexo::test
