#pragma once

#include <QDialog>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <optional>

namespace vexo {

// Tells the controls of one window when the mouse enters and leaves them: at each mouse move over
// the window or one of its controls (and when the mouse enters one), the widget under the mouse is
// looked up; when it is not the one found last time, the old one's MOUSEEXIT() and the new one's
// MOUSEENTER() are called, each only when the object offers it (an invokable method of that name).
// A mouse event that arrives while such a call runs is passed on unchecked.
class MouseTracker : public QObject
{
    Q_OBJECT
public:
    // Where the mouse is, in screen coordinates; nothing when it cannot be read.
    using PositionReader = std::function<std::optional<QPoint>()>;

    explicit MouseTracker(QWidget *window);
    ~MouseTracker() override;

    // One check with the mouse over this object (null: over no window of the program).
    void check(QObject *underMouse);
    // One check at the mouse's position now; none when the position cannot be read.
    void checkAtCursor();

    QObject *objectUnderMouse() const { return m_under; }
    bool busy() const { return m_busy; }
    // How many checks ran (for tests).
    int checks() const { return m_checks; }
    void setPositionReader(PositionReader reader) { m_reader = std::move(reader); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_window;
    QPointer<QObject> m_under;
    bool m_busy = false;
    int m_checks = 0;
    PositionReader m_reader;
};

// True when the object offers the parameterless method of that name.
bool offersMethod(const QObject *object, const char *name);

// A data dialog that tracks the mouse over its controls.
class NEWDATADIALOG : public QDialog
{
    Q_OBJECT
public:
    explicit NEWDATADIALOG(QWidget *owner = nullptr);
    MouseTracker &tracker() { return *m_tracker; }

private:
    MouseTracker *m_tracker;
};

// A data window (a child of the main window's document area) that tracks the mouse over its controls.
class NEWDATAWINDOW : public QWidget
{
    Q_OBJECT
public:
    explicit NEWDATAWINDOW(QWidget *owner = nullptr);
    MouseTracker &tracker() { return *m_tracker; }

private:
    MouseTracker *m_tracker;
};

// A dialog window that tracks the mouse over its controls.
class NEWDIALOGWINDOW : public QDialog
{
    Q_OBJECT
public:
    explicit NEWDIALOGWINDOW(QWidget *owner = nullptr);
    MouseTracker &tracker() { return *m_tracker; }

private:
    MouseTracker *m_tracker;
};

} // namespace vexo
