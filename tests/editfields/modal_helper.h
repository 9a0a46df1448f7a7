#pragma once

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <functional>

namespace vexo::test {

// Acts on the next modal dialog of type D as soon as it is shown, so a test can drive a dialog that a
// field opens with exec(). A dialog still open after the action is closed, so no test ever waits.
template <typename D>
void whenModal(std::function<void(D *)> action, int triesLeft = 200)
{
    QTimer::singleShot(10, [action, triesLeft] {
        auto *dialog = qobject_cast<D *>(QApplication::activeModalWidget());
        if (!dialog) {
            if (triesLeft > 0)
                whenModal<D>(action, triesLeft - 1);
            return;
        }
        action(dialog);
        if (dialog->isVisible())
            QTimer::singleShot(0, dialog, &QDialog::reject);
    });
}

} // namespace vexo::test
