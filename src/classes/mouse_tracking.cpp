#include "classes/mouse_tracking.h"

#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QMetaMethod>

namespace vexo {

bool offersMethod(const QObject *object, const char *name)
{
    if (!object)
        return false;
    const QByteArray signature = QMetaObject::normalizedSignature((QByteArray(name) + "()").constData());
    return object->metaObject()->indexOfMethod(signature.constData()) >= 0;
}

MouseTracker::MouseTracker(QWidget *window)
    : QObject(window), m_window(window), m_reader([]() -> std::optional<QPoint> { return QCursor::pos(); })
{
    // The mouse messages of the controls reach the window the way a control passes its pointer
    // question on to its parent: the tracker watches them all.
    qApp->installEventFilter(this);
}

MouseTracker::~MouseTracker()
{
    qApp->removeEventFilter(this);
}

void MouseTracker::check(QObject *underMouse)
{
    m_busy = true;
    ++m_checks;
    if (underMouse != m_under) {
        QObject *old = m_under;
        if (offersMethod(old, "MOUSEEXIT"))
            QMetaObject::invokeMethod(old, "MOUSEEXIT", Qt::DirectConnection);
        m_under = underMouse;
        if (offersMethod(underMouse, "MOUSEENTER"))
            QMetaObject::invokeMethod(underMouse, "MOUSEENTER", Qt::DirectConnection);
    }
    m_busy = false;
}

void MouseTracker::checkAtCursor()
{
    // A position that cannot be read names no window, so nothing is checked.
    const std::optional<QPoint> at = m_reader ? m_reader() : std::nullopt;
    if (!at)
        return;
    check(QApplication::widgetAt(*at));
}

bool MouseTracker::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseMove:
    case QEvent::HoverMove:
    case QEvent::Enter: {
        if (m_busy || !watched->isWidgetType())
            break;
        auto *w = static_cast<QWidget *>(watched);
        if (w == m_window || m_window->isAncestorOf(w))
            checkAtCursor();
        break;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

NEWDATADIALOG::NEWDATADIALOG(QWidget *owner) : QDialog(owner), m_tracker(new MouseTracker(this)) {}
NEWDATAWINDOW::NEWDATAWINDOW(QWidget *owner) : QWidget(owner), m_tracker(new MouseTracker(this)) {}
NEWDIALOGWINDOW::NEWDIALOGWINDOW(QWidget *owner) : QDialog(owner), m_tracker(new MouseTracker(this)) {}

} // namespace vexo
