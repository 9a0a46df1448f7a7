#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QSizePolicy>
#include <QTimer>

#include <algorithm>

namespace vexo {

// A control that blinks: shown and hidden in turn by a timer, from construction on. The hidden phase
// keeps the control's place in its layout. The half-period is 333 ms at first and at least 200 ms
// while blinking; stopping leaves the control in the phase it is in.
template <typename Base>
class Blinking : public Base
{
public:
    explicit Blinking(QWidget *owner = nullptr)
        : Base(owner)
    {
        QSizePolicy policy = this->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        this->setSizePolicy(policy);
        QObject::connect(&m_timer, &QTimer::timeout, this, [this] { TICK(); });
        BLINKING(true);
    }

    void BLINKING(bool on = false, int intervalMs = 0)
    {
        if (intervalMs != 0)
            m_interval = intervalMs;
        if (on) {
            m_interval = std::max(200, m_interval);
            m_hidden = false;
            m_timer.start(m_interval);
        } else {
            m_timer.stop();
        }
    }

    // One phase change, as the timer makes it.
    void TICK()
    {
        m_hidden = !m_hidden;
        this->setVisible(!m_hidden);
    }

    int NINTERVAL() const { return m_interval; }
    bool LHIDDEN() const { return m_hidden; }
    bool blinking() const { return m_timer.isActive(); }
    int timerInterval() const { return m_timer.interval(); }

private:
    QTimer m_timer;
    int m_interval = 333;
    bool m_hidden = false;
};

class BLINKINGFIXEDTEXT : public Blinking<QLabel>
{
public:
    using Blinking<QLabel>::Blinking;
};

class BLINKINGSLE : public Blinking<QLineEdit>
{
public:
    using Blinking<QLineEdit>::Blinking;
};

} // namespace vexo
