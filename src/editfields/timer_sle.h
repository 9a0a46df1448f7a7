#pragma once

#include "editfields/elapsed_time.h"
#include "editfields/right_sle.h"

#include <QTimer>

namespace vexo {

// A field that shows the time of day or an elapsed time, refreshed by a timer (every 500 ms unless
// told otherwise; a new interval takes effect at the next START). Elapsed time comes from the
// program's monotonic clock and adds up over runs until RESET. Styles: 0 the clock time, 1 elapsed
// seconds (the first), 2 elapsed whole minutes, 3 elapsed minutes with two decimals.
class TIMERSLE : public RIGHTSLE
{
    Q_OBJECT
public:
    explicit TIMERSLE(QWidget *owner = nullptr, const QRect &geometry = QRect());

    void START();
    void STOP();
    void RESET();
    void setINTERVAL(int ms) { m_interval = ms; }
    void setSTYLE(int style) { m_style = style; }
    // Shows the current value; the timer calls it at every tick.
    void TIMER();

    bool running() const { return m_timer.isActive(); }
    int interval() const { return m_interval; }

private:
    QTimer m_timer;
    ElapsedTime m_elapsed;
    int m_style = 1;
    int m_interval = 500;
};

} // namespace vexo
