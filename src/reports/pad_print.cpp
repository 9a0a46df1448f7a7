#include "reports/pad_print.h"

#include "problem/app_globals.h"
#include "problem/dbserverr.h"
#include "problem/open_problem.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <memory>

namespace vexo {

namespace {

PrintDialogs *g_printDialogs = nullptr;
QPrinter *g_printer = nullptr;

void dropPrinter()
{
    delete g_printer;
    g_printer = nullptr;
}

} // namespace

QString padPrintFolder()
{
    const OpenProblem &p = openProblem();
    if (p.OPROBDBF && !p.OPROBDBF->path().isEmpty())
        return QFileInfo(p.OPROBDBF->path()).absolutePath();
    return appGlobals().CVERIDIZIN;
}

bool PrintDialogs::print(QWidget *owner, QPrinter &printer)
{
    // Qt's dialog proposes its file output in the current folder, which start-up made the program
    // folder; for the time of the dialog it is the problem's folder.
    const QString before = QDir::currentPath();
    const QString folder = padPrintFolder();
    const bool moved = !folder.isEmpty() && QDir::setCurrent(folder);
    QPrintDialog dialog(&printer, owner);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    if (moved)
        QDir::setCurrent(before);
    return accepted;
}

bool PrintDialogs::setup(QWidget *owner, QPrinter &printer)
{
    QPageSetupDialog dialog(&printer, owner);
    return dialog.exec() == QDialog::Accepted;
}

PrintDialogs &printDialogs()
{
    static PrintDialogs qtDialogs;
    return g_printDialogs ? *g_printDialogs : qtDialogs;
}

void setPrintDialogs(PrintDialogs *dialogs)
{
    g_printDialogs = dialogs;
}

QPrinter &padPrinter()
{
    if (!g_printer) {
        g_printer = new QPrinter(QPrinter::HighResolution);
        // The printer goes with the application object, before the platform it prints through.
        qAddPostRoutine(dropPrinter);
    }
    return *g_printer;
}

void formFeedsToPageBreaks(QTextDocument *document)
{
    QTextCursor cursor(document);
    for (;;) {
        cursor = document->find(QStringLiteral("\f"), cursor);
        if (cursor.isNull())
            break;
        // `cursor` selects the form feed: remove it and start the following text on a new page.
        const bool atBlockStart = cursor.selectionStart() == cursor.block().position();
        cursor.removeSelectedText();
        if (!atBlockStart)
            cursor.insertBlock();
        QTextBlockFormat format = cursor.blockFormat();
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        cursor.setBlockFormat(format);
    }
}

bool printPadDocument(const QTextDocument &document, QPrinter &printer, int lineWidth)
{
    std::unique_ptr<QTextDocument> copy(document.clone());
    formFeedsToPageBreaks(copy.get());

    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    const qreal scale = page.width() / lineWidth;
    const qreal pageHeight = page.height() / scale;
    copy->setPageSize(QSizeF(lineWidth, pageHeight));
    const int pages = copy->pageCount();
    for (int i = 0; i < pages; ++i) {
        if (i > 0 && !printer.newPage())
            break;
        painter.save();
        painter.scale(scale, scale);
        painter.translate(0, -i * pageHeight);
        copy->drawContents(&painter, QRectF(0, i * pageHeight, lineWidth, pageHeight));
        painter.restore();
    }
    return painter.end();
}

} // namespace vexo
