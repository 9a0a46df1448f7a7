#pragma once

#include <QDialog>

class QLabel;

namespace vexo {

// ALERT, the please-wait notice of long operations: modeless, without buttons; the caller shows it,
// does its work and removes it.
class ALERT : public QDialog
{
    Q_OBJECT
public:
    explicit ALERT(QWidget *owner);

    // The notice's text (AMESS assign); the fixed text itself is public as ODCFT_MESS.
    QString AMESS(const QString &text);
    QLabel *ODCFT_MESS = nullptr;

    // Shown without waiting; showing it returns at once.
    int exec() override { return 0; }

protected:
    void closeEvent(QCloseEvent *event) override;
    void reject() override {}
};

// One notice around one operation: shown and painted at construction, optionally paused so that it
// can be read, and removed on every way out of the scope. A window closed meanwhile takes the notice
// with it; the scope then has nothing left to remove.
class AlertScope
{
public:
    AlertScope(QWidget *owner, const QString &text = QString(), int pauseMs = 0);
    ~AlertScope();
    AlertScope(const AlertScope &) = delete;
    AlertScope &operator=(const AlertScope &) = delete;
    ALERT *dialog() const;

private:
    struct Guard;
    Guard *m_guard;
};

} // namespace vexo
