#include "reports/pdf_summary.h"

#include "platform/cp1254_codec.h"
#include "platform/message_sink.h"
#include "problem/app_globals.h"
#include "problem/messages.h"
#include "problem/turkish_text.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

// The width files are compiled into this static library; their registration has to be asked for.
static void initPdfResources()
{
    Q_INIT_RESOURCE(pdf_fonts);
}

namespace vexo {

namespace {

const QString kProductLine = QStringLiteral("VEXO_Zud S 2.6");
// Page width of the summary's A4 portrait millimetre pages, as the header centres on it.
constexpr double kPageWidth = 210;

PdfViewer *g_viewer = nullptr;

} // namespace

QVPDF::QVPDF(const std::optional<QString> &orientation, const std::optional<QString> &unit,
             const QString &fontPath, const QString &imagePath, const QString &dateLine)
    : MDPDF(orientation, unit, fontPath, imagePath), m_dateLine(dateLine)
{
}

void QVPDF::HEADER()
{
    SETFONT(QStringLiteral("Arial"), QStringLiteral("B"), 8);
    const double w1 = GETSTRINGWIDTH(kProductLine) + 6;
    SETX((kPageWidth - w1) / 2);
    SETDRAWCOLOR(255, 255, 255);
    SETFILLCOLOR(255, 255, 255);
    CELL(w1, 9, kProductLine, 1, 1, QStringLiteral("C"), 1);

    SETFONT(QStringLiteral("Arial"), QStringLiteral("B"), 12);
    const double w2 = GETSTRINGWIDTH(CTITLE) + 6;
    SETX((kPageWidth - w2) / 2);
    SETDRAWCOLOR(255, 255, 255);
    SETFILLCOLOR(200, 220, 255);
    SETLINEWIDTH(1);
    CELL(w2, 9, CTITLE, 1, 1, QStringLiteral("C"), 1);

    SETFONT(QStringLiteral("Arial"), QStringLiteral("B"), 8);
    SETFILLCOLOR(255, 255, 255);
    SETX((kPageWidth - w2) / 2);
    CELL(w2, 9, TRENDIRECT2(m_dateLine), 1, 1, QStringLiteral("C"), 1);
    LN(1);
}

void QVPDF::FOOTER()
{
    SETY(-15);
    SETFONT(QStringLiteral("Arial"), QStringLiteral("I"), 8);
    SETTEXTCOLOR(128, -1, -1);
    CELL(0, 10, QStringLiteral("Sayfa ") + QString::number(PAGENO()), 0, 0, QStringLiteral("C"), 0);
}

void QVPDF::CHAPTERTITLE(int /*number*/, const QString &title)
{
    SETFONT(QStringLiteral("Arial"), QStringLiteral("B"), 10);
    SETFILLCOLOR(200, 220, 255);
    CELL(0, 6, QStringLiteral("$ ") + TRENDIRECT2(title), 0, 1, QStringLiteral("L"), 1);
    LN(1);
}

void QVPDF::CHAPTERBODY(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray bytes = file.readAll();
    file.close();
    SETFONT(QStringLiteral("courierB"), QString(), 8);
    MULTICELL(0, 5, TRENDIRECT2(Cp1254Codec::decode(bytes)), 0, QStringLiteral("J"), 0);
}

void QVPDF::PRINTCHAPTER(int number, const QString &title, const QString &fileName)
{
    ADDPAGE();
    CHAPTERTITLE(number, title);
    CHAPTERBODY(fileName);
}

QString pdfDataFolder()
{
    static const bool registered = [] {
        initPdfResources();
        return true;
    }();
    Q_UNUSED(registered);
    return QStringLiteral(":/PDF_Data/");
}

QString summaryPdfPath()
{
    return QDir(appGlobals().CVERIKOK).filePath(QStringLiteral("PDF_Out/VEXO_Zud_Cozum_Sonuclari.pdf"));
}

QString TOPDF_OZET(const OzetRapor &rapor)
{
    // The data root's folder and the fixed document folder are one and the same here.
    const QString output = summaryPdfPath();
    QDir().mkpath(QFileInfo(output).path());
    const QString folder = pdfDataFolder();
    try {
        QVPDF pdf(std::nullopt, std::nullopt, folder, folder, rapor.dateLine);
        pdf.OPEN();
        pdf.SETTITLE(TRENDIRECT2(rapor.company));
        pdf.PRINTCHAPTER(1, rapor.chapterTitle, rapor.bodyFile);
        pdf.OUTPUT(output);
    } catch (const PdfError &) {
        // The writer has shown its message and is released on the way out.
        return {};
    }
    return output;
}

bool PdfViewer::open(const QString &path)
{
    // The path is one argument of its own, so blanks in it need no quoting.
    if (QProcess::startDetached(QStringLiteral("xdg-open"), {path}))
        return true;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

PdfViewer &pdfViewer()
{
    static PdfViewer desktop;
    return g_viewer ? *g_viewer : desktop;
}

void setPdfViewer(PdfViewer *viewer)
{
    g_viewer = viewer;
}

bool PDFOPEN(const QString &path)
{
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return false;
    return pdfViewer().open(path);
}

bool showSummaryDocument(const QString &path)
{
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return false;
    if (PDFOPEN(path))
        return true;
    // Without a viewer the user is told where the document is, rather than left without a word.
    UYARI(nullptr, QStringLiteral("Uyarı..."),
          QStringLiteral("PDF görüntüleyici başlatılamadı.\n\nÇözüm özeti şu dosyaya yazıldı:\n")
              + QDir::toNativeSeparators(path));
    return false;
}

QString showSummaryPdf(const OzetRapor &rapor)
{
    const QString path = TOPDF_OZET(rapor);
    if (!path.isEmpty())
        showSummaryDocument(path);
    return path;
}

bool TOPDF_DETAY(const QString &problemFileBase)
{
    const QString folder = pdfDataFolder();
    try {
        QVPDF pdf(std::nullopt, std::nullopt, folder, folder);
        pdf.OPEN();
        pdf.SETTITLE(QStringLiteral("20000 Leagues Under the Seas"));
        pdf.SETAUTHOR(QStringLiteral("Jules Verne"));
        pdf.PRINTCHAPTER(1, QStringLiteral("A RUNAWAY REEF"), QStringLiteral("20k_c1.txt"));
        pdf.PRINTCHAPTER(2, QStringLiteral("THE PROS AND CONS"), QStringLiteral("20k_c2.txt"));
        pdf.OUTPUT(problemFileBase + QStringLiteral(".PDF"));
    } catch (const PdfError &) {
        return false;
    }
    IMSG(QStringLiteral("Created..."));
    return true;
}

void MSG_E(const QString &text)
{
    showMessage(nullptr, QStringLiteral("Hata..."), text, MB_OK | MB_ICONSTOP);
}

void IMSG(const QString &text)
{
    showMessage(nullptr, QStringLiteral("PDF Test"), text, MB_OK);
}

} // namespace vexo
