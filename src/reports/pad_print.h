#pragma once

#include <QString>

class QPrinter;
class QTextDocument;
class QWidget;

namespace vexo {

// The print and printer set-up dialogs pass through a seam, so that tests answer them (for example by
// choosing Qt's PDF output). Each gets the printer to set up and answers false for Cancel.
class PrintDialogs
{
public:
    virtual ~PrintDialogs() = default;
    virtual bool print(QWidget *owner, QPrinter &printer);
    virtual bool setup(QWidget *owner, QPrinter &printer);
};

PrintDialogs &printDialogs();
// The folder the print dialog proposes for printing to a file: the open problem's folder, or the
// problem files' default folder when none is open.
QString padPrintFolder();
// Installs the dialogs (not owned); nullptr puts Qt's dialogs back.
void setPrintDialogs(PrintDialogs *dialogs);

// The printer every pad prints on; its set-up lasts as long as the program.
QPrinter &padPrinter();

// Prints the document as the pad shows it: lines `lineWidth` pixels wide (the pad's page) scaled to
// the printable width, and a new page at every form feed and wherever a page is full. False when the
// printer could not be started.
bool printPadDocument(const QTextDocument &document, QPrinter &printer, int lineWidth);

// A copy of the document for printing in which every form feed has become a page break in front of
// the text that followed it.
void formFeedsToPageBreaks(QTextDocument *document);

} // namespace vexo
