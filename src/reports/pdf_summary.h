#pragma once

#include "reports/pdf_document.h"

#include <QString>

namespace vexo {

// The solver's summary as the PDF road needs it (the global summary array of the solve): the company
// name, the date line "Tarih: ... - Saat: ...", the chapter title and the summary text file.
struct OzetRapor
{
    QString company;
    QString dateLine;
    QString chapterTitle;
    QString bodyFile;
};

// The summary report's writer: a page header with the product line, the document title and the date
// line, a footer "Sayfa n", and one-chapter printing. Turkish letters are replaced by plain ones.
class QVPDF : public MDPDF
{
public:
    explicit QVPDF(const std::optional<QString> &orientation = std::nullopt,
                   const std::optional<QString> &unit = std::nullopt, const QString &fontPath = {},
                   const QString &imagePath = {}, const QString &dateLine = {});

    void HEADER() override;
    void FOOTER() override;
    void CHAPTERTITLE(int number, const QString &title);
    // Prints the file's text as a justified block; a file that cannot be read prints nothing.
    void CHAPTERBODY(const QString &fileName);
    void PRINTCHAPTER(int number, const QString &title, const QString &fileName);

private:
    QString m_dateLine;
};

// The writer's font (and picture) folder: the width files built into the program.
QString pdfDataFolder();

// Where the summary document is written: the data root's "PDF_Out" folder.
QString summaryPdfPath();

// Writes the summary document to summaryPdfPath() and returns that path; the caller records it as the
// last report. A writer error has been shown already; the result is then empty, the writer released
// and a previous document left as it was, so that nothing old is opened as if it were new.
QString TOPDF_OZET(const OzetRapor &rapor);

// The desktop's PDF viewer. Tests install one that records instead of starting a program.
class PdfViewer
{
public:
    virtual ~PdfViewer() = default;
    // Starts the viewer with the file; false when nothing could be started.
    virtual bool open(const QString &path);
};

PdfViewer &pdfViewer();
// Installs a viewer (not owned); nullptr puts the desktop's viewer back.
void setPdfViewer(PdfViewer *viewer);

// Opens the file in the viewer when the path is not empty and the file exists; no message otherwise.
bool PDFOPEN(const QString &path);

// Opens a summary document in the viewer; when no viewer can be started, a message says where the
// document is. False when the file is missing or no viewer started.
bool showSummaryDocument(const QString &path);

// The PDF road of a solve: writes the summary and opens it in the viewer. Returns the document's path,
// the new last report, or an empty text when the writer failed; no viewer is started then. When no
// viewer can be started, a message says where the document was written.
QString showSummaryPdf(const OzetRapor &rapor);

// Writes the two-chapter sample document beside the open problem (its path without extension +
// ".PDF") from "20k_c1.txt" and "20k_c2.txt" in the current folder. Not used by any command.
bool TOPDF_DETAY(const QString &problemFileBase);

// Message boxes of the PDF road: an error ("Hata...", stop icon) and a notice ("PDF Test").
void MSG_E(const QString &text);
void IMSG(const QString &text);

} // namespace vexo
