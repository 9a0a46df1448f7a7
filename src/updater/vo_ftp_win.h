#pragma once

#include "controls/menu_table.h"
#include "updater/ftp_settings.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace vexo {

class BuiltMenu;
class MYLISTVIEW;

// The updater's context menus: "Dosya" with "&Günceli Al..." on the remote list and with
// "&Kur Dosyasını Sil..." on the local list.
MenuTable fbMenu();
MenuTable lbMenu();

// The updater's form: the fixed-size dialog "Program Güncelleme Arayüzü" with its 22 controls laid
// out in dialog units, and the built-in values it starts from. The logic is FTPWIN's.
class VO_FTPWIN : public QDialog
{
    Q_OBJECT
public:
    VO_FTPWIN(QWidget *owner, const UpdaterBuiltins &builtins);
    ~VO_FTPWIN() override;

    // The form's own end: result 0, and result 1 for the cancel command no control is bound to.
    virtual void OKBUTTON() { done(0); }
    void CANCELBUTTON() { done(1); }

    QPushButton *okButton() const { return m_ok; }
    QPushButton *connectButton() const { return m_connect; }
    QPushButton *disconnectButton() const { return m_disconnect; }
    QPushButton *saveButton() const { return m_save; }
    QPushButton *updateButton() const { return m_update; }
    QLineEdit *serverField() const { return m_server; }
    QLineEdit *userField() const { return m_user; }
    QLineEdit *passwordField() const { return m_password; }
    QLineEdit *proxyField() const { return m_proxy; }
    QLineEdit *curDirField() const { return m_curDir; }
    QLineEdit *localDirField() const { return m_localDir; }
    QCheckBox *useHttpBox() const { return m_useHttp; }
    QLabel *statusLine() const { return m_status; }
    QProgressBar *FTPBAR() const { return m_bar; }
    MYLISTVIEW *LOCALBOX() const { return m_localBox; }
    MYLISTVIEW *FILEBOX() const { return m_fileBox; }
    BuiltMenu *FBMENU() const { return m_fbMenu; }
    BuiltMenu *LBMENU() const { return m_lbMenu; }

    const QString &CPWDKEY_() const { return m_pwdKey; }
    const QString &CSETUPDIR_() const { return m_setupDir; }
    const QString &CPROGFILE_() const { return m_progFile; }
    const QString &CSETUPFILE_() const { return m_setupFile; }

protected:
    // Runs a context-menu command by name.
    virtual void runMenuCommand(const QString &command) = 0;
    void POSTINIT(const UpdaterBuiltins &builtins);

private:
    void build();

    QPushButton *m_ok = nullptr;
    QPushButton *m_connect = nullptr;
    QPushButton *m_disconnect = nullptr;
    QPushButton *m_save = nullptr;
    QPushButton *m_update = nullptr;
    QLineEdit *m_server = nullptr;
    QLineEdit *m_user = nullptr;
    QLineEdit *m_password = nullptr;
    QLineEdit *m_curDir = nullptr;
    QLineEdit *m_localDir = nullptr;
    QLineEdit *m_proxy = nullptr;
    QCheckBox *m_useHttp = nullptr;
    QLabel *m_status = nullptr;
    QProgressBar *m_bar = nullptr;
    MYLISTVIEW *m_localBox = nullptr;
    MYLISTVIEW *m_fileBox = nullptr;
    BuiltMenu *m_fbMenu = nullptr;
    BuiltMenu *m_lbMenu = nullptr;

    QString m_pwdKey;
    QString m_setupDir;
    QString m_progFile;
    QString m_setupFile;
};

} // namespace vexo
