#include "updater/ftp_win.h"

#include "controls/menu_builder.h"
#include "platform/message_sink.h"
#include "problem/system_queries.h"
#include "updater/my_list_view.h"
#include "updater/session_status.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>

namespace vexo {

using namespace Qt::StringLiterals;

namespace {

constexpr int kFieldLimit = 40; // the folder fields' text limit

QString trimmedRight(QString s)
{
    while (!s.isEmpty() && s.back().isSpace())
        s.chop(1);
    return s;
}

void box(const QString &caption, const QString &text, unsigned style = MB_OK)
{
    showMessage(nullptr, caption, text, style);
}

} // namespace

// Everything a session call needs around it: refuses a second command and disables the controls that
// start one until the call returns.
FTPWIN::Busy::Busy(FTPWIN *window)
    : m_window(window)
{
    m_window->m_busy = true;
    m_window->setControlsBusy(true);
}

FTPWIN::Busy::~Busy()
{
    if (!m_window)
        return;
    m_window->m_busy = false;
    m_window->setControlsBusy(false);
}

FTPWIN::FTPWIN(QWidget *owner, const UpdaterBuiltins &builtins, InetSessionFactory factory,
               const QString &programFolder)
    : VO_FTPWIN(owner, builtins)
    , m_factory(std::move(factory))
    , m_programFolder(programFolder)
{
    connect(okButton(), &QPushButton::clicked, this, &FTPWIN::OKBUTTON);
    connect(connectButton(), &QPushButton::clicked, this, &FTPWIN::FTPCONNECT);
    connect(disconnectButton(), &QPushButton::clicked, this, &FTPWIN::FTPDISCONNECT);
    connect(saveButton(), &QPushButton::clicked, this, &FTPWIN::SAVESETUP);
    connect(updateButton(), &QPushButton::clicked, this, &FTPWIN::FTPGUNCELLE);
    for (MYLISTVIEW *list : {LOCALBOX(), FILEBOX()}) {
        connect(list, &QTreeWidget::itemDoubleClicked, this, [this, list] { LISTVIEWMOUSEBUTTONDOUBLECLICK(list); });
        connect(list->header(), &QHeaderView::sectionClicked, this,
                [this, list](int column) { LISTVIEWCOLUMNCLICK(list, column); });
    }

    showConnectionState();
    m_iniFile = QDir(m_programFolder).filePath(u"VXOFTP.INI"_s);
    if (QFileInfo::exists(m_iniFile))
        READSETUP();
    if (!ISDIR(CSETUPDIR_()))
        QDir().mkpath(CSETUPDIR_());
    FILLLOCALBOX_(CSETUPDIR_(), true);
}

FTPWIN::~FTPWIN()
{
    m_dying = true;
    if (m_connected && m_session)
        m_session->CloseRemote();
    m_session.reset();
}

QString FTPWIN::agentName()
{
    return u"VEXO FTP Alıcısı"_s;
}

// ---- properties

void FTPWIN::setLOCALDIR(const QString &path)
{
    m_localDirPath = path;
    localDirField()->setText(ADJUSTNAME_(QDir::toNativeSeparators(path), kFieldLimit));
}

void FTPWIN::setCURDIR(const QString &path)
{
    m_curDirPath = path;
    curDirField()->setText(ADJUSTNAME_(path, kFieldLimit));
}

QString FTPWIN::FTPSTATUS() const
{
    return statusLine()->text();
}

void FTPWIN::setFTPSTATUS(const QString &text)
{
    const QString shown = withoutSecret(text);
    statusLine()->setText(shown);
    emit statusChanged(shown);
}

QString FTPWIN::withoutSecret(const QString &text) const
{
    return hidePassword(text, passwordField()->text());
}

// ---- enabling

void FTPWIN::showConnectionState()
{
    connectButton()->setEnabled(!m_connected);
    disconnectButton()->setEnabled(m_connected);
    updateButton()->setEnabled(m_connected);
}

void FTPWIN::setControlsBusy(bool busy)
{
    if (busy) {
        for (QWidget *w : std::initializer_list<QWidget *>{okButton(), connectButton(), disconnectButton(),
                                                            saveButton(), updateButton(), useHttpBox(),
                                                            proxyField()})
            w->setEnabled(false);
        FBMENU()->disable(16688);
        LBMENU()->disable(16726);
        return;
    }
    okButton()->setEnabled(true);
    saveButton()->setEnabled(true);
    useHttpBox()->setEnabled(true);
    proxyField()->setEnabled(true);
    FBMENU()->enable(16688);
    LBMENU()->enable(16726);
    showConnectionState();
}

bool FTPWIN::stillWanted()
{
    if (!m_aborted)
        return true;
    if (m_connected && m_session)
        m_session->CloseRemote();
    m_connected = false;
    return false;
}

// ---- the end of the window

void FTPWIN::OKBUTTON()
{
    if (m_busy)
        return;
    if (m_connected)
        FTPDISCONNECT();
    done(0);
}

void FTPWIN::reject()
{
    // The close box and Escape. A running transfer is aborted at once, even one that is waiting on
    // a silent server; it closes the connection when it returns, since the session is in the middle
    // of a call now.
    if (m_busy) {
        m_aborted = true;
        if (m_session)
            m_session->abortCall();
    } else if (m_connected && m_session) {
        m_session->CloseRemote();
        m_connected = false;
    }
    CANCELBUTTON();
}

void FTPWIN::runMenuCommand(const QString &command)
{
    if (command == u"FTPGETFILE")
        FTPGETFILE();
    else if (command == u"DELETEFILE")
        DELETEFILE();
}

// ---- settings

void FTPWIN::SAVESETUP()
{
    if (m_busy)
        return;
    UpdaterFields f;
    f.user = userField()->text();
    f.password = passwordField()->text();
    f.directory = curDirField()->text();
    f.server = serverField()->text();
    f.proxy = proxyField()->text();
    f.useHttp = useHttpBox()->isChecked();
    saveUpdaterSetup(m_iniFile, f, CPWDKEY_());
}

void FTPWIN::READSETUP()
{
    UpdaterFields f;
    f.user = userField()->text();
    f.password = passwordField()->text();
    f.directory = curDirField()->text();
    f.server = serverField()->text();
    f.proxy = proxyField()->text();
    f.useHttp = useHttpBox()->isChecked();
    readUpdaterSetup(m_iniFile, f, CPWDKEY_());
    userField()->setText(f.user);
    passwordField()->setText(f.password);
    curDirField()->setText(f.directory);
    serverField()->setText(f.server);
    proxyField()->setText(f.proxy);
    useHttpBox()->setChecked(f.useHttp);
}

// ---- connection

int FTPWIN::RAISEFTPERROR()
{
    const int n = m_session ? m_session->Error() : 0;
    if (n > 0) {
        const QString text = m_session->ErrorMsg();
        if (!text.isEmpty())
            box(u"FTP hatası "_s + QString::number(n), withoutSecret(text));
    }
    return n;
}

void FTPWIN::FTPCONNECT()
{
    if (m_connected || m_busy)
        return;
    QPointer<FTPWIN> self(this);
    auto hook = [self](int stage) {
        if (!self || self->m_dying)
            return;
        const std::optional<QString> text = sessionStatusText(stage);
        if (!text)
            return;
        self->setFTPSTATUS(*text);
        QCoreApplication::processEvents();
    };
    m_session.reset();
    m_session = m_factory ? m_factory(useHttpBox()->isChecked(), agentName(), hook) : nullptr;
    const QString user = trimmedRight(userField()->text());
    const QString password = trimmedRight(passwordField()->text());
    const QString server = trimmedRight(serverField()->text());
    if (!m_session || user.isEmpty() || server.isEmpty())
        return;
    setFTPSTATUS(u"Server'e bağlanılıyor ..."_s);
    m_session->setProxy(trimmedRight(proxyField()->text()));
    bool ok = false;
    {
        Busy busy(this);
        ok = m_session->ConnectRemote(server, user, password);
        if (!self)
            return;
        m_connected = ok;
        if (!stillWanted())
            return;
        if (ok) {
            QString dir = curDirField()->text();
            FILLFILEBOX_(dir, true);
            if (!self || !stillWanted())
                return;
            if (dir.isEmpty())
                dir = m_session->GetCurDir();
            curDirField()->setText(dir);
            setFTPSTATUS(u"Bağlandı"_s);
        }
    }
    if (!self)
        return;
    if (ok) {
        showConnectionState();
    } else {
        RAISEFTPERROR();
        FTPDISCONNECT();
    }
}

void FTPWIN::FTPDISCONNECT()
{
    if (m_busy)
        return;
    if (m_connected && m_session)
        m_session->CloseRemote();
    m_connected = false;
    showConnectionState();
    setFTPSTATUS(u"Bağlantı kesik"_s);
    FILLFILEBOX_(QString(), true);
}

// ---- lists

void FTPWIN::FILLLOCALBOX_(const QString &folder, bool first)
{
    const int n = LOCALBOX()->CURRENTITEMNO();
    // The process's current folder stays as it is: the window keeps its own local folder, and one
    // that cannot be entered leaves the folder listed before (the download folder at the start).
    QString dir = m_localDirPath;
    if (!folder.isEmpty()) {
        const QString wanted = QDir::isAbsolutePath(folder) ? folder : QDir(m_localDirPath).filePath(folder);
        if (ISDIR(wanted) || m_localDirPath.isEmpty())
            dir = QDir::cleanPath(QDir(wanted).absolutePath());
    }
    if (dir.isEmpty())
        dir = QDir::currentPath();
    setLOCALDIR(dir);
    m_localFiles = listLocalFolder(dir, u"*"_s);
    const QList<ListRow> rows = setupFileRows(GETDIR_(m_localFiles, QDateTime::currentDateTime()), CSETUPFILE_());
    LOCALBOX()->FILLUSING(rows);
    LOCALBOX()->setCURRENTITEMNO(first ? 1 : qMin(n, LOCALBOX()->rowCount()));
}

void FTPWIN::FILLFILEBOX_(const QString &dir, bool first)
{
    QList<ListRow> rows;
    int selected = 0;
    if (m_connected && m_session) {
        QPointer<FTPWIN> self(this);
        const int n = FILEBOX()->CURRENTITEMNO();
        if (!dir.isEmpty())
            m_session->SetCurDir(dir);
        if (!self)
            return;
        const QString current = m_session->GetCurDir();
        if (!self)
            return;
        setCURDIR(current);
        if (current.isEmpty())
            RAISEFTPERROR();
        // HTTP cannot list a folder: there the setup file is looked up by its name.
        m_remoteFiles = m_session->Directory(m_session->isHttp() ? CSETUPFILE_() : u"*.*"_s);
        if (!self)
            return;
        rows = setupFileRows(GETDIR_(m_remoteFiles, QDateTime::currentDateTime()), CSETUPFILE_());
        selected = first ? 1 : qMin(n, int(rows.size()));
    } else {
        m_remoteFiles.clear();
    }
    FILEBOX()->FILLUSING(rows);
    FILEBOX()->setCURRENTITEMNO(selected);
    FILEBOX()->setFocus();
}

namespace {

QString currentFile(const MYLISTVIEW *list, const QList<ListingEntry> &listing, bool dir, qint64 *size)
{
    const std::optional<ListRow> row = list->currentRow();
    if (!row)
        return {};
    const QString name = row->name;
    if (name.contains(u'['))
        return dir ? name : QString();
    if (dir)
        return {};
    if (size)
        *size = expectedDownloadSize(listing, name); // -1 where the listing named no size
    return name;
}

} // namespace

QString FTPWIN::CURRENTLOCALFILE(bool dir, qint64 *size) const
{
    return currentFile(LOCALBOX(), m_localFiles, dir, size);
}

QString FTPWIN::CURRENTREMOTEFILE(bool dir, qint64 *size) const
{
    return currentFile(FILEBOX(), m_remoteFiles, dir, size);
}

void FTPWIN::LISTVIEWMOUSEBUTTONDOUBLECLICK(MYLISTVIEW *list)
{
    if (m_busy)
        return;
    if (list == FILEBOX()) {
        const QString dir = CURRENTREMOTEFILE(true);
        if (dir.contains(u'['))
            FILLFILEBOX_(dir.mid(1, dir.size() - 2), true);
    } else if (list == LOCALBOX()) {
        const QString dir = CURRENTLOCALFILE(true);
        if (dir.contains(u'['))
            FILLLOCALBOX_(dir.mid(1, dir.size() - 2), true);
    }
}

void FTPWIN::LISTVIEWCOLUMNCLICK(MYLISTVIEW *list, int column)
{
    static constexpr ListColumn kByColumn[] = {ListColumn::Name, ListColumn::Ext,  ListColumn::Size,
                                               ListColumn::Date, ListColumn::Time, ListColumn::Attr};
    if (column >= 0 && column < int(std::size(kByColumn)))
        list->setCOLUMNNAME(kByColumn[column]);
}

// ---- local erase

void FTPWIN::DELETEFILE()
{
    if (m_busy)
        return;
    const QString file = CURRENTLOCALFILE();
    // Only the setup file is ever touched in the local folder.
    if (file.isEmpty() || file != CSETUPFILE_())
        return;
    if (QFile::remove(QDir(m_localDirPath).filePath(file)))
        FILLLOCALBOX_();
    else
        RAISEFTPERROR();
}

QString FTPWIN::programFolderOfFile() const
{
    const QFileInfo program(CPROGFILE_());
    return program.isAbsolute() ? program.absolutePath() : m_programFolder;
}

} // namespace vexo
