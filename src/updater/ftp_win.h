#pragma once

#include "updater/inet_session.h"
#include "updater/transfers.h"
#include "updater/vo_ftp_win.h"

#include <QPointer>

#include <functional>
#include <memory>

namespace vexo {

// Makes the session of a connect: FTP or HTTP, the agent text and the hook the session tells its
// stages to.
using InetSessionFactory =
    std::function<std::unique_ptr<InetSession>(bool http, const QString &agent, InetSession::StatusHook status)>;

// The program updater: connects to the update server, lists the setup file there and in the download
// folder, tells whether the installed program is up to date and downloads a newer setup file.
// Sessions come from the factory; transfers run on this thread and let events run between blocks, so
// while one runs every command is refused and its buttons are disabled, and closing the window aborts
// it.
class FTPWIN : public VO_FTPWIN
{
    Q_OBJECT
public:
    // The settings file is VXOFTP.INI in programFolder.
    FTPWIN(QWidget *owner, const UpdaterBuiltins &builtins, InetSessionFactory factory,
           const QString &programFolder);
    ~FTPWIN() override;

    // Commands of the buttons and menus.
    void OKBUTTON() override;
    void FTPCONNECT();
    void FTPDISCONNECT();
    void SAVESETUP();
    void READSETUP();
    void FTPGUNCELLE() { FTPGETFILE(); }
    void FTPGETFILE();
    void DELETEFILE();
    int RAISEFTPERROR();

    // True when no download is needed; message is the text to show (empty: the plain one).
    virtual bool GUNCELMI(QString &message);
    bool GETLOWLEVEL(const QString &file, qint64 size);

    // Remote and local file commands no control reaches.
    void FTPPUTFILE();
    bool PUTLOWLEVEL(const QString &file, qint64 size);
    void FTPDELETEFILE();
    void FTPREMOVEDIR();
    void FTPCREATEDIR();
    void REMOVEDIR();
    void CREATEDIR();
    QString GETDIRNAME(const QList<ListingEntry> &listing) const;

    // The lists.
    void FILLLOCALBOX_(const QString &folder = QString(), bool first = true);
    void FILLFILEBOX_(const QString &dir = QString(), bool first = true);
    // The selected row's name; `size` gets its listed size, kUnknownSize where the listing named none.
    QString CURRENTLOCALFILE(bool dir = false, qint64 *size = nullptr) const;
    QString CURRENTREMOTEFILE(bool dir = false, qint64 *size = nullptr) const;
    void LISTVIEWMOUSEBUTTONDOUBLECLICK(MYLISTVIEW *list);
    void LISTVIEWCOLUMNCLICK(MYLISTVIEW *list, int column);

    // Properties.
    const QString &LOCALDIR() const { return m_localDirPath; }
    void setLOCALDIR(const QString &path);
    const QString &CURDIR() const { return m_curDirPath; }
    void setCURDIR(const QString &path);
    QString FTPSTATUS() const;
    void setFTPSTATUS(const QString &text);

    bool connected() const { return m_connected; }
    bool busy() const { return m_busy; }
    InetSession *session() const { return m_session.get(); }
    const QString &iniFile() const { return m_iniFile; }
    const QList<ListingEntry> &ALOCALFILES_() const { return m_localFiles; }
    const QList<ListingEntry> &AREMOTEFILES_() const { return m_remoteFiles; }

    // The agent text every session gets.
    static QString agentName();

signals:
    void statusChanged(const QString &text);

public slots:
    void reject() override;

protected:
    void runMenuCommand(const QString &command) override;

private:
    // Marks a session call in progress: commands refused, buttons disabled, the bar reset after.
    class Busy
    {
    public:
        explicit Busy(FTPWIN *window);
        ~Busy();
        Busy(const Busy &) = delete;
        Busy &operator=(const Busy &) = delete;

    private:
        QPointer<FTPWIN> m_window;
    };
    void showConnectionState();
    void setControlsBusy(bool busy);
    // After a session call: false when the window was closed meanwhile (the connection is then closed).
    bool stillWanted();
    // The status line and the bar as a transfer drives them.
    TransferView transferView();
    // The text with the password hidden where it stands as the password (hidePassword).
    QString withoutSecret(const QString &text) const;
    QString programFolderOfFile() const;

    InetSessionFactory m_factory;
    std::unique_ptr<InetSession> m_session;
    QString m_iniFile;
    QString m_programFolder;
    QList<ListingEntry> m_localFiles;
    QList<ListingEntry> m_remoteFiles;
    QString m_curDirPath;
    QString m_localDirPath;
    bool m_connected = false;
    bool m_busy = false;
    bool m_aborted = false;
    bool m_dying = false;
};

} // namespace vexo
