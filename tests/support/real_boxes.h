#pragma once

#include "platform/message_sink.h"

#include <QList>
#include <QObject>
#include <QStringList>
#include <QTimer>

namespace vexo::test {

// Answers the real message boxes of the program (the QtMessageSink, no scripted seam installed) the
// way a user does: pressing Escape in the box, closing it with its title bar's button, or clicking one
// of its buttons. Each box that shows takes the next act; a box beyond the script is closed with
// Escape and counted, so no test ever waits. The texts of the boxes are kept in order. The seam that
// was installed before (a scripted one) comes back when the object goes.
class RealBoxes : public QObject
{
public:
    enum class Act { Escape, CloseButton, Yes, No, Ok };

    explicit RealBoxes(QList<Act> acts);
    ~RealBoxes() override;

    const QStringList &texts() const { return m_texts; }
    const QStringList &captions() const { return m_captions; }
    // The buttons each box offered, as their texts joined by "|".
    const QStringList &buttons() const { return m_buttons; }
    int unexpected() const { return m_unexpected; }
    int pending() const { return int(m_acts.size()); }

private:
    void poll();

    QList<Act> m_acts;
    QStringList m_texts;
    QStringList m_captions;
    QStringList m_buttons;
    int m_unexpected = 0;
    MessageSink *m_before;
    QTimer m_timer;
};

} // namespace vexo::test
