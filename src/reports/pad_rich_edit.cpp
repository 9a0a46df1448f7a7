#include "reports/pad_rich_edit.h"

#include "reports/pad_font.h"
#include "reports/pad_rules.h"
#include "reports/rich_text_units.h"

#include <QContextMenuEvent>
#include <QFontInfo>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QTextBlock>

namespace vexo {

QVRICHEDIT::QVRICHEDIT(QWidget *owner)
    : QTextEdit(owner)
    , m_limit(kPadTextLimit)
{
    setObjectName(QStringLiteral("RICHEDIT"));
    setAcceptRichText(true);
    setLineWrapMode(QTextEdit::FixedPixelWidth);
    setLineWrapColumnOrWidth(padLineWidth(logicalDpiX()));
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

int QVRICHEDIT::textLength() const
{
    return document()->characterCount() - 1;
}

int QVRICHEDIT::room(int incoming) const
{
    const QTextCursor cursor = textCursor();
    return insertableLength(textLength(), cursor.selectionEnd() - cursor.selectionStart(), incoming, m_limit);
}

void QVRICHEDIT::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        emit escapePressed();
        event->accept();
        return;
    }
    // A key that types: a line end, a tab or printable characters without Ctrl.
    const bool lineEnd = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const QString text = event->text();
    const bool types = lineEnd || text == QStringLiteral("\t")
        || (!text.isEmpty() && text.at(0).isPrint() && !(event->modifiers() & Qt::ControlModifier));
    const int typed = lineEnd ? 1 : int(text.size());
    if (types && !isReadOnly() && room(typed) < typed) {
        event->accept();
        return;
    }
    QTextEdit::keyPressEvent(event);
}

void QVRICHEDIT::inputMethodEvent(QInputMethodEvent *event)
{
    const QString commit = event->commitString();
    if (!commit.isEmpty() && room(int(commit.size())) < commit.size()) {
        QInputMethodEvent cut(event->preeditString(), event->attributes());
        cut.setCommitString(commit.left(room(int(commit.size()))), event->replacementStart(),
                            event->replacementLength());
        QTextEdit::inputMethodEvent(&cut);
        return;
    }
    QTextEdit::inputMethodEvent(event);
}

void QVRICHEDIT::insertFromMimeData(const QMimeData *source)
{
    if (!source)
        return;
    // The incoming text counts as plain text; what does not fit is cut off.
    QTextDocument incoming;
    if (source->hasHtml() && acceptRichText())
        incoming.setHtml(source->html());
    else
        incoming.setPlainText(source->text());
    const int length = incoming.characterCount() - 1;
    const int fits = room(length);
    if (fits >= length) {
        QTextEdit::insertFromMimeData(source);
        return;
    }
    if (fits > 0)
        textCursor().insertText(incoming.toPlainText().left(fits));
}

void QVRICHEDIT::contextMenuEvent(QContextMenuEvent *event)
{
    if (!m_contextMenu) {
        QTextEdit::contextMenuEvent(event);
        return;
    }
    if (QMenu *menu = m_contextMenu())
        menu->popup(event->globalPos());
    event->accept();
}

void QVRICHEDIT::SETEFFECT(PadEffect effect)
{
    QTextCursor cursor = textCursor();
    toggleEffect(cursor, effect);
    setTextCursor(cursor);
}

void QVRICHEDIT::RTFCHANGEFONT()
{
    // The dialog starts from the font the text is really shown in: a face that is not installed
    // (Courier New) stands for the face Qt put in its place.
    const QFont current = currentCharFormat().font().resolve(document()->defaultFont());
    QFont shown = current;
    shown.setFamilies({QFontInfo(current).family()});
    QColor colour = textColor();
    if (!colour.isValid())
        colour = palette().color(QPalette::Text);
    QFont font = shown;
    QColor chosenColour = colour;
    if (!fontDialogs().chooseFont(parentWidget() ? parentWidget() : this, font, chosenColour))
        return;
    // Only what the user changed is applied: an unchanged dialog changes nothing.
    QTextCharFormat format;
    const bool fontChanged = font != shown;
    if (fontChanged)
        format.setFont(font, QTextCharFormat::FontPropertiesAll);
    if (chosenColour != colour)
        format.setForeground(chosenColour);
    if (!format.hasProperty(QTextFormat::ForegroundBrush) && !fontChanged)
        return;
    QTextCursor cursor = textCursor();
    if (!cursor.hasSelection()) {
        if (fontChanged)
            document()->setDefaultFont(font);
        QTextCursor all(document());
        all.select(QTextCursor::Document);
        all.mergeCharFormat(format);
    } else {
        cursor.mergeCharFormat(format);
    }
    mergeCurrentCharFormat(format);
}

void QVRICHEDIT::setIndents(int leftTwips, int rightTwips)
{
    QTextBlockFormat format;
    format.setLeftMargin(twipsToPixels(leftTwips));
    format.setRightMargin(twipsToPixels(rightTwips));
    format.setTextIndent(0);
    textCursor().mergeBlockFormat(format);
}

} // namespace vexo
