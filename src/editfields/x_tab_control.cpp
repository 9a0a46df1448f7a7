#include "editfields/x_tab_control.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QTabBar>
#include <QWheelEvent>

namespace vexo {

XTABCONTROL::XTABCONTROL(QWidget *owner)
    : QTabWidget(owner)
{
    tabBar()->installEventFilter(this);
}

int XTABCONTROL::APPENDTAB(const QString &name, const QString &caption, QWidget *page, const QIcon &image)
{
    m_allowed.append(true);
    page->setObjectName(name);
    return addTab(page, image, caption);
}

void XTABCONTROL::PREVENTSELECTION(int index)
{
    if (index >= 0 && index < m_allowed.size())
        m_allowed[index] = false;
}

void XTABCONTROL::ALLOWSELECTION(int index)
{
    if (index >= 0 && index < m_allowed.size())
        m_allowed[index] = true;
}

bool XTABCONTROL::allowed(int index) const
{
    return index < 0 || index >= m_allowed.size() || m_allowed.at(index);
}

bool XTABCONTROL::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == tabBar()) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: {
            const int k = tabBar()->tabAt(static_cast<QMouseEvent *>(event)->position().toPoint());
            if (k != -1 && !allowed(k))
                return true;
            break;
        }
        case QEvent::Wheel: return true; // the wheel would step over a barred tab
        case QEvent::KeyPress: return true;
        default: break;
        }
    }
    return QTabWidget::eventFilter(watched, event);
}

void XTABCONTROL::keyPressEvent(QKeyEvent *event)
{
    // Ctrl+Tab and Ctrl+Page Up/Down reach the widget from its pages: they change nothing. Every other
    // key goes on to the window as usual.
    const bool switchesTab = (event->modifiers() & Qt::ControlModifier)
                             && (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab
                                 || event->key() == Qt::Key_PageUp || event->key() == Qt::Key_PageDown);
    if (switchesTab)
        event->accept();
    else
        event->ignore();
}

} // namespace vexo
