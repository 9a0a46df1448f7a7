#pragma once

#include <functional>
#include <memory>

class QWidget;

namespace vexo {

// The solver's progress dialog as the solver sees it: opened after the tableau is built, counted
// every second iteration, asked whether the user pressed its stop button, closed when the loop is
// over. The real dialog lives with the windows; without one installed the solve runs silently.
class ProgressSink
{
public:
    virtual ~ProgressSink() = default;
    // Shows the dialog without waiting and lets it paint.
    virtual void open() = 0;
    // The stop flag (LDURDUR): TRUE once the user pressed "Durdur".
    virtual bool LDURDUR() const = 0;
    // Advances the shown count by one and lets waiting events through.
    virtual void COUNTER() = 0;
    // Hides and destroys the dialog.
    virtual void close() = 0;
};

using ProgressFactory = std::function<std::unique_ptr<ProgressSink>(QWidget *owner)>;

// Installs the maker of progress dialogs; an empty one puts the silent dialog back.
void setProgressFactory(ProgressFactory factory);
std::unique_ptr<ProgressSink> makeProgress(QWidget *owner);

} // namespace vexo
