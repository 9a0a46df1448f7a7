#pragma once

#include "controls/cancel_owner.h"
#include "shell/user_table.h"

#include <QDialog>

#include <memory>

class QLabel;
class QPushButton;

namespace vexo {

class QVSLE;

// The rules of the name-and-password dialog without its window. It holds the user table,
// exclusively, from its start until it is closed, positioned on the logged-on user's record.
class NewPasswordSession
{
public:
    // Why OK did not write: the field to correct, or a message already shown.
    enum class Check { Written, CurrentPassword, NewPassword, Retype, NewName, NameTaken, UserNotFound, WriteFailed };

    NewPasswordSession(const QString &loggedOnUser, bool addMode);
    ~NewPasswordSession();

    bool tableOpen() const;
    // True when the logged-on user's record was found; without it nothing is ever written.
    bool userFound() const { return m_userFound; }
    bool addMode() const { return m_addMode; }

    // The typed current password against the logged-on user's (the logon's comparison); false
    // without a logged-on user.
    bool currentPasswordMatches(const QString &typed);

    // The OK button's checks in order, then the write: a new record in add mode, the logged-on user's
    // name and password otherwise. A name that another user has, or begins, is refused in both modes.
    // The table is closed after a write.
    Check commit(QWidget *owner, const QString &current, const QString &newPassword, const QString &retyped,
                 const QString &newName);
    void close();

private:
    bool nameTaken(const QString &name);

    std::unique_ptr<KSERVER> m_server;
    bool m_addMode;
    bool m_userFound = false;
    quint32 m_userRecord = 0;
};

// "Ad ve Parola Değiştir" and "Yeni Kullanıcı Ekle": the current password first (the lock opens when it
// matches), then the new password twice and the user name.
class NEWPASSWORDDIALOG : public QDialog, public CancelOwner
{
    Q_OBJECT

public:
    NEWPASSWORDDIALOG(QWidget *owner, const QString &caption, bool addMode);

    void PBTAMAM();
    void PBIPTAL() override;

    QVSLE *currentPasswordField() const { return m_current; }
    QVSLE *newPasswordField() const { return m_new; }
    QVSLE *retypePasswordField() const { return m_retype; }
    QVSLE *newUserField() const { return m_user; }
    QPushButton *okButton() const { return m_ok; }
    bool lockOpen() const;
    const NewPasswordSession &session() const { return m_session; }

protected:
    void reject() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showLock(bool open);
    void currentPasswordEdited(const QString &text);

    NewPasswordSession m_session;
    QVSLE *m_current = nullptr;
    QVSLE *m_new = nullptr;
    QVSLE *m_retype = nullptr;
    QVSLE *m_user = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
    QLabel *m_locked = nullptr;
    QLabel *m_unlocked = nullptr;
};

// The two commands of the main window: the dialog modal and centred over the owner.
void CHANGEUANDP(QWidget *owner);
void ADDNEWUSER(QWidget *owner);

} // namespace vexo
