#include "real_boxes.h"

#include "platform/message_sink.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QtTest>

namespace vexo::test {

RealBoxes::RealBoxes(QList<Act> acts) : m_acts(std::move(acts)), m_before(&messageSink())
{
    setMessageSink(nullptr); // the real boxes
    m_timer.setInterval(10);
    connect(&m_timer, &QTimer::timeout, this, &RealBoxes::poll);
    m_timer.start();
}

RealBoxes::~RealBoxes()
{
    m_timer.stop();
    setMessageSink(m_before);
}

void RealBoxes::poll()
{
    auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
    if (!box || !box->isVisible() || box->property("vexoAnswered").toBool())
        return;
    box->setProperty("vexoAnswered", true);
    m_texts << box->text();
    m_captions << box->windowTitle();
    QStringList offered;
    for (QAbstractButton *b : box->buttons())
        offered << b->text();
    m_buttons << offered.join(u'|');
    Act act = Act::Escape;
    if (m_acts.isEmpty())
        ++m_unexpected;
    else
        act = m_acts.takeFirst();
    QPointer<QMessageBox> guard(box);
    const auto press = [&](QMessageBox::StandardButton which) {
        if (QAbstractButton *b = box->button(which))
            b->click();
        else
            ++m_unexpected;
    };
    switch (act) {
    case Act::Escape:
        QTest::keyClick(box, Qt::Key_Escape);
        break;
    case Act::CloseButton:
        box->close();
        break;
    case Act::Yes:
        press(QMessageBox::Yes);
        break;
    case Act::No:
        press(QMessageBox::No);
        break;
    case Act::Ok:
        press(QMessageBox::Ok);
        break;
    }
    // A box that ignored the act (a question without an escape button, say) must not hold the test.
    if (guard && guard->isVisible()) {
        ++m_unexpected;
        const QList<QAbstractButton *> all = guard->buttons();
        if (!all.isEmpty())
            all.last()->click();
    }
}

} // namespace vexo::test
