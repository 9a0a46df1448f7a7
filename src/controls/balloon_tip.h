#pragma once

#include <QString>

class QLabel;
class QWidget;

namespace vexo {

// The hint balloon of an edit field: a small note beside the field (never over the next field) that stays until the field loses
// the focus, a key is pressed in it, the note itself is clicked, the field's window goes away, or some
// seconds pass. Only one balloon shows at a time; a new one replaces it. Unlike a tooltip it ignores
// the mouse and the focus changes of other widgets, so it can be shown from a focus-in handler.
void showBalloonTip(QWidget *field, const QString &text);
// Takes the balloon down, if one shows.
void hideBalloonTip();
// The balloon on screen, or nullptr.
QLabel *visibleBalloonTip();

} // namespace vexo
