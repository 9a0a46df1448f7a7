#pragma once

#include "controls/outlook_bar.h"

#include <QWidget>

#include <functional>

namespace vexo {

// The navigation pane of the main window's left side: one navigation bar with three headers whose
// items carry the name of the command they run. A click on an enabled item hands the name to the
// command function (the main window runs it like the menu item of that name).
class VKOLBARDLG : public QWidget, private OutlookBarOwner
{
    Q_OBJECT
public:
    using RunCommand = std::function<void(const QString &command)>;

    explicit VKOLBARDLG(QWidget *owner, RunCommand run);
    ~VKOLBARDLG() override;

    OUTLOOKBAR *ODCOOBAR() const { return bar_; }

    void CREATEOUTLOOKBAR();
    // Fits the bar inside the pane with a margin of two pixels.
    void UPDATEBAR();
    // Enables or disables an item of a header; unknown names are ignored.
    void setItemEnabled(const QString &header, const QString &item, bool enabled);
    bool isItemEnabled(const QString &header, const QString &item) const;
    // The pane width that shows every header's caption whole, in the bold font of the open header.
    int neededWidth() const;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    OUTLOOKBAR *bar_ = nullptr;
    RunCommand run_;
};

inline const QString kFirstPaneHeader = QStringLiteral("AKTIF_PROBLEM_GIRISLERI");

} // namespace vexo
