#pragma once

#include <QDialog>

#include <memory>

namespace vexo {

class BARRAYSERVER;
class BBROWSER;

// What the two add-from-reference dialogs share: a list with a tick field, the ticks-changed flag,
// ticking every row, the closing question and the one end of the dialog.
class TickListDialog : public QDialog
{
    Q_OBJECT
public:
    explicit TickListDialog(QWidget *owner);

    bool chkdeg() const { return m_CHKDEG; }
    void PBIPTAL();

protected:
    // The closing question; may add and end the dialog itself. False when the dialog stays open (the
    // question was cancelled).
    virtual bool SONKONT() = 0;
    void reject() override;

    // Every row gets the tick `on`; the server returns to its first row.
    void setAllTicks(BBROWSER *grid, int tickField, bool on);
    // Whether any row of the grid's server is ticked.
    static bool anyTicked(BBROWSER *grid, int tickField);
    // The record numbers of the ticked rows' `field` as numbers, in the list's order.
    static QList<int> tickedNumbers(BBROWSER *grid, int tickField, int field);
    void finish(int result);
    // Widens the grid to show every column without a sideways scroll bar (the platform's fonts are
    // wider than the layout's), moving `right` over and widening `below` and the dialog with it.
    void fitGridWidth(BBROWSER *grid, const QList<QWidget *> &right, const QList<QWidget *> &below);

    std::shared_ptr<BARRAYSERVER> m_server;
    bool m_CHKDEG = false;
    bool m_finished = false;
};

} // namespace vexo
