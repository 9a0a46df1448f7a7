// Reports and PDF documents written by a process whose writes fail part way (a file-size limit
// fails a write as a full disk does): the write is reported as failed and the previous file stays.
#include "pdf_test_support.h"

#include "child_process.h"
#include "reports/report_file.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace vexo;
using namespace vexo::test;

namespace {

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

} // namespace

TEST(FileWriteFaults, ReportsAndDocumentsKeepThePreviousFile)
{
    QTemporaryDir dir;
    ScriptedMessages messages; // the PDF writer tells its error
    const QByteArray old("previous report\r\n");
    const struct
    {
        const char *what;
        std::function<bool(const QString &)> write;
    } writers[] = {
        {"a text report", [](const QString &path) { return writeReportFile(path, QString(3000, u'ş')); }},
        {"a PDF document",
         [](const QString &path) {
             ProbePdf pdf(std::nullopt, std::nullopt, pdfDataFolder());
             pdf.OPEN();
             pdf.ADDPAGE();
             pdf.SETFONT(QStringLiteral("Helvetica"), QString(), 12);
             pdf.DRAWTEXT(20, 20, QStringLiteral("Çözüm sonuçları"));
             try {
                 pdf.OUTPUT(path);
             } catch (const PdfError &) {
                 return false;
             }
             return true;
         }},
    };
    for (const auto &w : writers) {
        const QString path = QDir(dir.path()).filePath(QStringLiteral("RAPOR.TXT"));
        ASSERT_TRUE(writeBytes(path, old));
        EXPECT_EQ(runWithFileSizeLimit(256, [&] { return w.write(path); }), 1) << w.what;
        EXPECT_EQ(contents(path), old) << w.what;
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1) << w.what;
        EXPECT_TRUE(w.write(path)) << w.what;
        EXPECT_GT(contents(path).size(), 256) << w.what;
    }
}
