#pragma once

#include "controls/cancel_owner.h"
#include "shell/user_table.h"

#include <QDialog>

#include <optional>

class QLineEdit;
class QPushButton;

namespace vexo {

class QVSLE;

// The "Giriş" dialog: user name and password, three attempts. After it closes LOGONOK tells whether
// the user logged on and LOGONID holds the stored name.
class LOGONDIALOG : public QDialog, public CancelOwner
{
    Q_OBJECT

public:
    explicit LOGONDIALOG(QWidget *owner, const QString &caption = {});

    bool LOGONOK() const { return m_session.LOGONOK; }
    const QString &LOGONID() const { return m_session.LOGONID; }
    int NTRIES() const { return m_session.NTRIES; }

    void PBTAMAM();
    void PBIPTAL() override;

    QVSLE *nameField() const { return m_name; }
    QVSLE *passwordField() const { return m_password; }
    QPushButton *okButton() const { return m_ok; }
    QPushButton *cancelButton() const { return m_cancel; }

protected:
    void reject() override; // the title bar's close button and Escape cancel
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    LogonSession m_session;
    QVSLE *m_name = nullptr;
    QVSLE *m_password = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
};

// Letters typed into the field become capitals the Turkish way as they are typed.
void forceTurkishUpperCase(QLineEdit *field);

// Start-up's logon: the dialog modal and centred over the owner. The stored name of the user, or
// nothing when the logon was refused or cancelled.
std::optional<QString> runLogonDialog(QWidget *owner);

} // namespace vexo
