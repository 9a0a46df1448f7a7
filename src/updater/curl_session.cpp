// MYFTP and MYHTTP over libcurl. Every request runs on the multi interface from the calling thread,
// letting the window's events run between waits. One easy handle and one multi handle live as long
// as the connection, so FTP keeps its control connection from request to request.
#include "platform/own_temp_files.h"
#include "updater/inet_session.h"
#include "updater/session_status.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStorageInfo>
#include <QStringList>
#include <QTimeZone>
#include <QUrl>

#include <curl/curl.h>

#include <array>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace vexo {

namespace {

// The number a local file that cannot be made or read is reported with.
constexpr int kLocalFileError = 12016;

void initCurlOnce()
{
    static const bool done = [] {
        curl_global_init(CURL_GLOBAL_DEFAULT);
        return true;
    }();
    Q_UNUSED(done);
}

// A limit as the messages name it: whole megabytes as "MB", anything smaller in bytes.
QString limitText(qint64 bytes)
{
    constexpr qint64 mb = 1024 * 1024;
    return bytes >= mb ? QStringLiteral("%1 MB").arg(bytes / mb) : QStringLiteral("%1 bayt").arg(bytes);
}

// The bytes free in `folder`, below 0 when the file system does not say.
qint64 fileSystemFreeSpace(const QString &folder)
{
    const QStorageInfo storage(folder);
    return storage.isValid() ? storage.bytesAvailable() : -1;
}

// Keeps the file at `path` also under earlierCopyPath(path) (a second name, or a copy where the
// folder takes no links), unless there is no file to keep or something is kept there already.
// *made tells whether this call made it; false with *error when it could not be kept.
bool keepEarlierCopy(const QString &path, bool *made, QString *error)
{
    *made = false;
    const QString kept = earlierCopyPath(path);
    const QByteArray from = QFile::encodeName(path);
    const QByteArray to = QFile::encodeName(kept);
    struct stat st{};
    if (::lstat(from.constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return true; // nothing there to keep
    if (::lstat(to.constData(), &st) == 0)
        return true; // the copy from before the sizes went unchecked stays
    if (::link(from.constData(), to.constData()) == 0) {
        *made = true;
        return true;
    }
    if (errno == EEXIST)
        return true;
    QFile copy(path);
    if (copy.copy(kept)) {
        *made = true;
        return true;
    }
    *error = copy.errorString();
    return false;
}

bool hasControlChar(const QString &s)
{
    for (QChar c : s) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return true;
    }
    return false;
}

// A single name inside a directory: no separators, no control characters, not "." or "..".
bool plainName(const QString &name)
{
    return !name.isEmpty() && name != u"." && name != u".." && !name.contains(u'/') && !name.contains(u'\\')
        && !hasControlChar(name);
}

bool hasWildcard(const QString &mask)
{
    return mask.contains(u'*') || mask.contains(u'?');
}

bool maskMatches(const QString &mask, const QString &name)
{
    if (mask.isEmpty() || mask == u"*" || mask == u"*.*")
        return true;
    const QRegularExpression re(QRegularExpression::wildcardToRegularExpression(mask),
                                QRegularExpression::CaseInsensitiveOption);
    return re.match(name).hasMatch();
}

QByteArray encodeSegments(const QStringList &segments)
{
    QByteArrayList parts;
    for (const QString &s : segments)
        parts << QUrl::toPercentEncoding(s);
    return parts.join('/');
}

QStringList pathSegments(const QString &absolute)
{
    return absolute.split(u'/', Qt::SkipEmptyParts);
}

// The path of the reply "257 "<path>" ..." with doubled quotes made single; empty without one.
QString pwdReplyPath(const QByteArray &line)
{
    const qsizetype open = line.indexOf('"');
    if (!line.startsWith("257") || open < 0)
        return {};
    QByteArray path;
    for (qsizetype i = open + 1; i < line.size(); ++i) {
        if (line[i] == '"') {
            if (i + 1 < line.size() && line[i + 1] == '"') {
                path += '"';
                ++i;
                continue;
            }
            return QString::fromUtf8(path);
        }
        path += line[i];
    }
    return {};
}

class CurlSession final : public InetSession
{
public:
    CurlSession(bool http, const QString &agent, StatusHook status, Limits limits)
        : m_http(http), m_agent(agent.toUtf8()), m_status(std::move(status)), m_limits(limits)
    {
        initCurlOnce();
    }
    ~CurlSession() override
    {
        m_status = nullptr; // the owner may be going: tell it nothing more
        release();
    }

    bool isHttp() const override { return m_http; }
    void setProxy(const QString &proxy) override { m_proxy = proxy.toUtf8(); }

    bool ConnectRemote(const QString &server, const QString &user, const QString &password) override;
    void CloseRemote() override;
    bool SetCurDir(const QString &directory) override;
    QString GetCurDir() override { return m_connected ? m_cwd : QString(); }
    QList<ListingEntry> Directory(const QString &mask) override;
    bool getFile(const QString &name, const QString &localPath, qint64 expectedSize,
                 const Progress &progress) override;
    bool putFile(const QString &localPath, const QString &name, const Progress &progress) override;
    bool DeleteFile(const QString &name) override;
    bool CreateDir(const QString &name) override;
    bool RemoveDir(const QString &name) override;
    // One FTP command on a plain name in the current directory (DELE, MKD, RMD).
    bool nameCommand(const char *verb, const QString &name, const QString &refusal);
    bool lastSizeChecked() const override { return m_sizeChecked; }
    int Error() const override { return m_error; }
    QString ErrorMsg() const override { return m_errorMsg; }
    void abortCall() override
    {
        if (m_busy)
            m_abortCall = true;
    }

private:
    // What one request collects or sends besides the options it sets.
    struct Request
    {
        QByteArray body;                  // a listing's text
        QList<QByteArray> replies;        // FTP server replies, one a line
        QFile *target = nullptr;          // a download's file
        QFile *source = nullptr;          // an upload's file
        qint64 limit = -1;                // a download gives up past this many bytes
        qint64 moved = 0;
        qint64 nextBlock = 2500;
        const Progress *progress = nullptr;
        bool aborted = false;             // the progress asked to stop
        bool localFailed = false;         // the local file could not be written or read
        bool tooLong = false;             // more bytes came than `limit`
        bool limitIsRoom = false;         // `limit` is the folder's free space, not the ceiling
        quint64 activity = 0;             // grows with every reply line and every block moved
        int lastStage = 0;
        CurlSession *self = nullptr;
    };

    void stage(Request &r, int s)
    {
        if (s <= r.lastStage)
            return;
        r.lastStage = s;
        if (m_status && !m_http)
            m_status(s);
    }

    void clearError()
    {
        m_error = 0;
        m_errorMsg.clear();
    }
    void setError(int number, const QString &text)
    {
        m_error = number;
        m_errorMsg = hidePassword(text, m_passwordText);
    }
    void setCurlError(CURLcode code)
    {
        // The buffer holds a C string: its text ends at the first zero byte, not at the buffer's end.
        const QString detail =
            QString::fromUtf8(m_errbuf.data(), qsizetype(qstrnlen(m_errbuf.data(), m_errbuf.size()))).trimmed();
        setError(int(code), detail.isEmpty() ? QString::fromUtf8(curl_easy_strerror(code)) : detail);
    }
    // False while another call of this session runs (a call made from the events let through
    // meanwhile); the running call's error state is left alone.
    bool enter() const { return !m_busy; }
    // Marks the session busy for the whole of a call, the last progress report included.
    // Marks a call running; an abort asked for during it lasts until the call ends.
    struct Busy
    {
        Busy(bool &flag, bool &abort) : m_flag(flag), m_abort(abort)
        {
            m_flag = true;
            m_abort = false;
        }
        ~Busy()
        {
            m_flag = false;
            m_abort = false;
        }
        Busy(const Busy &) = delete;
        Busy &operator=(const Busy &) = delete;
        bool &m_flag;
        bool &m_abort;
    };
    bool needConnection()
    {
        if (m_connected && m_easy)
            return true;
        setError(int(CURLE_COULDNT_CONNECT), QStringLiteral("Bağlantı yok"));
        return false;
    }
    bool refuseOnHttp()
    {
        if (!m_http)
            return false;
        setError(int(CURLE_UNSUPPORTED_PROTOCOL), QStringLiteral("HTTP ile işlem mümkün değil..."));
        return true;
    }

    QString resolve(const QString &directory) const;
    QByteArray ftpUrl(const QString &absolute, bool folder) const;
    QByteArray httpUrl(const QString &absolute, bool folder) const;
    QByteArray urlFor(const QString &absolute, bool folder) const
    {
        return m_http ? httpUrl(absolute, folder) : ftpUrl(absolute, folder);
    }
    QString childPath(const QString &name) const
    {
        return m_cwd.endsWith(u'/') ? m_cwd + name : m_cwd + u'/' + name;
    }

    void prepare(Request &r, const QByteArray &url);
    CURLcode run(Request &r);
    // One FTP command on the control connection (with "PWD" after it when asked).
    bool ftpCommand(const QByteArray &command, bool thenPwd, QString *pwd);
    std::optional<QList<ListingEntry>> ftpListing(bool machine);
    void release();

    static size_t onWrite(char *data, size_t size, size_t count, void *user);
    static size_t onRead(char *data, size_t size, size_t count, void *user);
    static size_t onHeader(char *data, size_t size, size_t count, void *user);
    static int onSockopt(void *user, curl_socket_t, curlsocktype purpose);
    static int onPrereq(void *user, char *, char *, int, int);
    bool blockDone(Request &r);

    bool m_http;
    QByteArray m_agent;
    StatusHook m_status;
    Limits m_limits;
    QByteArray m_proxy;
    QByteArray m_base; // scheme and authority, no trailing "/"
    QByteArray m_user;
    QByteArray m_password;
    QString m_passwordText;
    QString m_cwd = QStringLiteral("/");
    bool m_connected = false;
    bool m_mlsdRefused = false; // the server refused MLSD on this connection: LIST from now on
    bool m_busy = false;
    bool m_abortCall = false; // abortCall() was asked during the running call
    bool m_sizeChecked = true; // the last download's size was named somewhere
    int m_error = 0;
    QString m_errorMsg;
    CURLM *m_multi = nullptr;
    CURL *m_easy = nullptr;
    std::array<char, CURL_ERROR_SIZE + 1> m_errbuf{};
};

QString CurlSession::resolve(const QString &directory) const
{
    QStringList segments = directory.startsWith(u'/') ? QStringList() : pathSegments(m_cwd);
    for (const QString &s : directory.split(u'/', Qt::SkipEmptyParts)) {
        if (s == u".")
            continue;
        if (s == u"..") {
            if (!segments.isEmpty())
                segments.removeLast();
            continue;
        }
        segments << s;
    }
    return u'/' + segments.join(u'/');
}

QByteArray CurlSession::ftpUrl(const QString &absolute, bool folder) const
{
    // "%2F" makes the path absolute; with no CWD at all libcurl hands the full path to the server.
    QByteArray url = m_base + "/%2F" + encodeSegments(pathSegments(absolute));
    if (folder && !url.endsWith("%2F"))
        url += '/';
    return url;
}

QByteArray CurlSession::httpUrl(const QString &absolute, bool folder) const
{
    const QStringList segments = pathSegments(absolute);
    QByteArray url = m_base + '/' + encodeSegments(segments);
    if (folder && !segments.isEmpty())
        url += '/';
    return url;
}

void CurlSession::prepare(Request &r, const QByteArray &url)
{
    r.self = this;
    curl_easy_reset(m_easy);
    m_errbuf.fill(0);
    CURL *h = m_easy;
    curl_easy_setopt(h, CURLOPT_URL, url.constData());
    curl_easy_setopt(h, CURLOPT_ERRORBUFFER, m_errbuf.data());
    curl_easy_setopt(h, CURLOPT_VERBOSE, 0L);
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_NOPROGRESS, 1L);
    curl_easy_setopt(h, CURLOPT_USERAGENT, m_agent.constData());
    // Empty means no proxy, whatever the environment names.
    curl_easy_setopt(h, CURLOPT_PROXY, m_proxy.constData());
    curl_easy_setopt(h, CURLOPT_USERNAME, m_user.constData());
    curl_easy_setopt(h, CURLOPT_PASSWORD, m_password.constData());
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, long(m_limits.connectTimeoutMs));
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, long(m_limits.lowSpeedSeconds));
    if (m_http) {
        curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
        curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
        curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
        curl_easy_setopt(h, CURLOPT_MAXREDIRS, 5L);
        // Credentials only when the server asks for them, and never to another host.
        curl_easy_setopt(h, CURLOPT_HTTPAUTH, long(CURLAUTH_BASIC | CURLAUTH_DIGEST));
        curl_easy_setopt(h, CURLOPT_FAILONERROR, 1L);
    } else {
        curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "ftp");
        curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "ftp");
        curl_easy_setopt(h, CURLOPT_FTP_FILEMETHOD, long(CURLFTPMETHOD_NOCWD));
        curl_easy_setopt(h, CURLOPT_SERVER_RESPONSE_TIMEOUT, long(m_limits.lowSpeedSeconds));
    }
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, &CurlSession::onWrite);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &r);
    curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, &CurlSession::onHeader);
    curl_easy_setopt(h, CURLOPT_HEADERDATA, &r);
    curl_easy_setopt(h, CURLOPT_SOCKOPTFUNCTION, &CurlSession::onSockopt);
    curl_easy_setopt(h, CURLOPT_SOCKOPTDATA, &r);
    curl_easy_setopt(h, CURLOPT_PREREQFUNCTION, &CurlSession::onPrereq);
    curl_easy_setopt(h, CURLOPT_PREREQDATA, &r);
}

CURLcode CurlSession::run(Request &r)
{
    CURLcode result = CURLE_OK;
    if (curl_multi_add_handle(m_multi, m_easy) != CURLM_OK)
        return CURLE_FAILED_INIT;
    // A server that has begun to answer and then moves nothing for the low-speed time is given up
    // here, to the second; libcurl's own low-speed check averages over several seconds.
    const qint64 idleLimitMs = qint64(m_limits.lowSpeedSeconds) * 1000;
    QElapsedTimer idle;
    quint64 seen = 0;
    bool done = false;
    while (!done) {
        if (m_abortCall) {
            r.aborted = true;
            result = CURLE_ABORTED_BY_CALLBACK;
            break;
        }
        int running = 0;
        if (curl_multi_perform(m_multi, &running) != CURLM_OK) {
            result = CURLE_FAILED_INIT;
            break;
        }
        int queued = 0;
        while (CURLMsg *msg = curl_multi_info_read(m_multi, &queued)) {
            if (msg->msg == CURLMSG_DONE && msg->easy_handle == m_easy) {
                result = msg->data.result;
                done = true;
            }
        }
        if (done || running == 0)
            break;
        if (r.activity != seen) {
            seen = r.activity;
            idle.start();
        } else if (idle.isValid() && idle.elapsed() >= idleLimitMs) {
            result = CURLE_OPERATION_TIMEDOUT;
            m_errbuf.fill(0);
            break;
        }
        curl_multi_poll(m_multi, nullptr, 0, 50, nullptr);
        QCoreApplication::processEvents();
    }
    curl_multi_remove_handle(m_multi, m_easy);
    if (result == CURLE_OK) {
        stage(r, StageReceived);
        stage(r, StageComplete);
    }
    return result;
}

bool CurlSession::blockDone(Request &r)
{
    while (r.moved >= r.nextBlock) {
        if (r.progress && *r.progress && !(*r.progress)(r.nextBlock)) {
            r.aborted = true;
            return false;
        }
        r.nextBlock += 2500;
    }
    return true;
}

size_t CurlSession::onWrite(char *data, size_t size, size_t count, void *user)
{
    auto &r = *static_cast<Request *>(user);
    ++r.activity;
    const size_t n = size * count;
    r.self->stage(r, StageReceiving);
    if (!r.target) {
        r.body.append(data, qsizetype(n));
        return n;
    }
    if (r.limit >= 0 && r.moved + qint64(n) > r.limit) {
        r.tooLong = true;
        return 0;
    }
    if (r.target->write(data, qint64(n)) != qint64(n)) {
        r.localFailed = true;
        return 0;
    }
    r.moved += qint64(n);
    return r.self->blockDone(r) ? n : 0;
}

size_t CurlSession::onRead(char *data, size_t size, size_t count, void *user)
{
    auto &r = *static_cast<Request *>(user);
    ++r.activity;
    const qint64 want = qMin<qint64>(qint64(size * count), 2500 - r.moved % 2500);
    const qint64 got = r.source->read(data, want);
    if (got < 0) {
        r.localFailed = true;
        return CURL_READFUNC_ABORT;
    }
    r.moved += got;
    if (!r.self->blockDone(r))
        return CURL_READFUNC_ABORT;
    return size_t(got);
}

size_t CurlSession::onHeader(char *data, size_t size, size_t count, void *user)
{
    auto &r = *static_cast<Request *>(user);
    ++r.activity;
    const size_t n = size * count;
    QByteArray line(data, qsizetype(n));
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    r.replies << line;
    if (r.lastStage >= StageConnecting)
        r.self->stage(r, StageConnected);
    if (r.lastStage >= StageSending)
        r.self->stage(r, StageSent);
    return n;
}

int CurlSession::onSockopt(void *user, curl_socket_t, curlsocktype purpose)
{
    auto &r = *static_cast<Request *>(user);
    if (purpose == CURLSOCKTYPE_IPCXN && r.lastStage == 0) {
        r.self->stage(r, StageResolving);
        r.self->stage(r, StageResolved);
        r.self->stage(r, StageConnecting);
    }
    return CURL_SOCKOPT_OK;
}

int CurlSession::onPrereq(void *user, char *, char *, int, int)
{
    auto &r = *static_cast<Request *>(user);
    ++r.activity; // connected: from here a silent server counts as stalled
    if (r.lastStage >= StageConnecting)
        r.self->stage(r, StageConnected);
    r.self->stage(r, StageSending);
    return CURL_PREREQFUNC_OK;
}

void CurlSession::release()
{
    if (m_easy)
        curl_easy_cleanup(m_easy);
    if (m_multi)
        curl_multi_cleanup(m_multi);
    m_easy = nullptr;
    m_multi = nullptr;
    m_connected = false;
}

bool CurlSession::ConnectRemote(const QString &server, const QString &user, const QString &password)
{
    if (!enter())
        return false;
    const Busy busy(m_busy, m_abortCall);
    clearError();
    release();
    m_mlsdRefused = false;
    m_cwd = QStringLiteral("/");
    m_user = user.toUtf8();
    m_password = password.toUtf8();
    m_passwordText = password;

    QUrl url;
    url.setScheme(m_http ? QStringLiteral("http") : QStringLiteral("ftp"));
    url.setAuthority(server.trimmed(), QUrl::StrictMode);
    if (server.trimmed().isEmpty() || !url.isValid() || url.host().isEmpty() || !url.userInfo().isEmpty()
        || hasControlChar(server)) {
        setError(int(CURLE_URL_MALFORMAT), QStringLiteral("Geçersiz sunucu adı: ") + server);
        return false;
    }
    m_base = url.toEncoded(QUrl::RemovePath | QUrl::StripTrailingSlash);

    m_multi = curl_multi_init();
    m_easy = curl_easy_init();
    if (!m_multi || !m_easy) {
        release();
        setError(int(CURLE_FAILED_INIT), QString::fromUtf8(curl_easy_strerror(CURLE_FAILED_INIT)));
        return false;
    }

    Request r;
    prepare(r, urlFor(QStringLiteral("/"), true));
    curl_easy_setopt(m_easy, CURLOPT_NOBODY, 1L);
    if (m_http) // a folder the server will not show still proves the server and the login
        curl_easy_setopt(m_easy, CURLOPT_FAILONERROR, 0L);
    const CURLcode code = run(r);
    if (code != CURLE_OK) {
        setCurlError(code);
        release();
        return false;
    }
    if (m_http) {
        long status = 0;
        curl_easy_getinfo(m_easy, CURLINFO_RESPONSE_CODE, &status);
        if (status == 401 || status == 407 || status >= 500) {
            setError(int(CURLE_HTTP_RETURNED_ERROR),
                     QStringLiteral("The requested URL returned error: %1").arg(status));
            release();
            return false;
        }
    }
    if (!m_http) {
        const char *entry = nullptr;
        if (curl_easy_getinfo(m_easy, CURLINFO_FTP_ENTRY_PATH, &entry) == CURLE_OK && entry && *entry)
            m_cwd = resolve(QString::fromUtf8(entry));
    }
    m_connected = true;
    return true;
}

void CurlSession::CloseRemote()
{
    if (m_busy)
        return; // the running request ends first; the owner closes after it
    const bool had = m_easy != nullptr;
    Request r;
    r.self = this;
    if (had)
        stage(r, StageClosing);
    release();
    if (had)
        stage(r, StageClosed);
}

bool CurlSession::ftpCommand(const QByteArray &command, bool thenPwd, QString *pwd)
{
    Request r;
    prepare(r, ftpUrl(QStringLiteral("/"), true));
    curl_slist *list = curl_slist_append(nullptr, command.constData());
    if (thenPwd)
        list = curl_slist_append(list, "PWD");
    curl_easy_setopt(m_easy, CURLOPT_QUOTE, list);
    curl_easy_setopt(m_easy, CURLOPT_NOBODY, 1L);
    const CURLcode code = run(r);
    curl_easy_setopt(m_easy, CURLOPT_QUOTE, nullptr);
    curl_slist_free_all(list);
    if (code != CURLE_OK) {
        setCurlError(code);
        return false;
    }
    if (pwd) {
        for (const QByteArray &line : r.replies) {
            const QString p = pwdReplyPath(line);
            if (!p.isEmpty())
                *pwd = p;
        }
    }
    return true;
}

bool CurlSession::SetCurDir(const QString &directory)
{
    if (!enter() || !needConnection())
        return false;
    const Busy busy(m_busy, m_abortCall);
    clearError();
    if (hasControlChar(directory)) {
        setError(int(CURLE_URL_MALFORMAT), QStringLiteral("Geçersiz dizin adı"));
        return false;
    }
    const QString target = resolve(directory);
    if (m_http) {
        m_cwd = target;
        return true;
    }
    QString pwd;
    if (!ftpCommand("CWD " + target.toUtf8(), true, &pwd))
        return false;
    m_cwd = pwd.startsWith(u'/') ? resolve(pwd) : target;
    return true;
}

std::optional<QList<ListingEntry>> CurlSession::ftpListing(bool machine)
{
    Request r;
    prepare(r, ftpUrl(m_cwd, true));
    if (machine)
        curl_easy_setopt(m_easy, CURLOPT_CUSTOMREQUEST, "MLSD");
    const CURLcode code = run(r);
    if (code != CURLE_OK) {
        setCurlError(code);
        return std::nullopt;
    }
    return machine ? parseMlsd(r.body) : parseUnixList(r.body, QDateTime::currentDateTimeUtc());
}

QList<ListingEntry> CurlSession::Directory(const QString &mask)
{
    if (!enter() || !needConnection())
        return {};
    const Busy busy(m_busy, m_abortCall);
    clearError();
    QList<ListingEntry> all;
    if (m_http) {
        if (hasWildcard(mask) || !plainName(mask))
            return {};
        Request r;
        prepare(r, httpUrl(childPath(mask), false));
        curl_easy_setopt(m_easy, CURLOPT_NOBODY, 1L);
        curl_easy_setopt(m_easy, CURLOPT_FILETIME, 1L);
        const CURLcode code = run(r);
        long status = 0;
        curl_easy_getinfo(m_easy, CURLINFO_RESPONSE_CODE, &status);
        if (code != CURLE_OK) {
            if (code != CURLE_HTTP_RETURNED_ERROR || (status != 404 && status != 410))
                setCurlError(code);
            return {};
        }
        ListingEntry e;
        e.name = mask;
        curl_off_t length = -1;
        curl_easy_getinfo(m_easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
        // A reply sent in chunks names no length: the download then takes what the server sends.
        e.size = length >= 0 ? qint64(length) : 0;
        e.sizeKnown = length >= 0;
        curl_off_t stamp = -1;
        curl_easy_getinfo(m_easy, CURLINFO_FILETIME_T, &stamp);
        // Without a date the file counts as new, so that it is never taken as older than a copy.
        const QDateTime utc = stamp >= 0 ? QDateTime::fromSecsSinceEpoch(qint64(stamp), QTimeZone::utc())
                                         : QDateTime::currentDateTimeUtc();
        utcToLocal(utc.date(), utc.time(), e);
        all << e;
    } else {
        // MLSD where the server has it; a server that refuses it gets LIST.
        std::optional<QList<ListingEntry>> listing;
        if (!m_mlsdRefused) {
            listing = ftpListing(true);
            long reply = 0;
            curl_easy_getinfo(m_easy, CURLINFO_RESPONSE_CODE, &reply);
            // "not understood" or "not implemented", not a folder the server cannot list
            m_mlsdRefused = !listing && m_error == int(CURLE_FTP_COULDNT_RETR_FILE) && reply >= 500 && reply <= 504;
        }
        if (m_mlsdRefused)
            listing = ftpListing(false);
        if (!listing)
            return {};
        clearError();
        all = *listing;
    }
    QList<ListingEntry> out;
    for (const ListingEntry &e : all) {
        if (maskMatches(mask, e.name))
            out << e;
    }
    return out;
}

bool CurlSession::getFile(const QString &name, const QString &localPath, qint64 expectedSize,
                          const Progress &progress)
{
    if (!enter() || !needConnection())
        return false;
    const Busy busy(m_busy, m_abortCall);
    clearError();
    if (!plainName(name)) {
        setError(int(CURLE_URL_MALFORMAT), QStringLiteral("Geçersiz dosya adı: ") + name);
        return false;
    }
    // The bytes go to one of our temporaries beside the earlier copy (marked and held while written,
    // platform/own_temp_files.h) and replace it only when all of them came. One that a process left
    // when it ended mid-download goes first; anything else beside the file stays.
    OwnTempFile part = OwnTempFile::create(localPath, OwnTempFile::Hold::Exclusive, 0666);
    if (!part.isOpen()) {
        setError(kLocalFileError, part.errorString());
        return false;
    }
    QFile file;
    if (!file.open(part.fd(), QIODevice::WriteOnly, QFileDevice::DontCloseHandle)) {
        setError(kLocalFileError, file.errorString());
        return false;
    }
    const bool sizeKnown = expectedSize >= 0;
    m_sizeChecked = true;
    Request r;
    r.target = &file;
    r.limit = expectedSize;
    if (!sizeKnown) {
        // No size to hold the server to: a ceiling, and the room the folder has.
        r.limit = qMax<qint64>(m_limits.unknownSizeCeiling, 0);
        const QString folder = QFileInfo(localPath).absolutePath();
        const qint64 free = m_limits.freeSpace ? m_limits.freeSpace(folder) : fileSystemFreeSpace(folder);
        const qint64 room = qMax<qint64>(free - kFreeSpaceReserve, 0);
        if (free >= 0 && room < r.limit) {
            r.limit = room;
            r.limitIsRoom = true;
        }
    }
    r.progress = &progress;
    prepare(r, urlFor(childPath(name), false));
    const CURLcode code = run(r);
    curl_off_t announced = -1;
    curl_easy_getinfo(m_easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &announced);

    bool ok = false;
    if (r.localFailed) {
        setError(kLocalFileError, file.errorString());
    } else if (r.aborted) {
        setError(int(CURLE_ABORTED_BY_CALLBACK), QStringLiteral("Aktarım durduruldu"));
    } else if (r.tooLong && sizeKnown) {
        setError(int(CURLE_PARTIAL_FILE),
                 QStringLiteral("Dosya listelenen %1 bayttan uzun").arg(expectedSize));
    } else if (r.tooLong) {
        setError(int(CURLE_FILESIZE_EXCEEDED),
                 r.limitIsRoom ? QStringLiteral("Sunucu dosyanın boyunu bildirmedi; indirme, klasördeki boş yerin "
                                                "sınırında (%1) durduruldu")
                                     .arg(limitText(r.limit))
                               : QStringLiteral("Sunucu dosyanın boyunu bildirmedi; indirme %1 sınırında durduruldu")
                                     .arg(limitText(r.limit)));
    } else if (code != CURLE_OK) {
        setCurlError(code);
    } else if (sizeKnown
               && (r.moved != expectedSize || (m_http && announced >= 0 && qint64(announced) != expectedSize))) {
        setError(int(CURLE_PARTIAL_FILE),
                 QStringLiteral("%1 bayt beklenirken %2 bayt alındı").arg(expectedSize).arg(r.moved));
    } else if (progress && !progress(r.moved)) {
        setError(int(CURLE_ABORTED_BY_CALLBACK), QStringLiteral("Aktarım durduruldu"));
    } else if (!file.flush()) {
        setError(kLocalFileError, file.errorString());
    } else {
        file.close();
        // Without a size from the listing or the reply a cut file passes as whole: the copy it
        // replaces is kept until a download whose size was checked.
        const bool checked = sizeKnown || (m_http && announced >= 0);
        bool madeCopy = false;
        QString why;
        if (!checked && !keepEarlierCopy(localPath, &madeCopy, &why)) {
            setError(kLocalFileError, why);
        } else if (part.renameOver(localPath)) {
            ok = true;
            m_sizeChecked = checked;
            if (checked)
                QFile::remove(earlierCopyPath(localPath));
        } else {
            if (madeCopy)
                QFile::remove(earlierCopyPath(localPath));
            setError(kLocalFileError, part.errorString());
        }
    }
    file.close();
    return ok; // a temporary not put in place goes with `part`
}

bool CurlSession::putFile(const QString &localPath, const QString &name, const Progress &progress)
{
    if (!enter() || !needConnection() || refuseOnHttp())
        return false;
    const Busy busy(m_busy, m_abortCall);
    clearError();
    if (!plainName(name)) {
        setError(int(CURLE_URL_MALFORMAT), QStringLiteral("Geçersiz dosya adı: ") + name);
        return false;
    }
    QFile file(localPath);
    if (!file.open(QIODevice::ReadOnly)) {
        setError(kLocalFileError, file.errorString());
        return false;
    }
    Request r;
    r.source = &file;
    r.progress = &progress;
    prepare(r, ftpUrl(childPath(name), false));
    curl_easy_setopt(m_easy, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(m_easy, CURLOPT_READFUNCTION, &CurlSession::onRead);
    curl_easy_setopt(m_easy, CURLOPT_READDATA, &r);
    curl_easy_setopt(m_easy, CURLOPT_INFILESIZE_LARGE, curl_off_t(file.size()));
    const CURLcode code = run(r);
    if (r.localFailed) {
        setError(kLocalFileError, file.errorString());
        return false;
    }
    if (r.aborted) {
        setError(int(CURLE_ABORTED_BY_CALLBACK), QStringLiteral("Aktarım durduruldu"));
        return false;
    }
    if (code != CURLE_OK) {
        setCurlError(code);
        return false;
    }
    if (progress && !progress(r.moved)) {
        setError(int(CURLE_ABORTED_BY_CALLBACK), QStringLiteral("Aktarım durduruldu"));
        return false;
    }
    return true;
}

bool CurlSession::DeleteFile(const QString &name)
{
    return nameCommand("DELE ", name, QStringLiteral("Geçersiz dosya adı: "));
}

bool CurlSession::CreateDir(const QString &name)
{
    return nameCommand("MKD ", name, QStringLiteral("Geçersiz dizin adı: "));
}

bool CurlSession::RemoveDir(const QString &name)
{
    return nameCommand("RMD ", name, QStringLiteral("Geçersiz dizin adı: "));
}

bool CurlSession::nameCommand(const char *verb, const QString &name, const QString &refusal)
{
    if (!enter() || !needConnection() || refuseOnHttp())
        return false;
    const Busy busy(m_busy, m_abortCall);
    clearError();
    if (!plainName(name)) {
        setError(int(CURLE_URL_MALFORMAT), refusal + name);
        return false;
    }
    return ftpCommand(QByteArray(verb) + childPath(name).toUtf8(), false, nullptr);
}

} // namespace

QString earlierCopyPath(const QString &localPath)
{
    const QFileInfo info(localPath);
    const QString suffix = info.suffix();
    const QString base = suffix.isEmpty() ? info.fileName() : info.completeBaseName();
    return info.dir().filePath(base + QStringLiteral(".onceki") + (suffix.isEmpty() ? QString() : u'.' + suffix));
}

std::unique_ptr<InetSession> makeInetSession(bool http, const QString &agent, InetSession::StatusHook status,
                                             InetSession::Limits limits)
{
    return std::make_unique<CurlSession>(http, agent, std::move(status), limits);
}

} // namespace vexo
