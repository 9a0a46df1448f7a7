#pragma once

#include "platform/message_sink.h"

#include <QString>
#include <QVariant>

class QWidget;

namespace vexo {

// The program's message boxes: modal, a single OK button, a fixed icon and a Turkish caption. A null
// or empty caption stands for the function's own ("Hata...", "Uyarı..."). Boxes without an owner
// are tied to no window.
void ERRMESS(QWidget *owner, const QString &caption, const QString &text); // stop icon
void MESS2(const QString &text);                                            // "Hata...", stop icon
void MESS(const QString &text);                                             // "Mesaj...", information
void UYARI(QWidget *owner, const QString &caption, const QString &text);   // exclamation icon
void UYARI2(const QString &text);                                           // "Uyarı...", exclamation

// The error tone callers sound together with an error box, and the "done" jingle.
void ERRBEEP();
void DONEBEEP();

// Shows a one- or two-level array (QVariantList, rows nested) as text in a MESS box: elements
// separated by blanks, one line per row.
void ARRAYTOTEXTSHOW(const QVariant &array);

// Questions through the same seam. `icon` is an icon style bit and may carry MB_DEFBUTTON2; closing
// the box without choosing counts as No / Cancel.
bool askYesNo(QWidget *owner, const QString &caption, const QString &text, unsigned icon = MB_ICONQUESTION);
bool askRetryCancel(QWidget *owner, const QString &caption, const QString &text,
                    unsigned icon = MB_ICONEXCLAMATION); // true for Retry
// A question that stands between the user and a close that would drop changes: Yes (save first), No
// (close without saving) or Cancel (stay as before). Escape and the box's close button answer Cancel.
MessageAnswer askSaveBeforeClosing(QWidget *owner, const QString &caption, const QString &text,
                                   unsigned icon = MB_ICONQUESTION);

} // namespace vexo
