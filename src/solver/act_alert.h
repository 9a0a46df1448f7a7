#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace vexo {

// ACTALERT, the solver's progress dialog: modeless, without a close box; it counts the solver's
// reports, and "Durdur" only raises the stop flag, which the solver reads at its next pass.
class ACTALERT : public QDialog
{
    Q_OBJECT
public:
    explicit ACTALERT(QWidget *owner);

    // LDURDUR: false until "Durdur" was pressed.
    bool LDURDUR = false;

    // One more count: "iterasyon: n", then the waiting events are handled.
    void COUNTER();
    // Handles the events waiting in the queue and returns without waiting for new ones.
    bool YIELD();
    // The stop button's handler.
    void PBDURDUR();
    // The dialog is never run modally: showing it returns at once.
    int exec() override { return 0; }

    quint32 count() const { return m_count; }
    QLabel *FT_COUNTER() const { return m_counter; }
    QPushButton *stopButton() const { return m_stop; }

protected:
    void closeEvent(QCloseEvent *event) override; // the user cannot close it
    void reject() override {}                     // nor with Escape

private:
    QLabel *m_counter = nullptr;
    QPushButton *m_stop = nullptr;
    quint32 m_count = 0;
};

} // namespace vexo
