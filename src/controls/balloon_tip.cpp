#include "controls/balloon_tip.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QTimer>

#include <algorithm>

namespace vexo {

namespace {

class Balloon : public QLabel
{
public:
    Balloon(QWidget *field, const QString &text)
        // A window of its own, not a child of the field's window: a child would join that window's
        // focus chain, and a dialog being shown walks that chain while it sends the focus-in.
        : QLabel(text, nullptr, Qt::ToolTip | Qt::FramelessWindowHint)
        , m_field(field)
    {
        setFocusPolicy(Qt::NoFocus);
        connect(field, &QObject::destroyed, this, &QWidget::close);
        setAttribute(Qt::WA_ShowWithoutActivating);
        setAttribute(Qt::WA_DeleteOnClose);
        setObjectName(QStringLiteral("balloonTip"));
        setForegroundRole(QPalette::ToolTipText);
        setBackgroundRole(QPalette::ToolTipBase);
        setAutoFillBackground(true);
        setFrameStyle(QFrame::Box | QFrame::Plain);
        setMargin(4);
        // Watched through the application: the balloon is usually made inside a focus-in filter of
        // the field, and a filter added to the field there would be run for the same event again.
        qApp->installEventFilter(this);
        // As long as a tooltip of the same text would stay.
        QTimer::singleShot(10000 + 40 * int(text.size()), this, &QWidget::close);
        place();
    }

    // Beside the field, on its right, where the fields of a form seldom are: under it the balloon
    // would cover the next field. Where a button or a field stands there, right of the window.
    // Where the screen has no room, above the field, and under it only as the last choice.
    void place()
    {
        adjustSize();
        const QRect field(m_field->mapToGlobal(QPoint(0, 0)), m_field->size());
        const QRect screen = m_field->screen() ? m_field->screen()->availableGeometry() : QRect();
        QRect right(QPoint(field.right() + 6, field.center().y() - height() / 2), size());
        // Nor over a button or another field beside it: then past the window's right edge.
        const QWidget *window = m_field->window();
        const auto children = window->findChildren<QWidget *>();
        const bool coversControl = std::any_of(children.begin(), children.end(), [&](const QWidget *w) {
            return w != m_field && w->isVisible() && w->focusPolicy() != Qt::NoFocus && !w->isAncestorOf(m_field)
                   && !m_field->isAncestorOf(w) && right.intersects(QRect(w->mapToGlobal(QPoint(0, 0)), w->size()));
        });
        if (coversControl)
            right.moveLeft(window->frameGeometry().right() + 6);
        const QRect above(QPoint(field.left() + field.width() / 4, field.top() - height() - 2), size());
        if (screen.isEmpty() || screen.contains(right))
            move(right.topLeft());
        else if (screen.contains(above))
            move(above.topLeft());
        else
            move(field.left() + field.width() / 4, field.bottom() + 1);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_field) {
            switch (event->type()) {
            // Not a mouse press: a click into the field is what gave it the focus and the balloon.
            case QEvent::FocusOut:
            case QEvent::Hide:
                close();
                break;
            case QEvent::KeyPress: {
                const int key = static_cast<QKeyEvent *>(event)->key();
                if (key < Qt::Key_Shift || key > Qt::Key_ScrollLock) // not a modifier alone
                    close();
                break;
            }
            default:
                break;
            }
        } else if (m_field && watched == m_field->window()) {
            if (event->type() == QEvent::Move || event->type() == QEvent::Resize)
                place();
            else if (event->type() == QEvent::Hide || event->type() == QEvent::Close)
                close();
        }
        return false;
    }

    void mousePressEvent(QMouseEvent *) override { close(); }

private:
    QPointer<QWidget> m_field;
};

QPointer<Balloon> &current()
{
    static QPointer<Balloon> balloon;
    return balloon;
}

} // namespace

void showBalloonTip(QWidget *field, const QString &text)
{
    hideBalloonTip();
    if (!field || !field->isVisible())
        return;
    current() = new Balloon(field, text);
    current()->show();
}

void hideBalloonTip()
{
    if (current())
        current()->close();
    current() = nullptr;
}

QLabel *visibleBalloonTip()
{
    return current() && current()->isVisible() ? current().data() : nullptr;
}

} // namespace vexo
