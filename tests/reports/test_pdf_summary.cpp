// The solution summary as a PDF document, and the opening of the viewer.
#include "pdf_test_support.h"

#include "platform/cp1254_codec.h"
#include "problem/app_globals.h"
#include "problem/turkish_text.h"
#include "recording_pdf_viewer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QThread>

using namespace vexo;
using namespace vexo::test;

namespace {

const QString kDateLine = QStringLiteral("Tarih: 14/03/2026 - Saat: 09:26:53");
const QString kChapter = QStringLiteral("ÇÖZÜM SONUÇLARI :");

// Body lines as the solver writes them: Turkish letters, columns of blanks, CR LF.
QString bodyLine(int i)
{
    return QStringLiteral("Satır %1  Ağırlık Şeker Çözüm  İşçi öğün ĞÜÖ: %2 kg")
        .arg(i, 3, 10, QLatin1Char('0'))
        .arg(i * 12.5, 8, 'f', 2);
}

class PdfSummary : public PdfTest
{
protected:
    QTemporaryDir root;
    RecordingViewer viewer;
    QString savedRoot;

    void SetUp() override
    {
        savedRoot = appGlobals().CVERIKOK;
        appGlobals().CVERIKOK = root.path();
        ASSERT_TRUE(QDir(root.path()).mkpath(QStringLiteral("PDF_Out")));
    }
    void TearDown() override { appGlobals().CVERIKOK = savedRoot; }

    QString writeBody(int lines)
    {
        QString text;
        for (int i = 1; i <= lines; ++i)
            text += bodyLine(i) + QStringLiteral("\r\n");
        const QString path = root.filePath(QStringLiteral("PDF_Out/pdfteks1.txt"));
        EXPECT_TRUE(writeBytes(path, Cp1254Codec::encode(text)));
        return path;
    }
    OzetRapor rapor(const QString &body) const
    {
        return {QStringLiteral("Şahin Yem Ürünleri İç Ticaret"), kDateLine, kChapter, body};
    }
    static QByteArray readAll(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // The content streams of the pages, in order.
    static QList<QByteArray> pageStreams(const QByteArray &doc)
    {
        QList<QByteArray> pages;
        qsizetype from = 0;
        while ((from = doc.indexOf("\nstream\n", from)) >= 0) {
            const qsizetype end = doc.indexOf("\nendstream\n", from);
            pages << doc.mid(from + 8, end - from - 8);
            from = end;
        }
        return pages;
    }
};

} // namespace

TEST_F(PdfSummary, LongBodyRunsOverThreePages)
{
    const QString path = showSummaryPdf(rapor(writeBody(120)));
    EXPECT_EQ(path, root.filePath(QStringLiteral("PDF_Out/VEXO_Zud_Cozum_Sonuclari.pdf")));
    EXPECT_EQ(viewer.opened, QStringList{path});
    EXPECT_TRUE(messages.shown().isEmpty());

    const QByteArray doc = readAll(path);
    const QList<QByteArray> pages = pageStreams(doc);
    ASSERT_EQ(pages.size(), 3);
    const int bodyLines[] = {46, 47, 27};
    for (int p = 0; p < 3; ++p) {
        SCOPED_TRACE(p + 1);
        const QByteArray &s = pages.at(p);
        EXPECT_EQ(s.count("(Satir "), bodyLines[p]);
        EXPECT_EQ(s.count("(Sayfa " + QByteArray::number(p + 1) + ")"), 1);
        EXPECT_EQ(s.count("(Sayfa "), 1);
        // The header on every page: product line, title, date line.
        EXPECT_TRUE(s.contains("(VEXO_Zud S 2.6) Tj ET"));
        EXPECT_TRUE(s.contains("(Sahin Yem Urunleri Ic Ticaret) Tj ET"));
        EXPECT_TRUE(s.contains("(" + kDateLine.toLatin1() + ") Tj ET"));
        EXPECT_EQ(s.contains("($ COZUM SONUCLARI :) Tj ET"), p == 0);
        // The footer is grey, the body Courier-Bold 8 and justified.
        EXPECT_TRUE(s.contains("q 0.502 g BT "));
    }
    EXPECT_TRUE(pages.at(0).contains("(Satir 046  Agirlik Seker Cozum  Isci ogun GUO:   575.00 kg) Tj ET"));
    EXPECT_TRUE(pages.at(1).contains("(Satir 047 "));
    EXPECT_TRUE(pages.at(2).contains("(Satir 120 "));
    EXPECT_TRUE(doc.contains("/BaseFont /Courier-Bold\n"));
    EXPECT_TRUE(doc.contains("/Title (Sahin Yem Urunleri Ic Ticaret)\n"));
    EXPECT_TRUE(doc.contains("/CreationDate (D:20260314120000) >>"));
    // Not one Turkish letter is left in the file.
    for (const QChar ch : QStringLiteral("çğıöşüÇĞİÖŞÜ"))
        EXPECT_FALSE(doc.contains(char(Cp1254Codec::fromUnicode(ch)))) << int(ch.unicode());
}

TEST_F(PdfSummary, ToolsReadAndRenderTheSummary)
{
    const QString path = TOPDF_OZET(rapor(writeBody(120)));
    ASSERT_FALSE(path.isEmpty());

    const ToolResult check = runTool(QStringLiteral("qpdf"), {QStringLiteral("--check"), path});
    if (!check.found)
        FAIL() << "qpdf is not installed (tools/deps.sh installs it)";
    EXPECT_EQ(check.exitCode, 0) << check.out.constData() << check.err.constData();

    const ToolResult text = runTool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    if (!text.found)
        FAIL() << "pdftotext is not installed (tools/deps.sh installs it)";
    ASSERT_EQ(text.exitCode, 0) << text.err.constData();
    const QString plain = QString::fromUtf8(text.out).simplified();
    for (int i = 1; i <= 120; ++i) {
        const QString expected = TRENDIRECT2(bodyLine(i)).simplified();
        EXPECT_TRUE(plain.contains(expected)) << expected.toStdString();
    }
    for (const char *footer : {"Sayfa 1", "Sayfa 2", "Sayfa 3", "VEXO_Zud S 2.6", "$ COZUM SONUCLARI :"})
        EXPECT_TRUE(plain.contains(QLatin1String(footer))) << footer;

    const QString png = root.filePath(QStringLiteral("page"));
    const ToolResult render = runTool(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("50"),
                                                                   QStringLiteral("-f"), QStringLiteral("1"),
                                                                   QStringLiteral("-singlefile"), QStringLiteral("-png"),
                                                                   path, png});
    if (!render.found)
        FAIL() << "pdftoppm is not installed (tools/deps.sh installs it)";
    ASSERT_EQ(render.exitCode, 0) << render.err.constData();
    EXPECT_TRUE(render.err.isEmpty()) << render.err.constData();
    const QImage page(png + QStringLiteral(".png"));
    ASSERT_FALSE(page.isNull());
    EXPECT_NEAR(page.width(), 210 * 50 / 25.4, 2);
    // The title band is light blue (200, 220, 255) between its white frame and its text; the chapter
    // title band runs to the right margin; the page is white right of the body text.
    const auto at = [&](double xmm, double ymm) { return page.pixelColor(int(xmm * 50 / 25.4), int(ymm * 50 / 25.4)); };
    const auto near = [](const QColor &c, int r, int g, int b) {
        return std::abs(c.red() - r) <= 2 && std::abs(c.green() - g) <= 2 && std::abs(c.blue() - b) <= 2;
    };
    EXPECT_TRUE(near(at(105, 20.4), 200, 220, 255)) << at(105, 20.4).name().toStdString();
    EXPECT_TRUE(near(at(190, 41), 200, 220, 255)) << at(190, 41).name().toStdString();
    EXPECT_TRUE(near(at(180, 150), 255, 255, 255)) << at(180, 150).name().toStdString();
}

TEST_F(PdfSummary, MissingBodyGivesHeaderFooterAndTitleOnly)
{
    const QString path = TOPDF_OZET(rapor(root.filePath(QStringLiteral("PDF_Out/none.txt"))));
    ASSERT_FALSE(path.isEmpty());
    EXPECT_TRUE(messages.shown().isEmpty());
    const QByteArray doc = readAll(path);
    const QList<QByteArray> pages = pageStreams(doc);
    ASSERT_EQ(pages.size(), 1);
    EXPECT_TRUE(pages.first().contains("($ COZUM SONUCLARI :) Tj ET"));
    EXPECT_TRUE(pages.first().contains("(Sayfa 1) Tj ET"));
    EXPECT_TRUE(pages.first().contains("(Sahin Yem Urunleri Ic Ticaret) Tj ET"));
    EXPECT_FALSE(doc.contains("Courier"));
}

TEST_F(PdfSummary, EachSummaryReplacesTheSameFile)
{
    const QString body = writeBody(3);
    const QString first = showSummaryPdf(rapor(body));
    ASSERT_TRUE(writeBytes(body, "Yeni sonuc\r\n"));
    const QString second = showSummaryPdf(rapor(body));
    EXPECT_EQ(first, second);
    EXPECT_EQ(viewer.opened, (QStringList{first, second}));
    const QByteArray doc = readAll(second);
    EXPECT_TRUE(doc.contains("(Yeni sonuc) Tj ET"));
    EXPECT_FALSE(doc.contains("(Satir "));
}

// No viewer could be started: the document is there all the same, and the user is told where.
TEST_F(PdfSummary, WithoutAViewerTheMessageSaysWhereTheDocumentIs)
{
    viewer.starts = false;
    const QString path = showSummaryPdf(rapor(writeBody(3)));
    EXPECT_EQ(path, summaryPdfPath());
    EXPECT_TRUE(QFileInfo(path).size() > 0);
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown().first().caption, QStringLiteral("Uyarı..."));
    EXPECT_EQ(messages.shown().first().text,
              QStringLiteral("PDF görüntüleyici başlatılamadı.\n\nÇözüm özeti şu dosyaya yazıldı:\n")
                  + QDir::toNativeSeparators(path));
    EXPECT_EQ(messages.unexpectedQuestions(), 0);
}

TEST_F(PdfSummary, WriterErrorOpensNothingAndKeepsThePreviousDocument)
{
    const QString path = summaryPdfPath();
    ASSERT_TRUE(writeBytes(path, "previous document"));
    // A title too long for one piece of the document fails inside the page header.
    OzetRapor r = rapor(writeBody(2));
    r.company = QString(70000, u'x');
    EXPECT_EQ(showSummaryPdf(r), QString());
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown().first().caption, QStringLiteral("PDF Error"));
    EXPECT_EQ(messages.shown().first().text, QStringLiteral("MDPDF error: Buffer size too large"));
    EXPECT_TRUE(viewer.opened.isEmpty());
    EXPECT_EQ(readAll(path), QByteArray("previous document"));

    // An output folder that cannot be made: the write fails with the writer's message.
    messages.clear();
    QTemporaryDir other;
    ASSERT_TRUE(writeBytes(other.filePath(QStringLiteral("PDF_Out")), "a file, not a folder"));
    appGlobals().CVERIKOK = other.path();
    EXPECT_EQ(showSummaryPdf(rapor(writeBody(2))), QString());
    EXPECT_EQ(pdfErrorText(), QStringLiteral("MDPDF error: Unable to create output file: ") + summaryPdfPath());
    EXPECT_TRUE(viewer.opened.isEmpty());
}

TEST_F(PdfSummary, ViewerOpensOnlyExistingFiles)
{
    const QString blanks = root.filePath(QStringLiteral("Belgeler ve Raporlar/özet (1).pdf"));
    ASSERT_TRUE(QDir(root.path()).mkpath(QStringLiteral("Belgeler ve Raporlar")));
    ASSERT_TRUE(writeBytes(blanks, "%PDF-1.3\n"));
    EXPECT_FALSE(PDFOPEN(QString()));
    EXPECT_FALSE(PDFOPEN(root.filePath(QStringLiteral("missing.pdf"))));
    EXPECT_FALSE(PDFOPEN(root.path())); // a folder is not a document
    EXPECT_TRUE(PDFOPEN(blanks));
    EXPECT_EQ(viewer.opened, QStringList{blanks});
}

TEST_F(PdfSummary, DesktopViewerGetsThePathAsOneArgument)
{
    // A stand-in for xdg-open on PATH that records its arguments.
    const QString bin = root.filePath(QStringLiteral("bin"));
    ASSERT_TRUE(QDir(root.path()).mkpath(QStringLiteral("bin")));
    const QString log = root.filePath(QStringLiteral("args.txt"));
    const QString script = bin + QStringLiteral("/xdg-open");
    ASSERT_TRUE(writeBytes(script, "#!/bin/sh\n{ echo \"$#\"; for a in \"$@\"; do echo \"$a\"; done; } > \""
                                       + log.toUtf8() + ".tmp\"\nmv \"" + log.toUtf8() + ".tmp\" \"" + log.toUtf8()
                                       + "\"\n"));
    QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QByteArray savedPath = qgetenv("PATH");
    qputenv("PATH", bin.toUtf8() + ':' + savedPath);

    const QString document = root.filePath(QStringLiteral("My Documents/VEXO Zud Cozum.pdf"));
    PdfViewer desktop;
    const bool started = desktop.open(document);
    qputenv("PATH", savedPath);
    ASSERT_TRUE(started);

    QElapsedTimer timer;
    timer.start();
    while (!QFile::exists(log) && timer.elapsed() < 10000)
        QThread::msleep(20);
    EXPECT_EQ(QString::fromUtf8(readAll(log)), QStringLiteral("1\n") + document + u'\n');
}

TEST_F(PdfSummary, MessageFunctions)
{
    MSG_E(QStringLiteral("Olmadı"));
    IMSG(QStringLiteral("Created..."));
    ASSERT_EQ(messages.shown().size(), 2);
    EXPECT_EQ(messages.shown().at(0).caption, QStringLiteral("Hata..."));
    EXPECT_EQ(messages.shown().at(0).icon(), unsigned(MB_ICONSTOP));
    EXPECT_EQ(messages.shown().at(0).text, QStringLiteral("Olmadı"));
    EXPECT_EQ(messages.shown().at(1).caption, QStringLiteral("PDF Test"));
    EXPECT_EQ(messages.shown().at(1).style, unsigned(MB_OK));
}
