#include "classes/log_file.h"

#include "classes/usual_text.h"

#include "platform/clock.h"
#include "platform/cp1254_codec.h"
#include "platform/dbf_filespec.h"
#include "problem/date_text.h"
#include "problem/system_queries.h"

#include <QCoreApplication>
#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QMetaType>

#include <cerrno>
#include <cstdio>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace vexo {

namespace {

ServerLogSource &serverSource()
{
    static ServerLogSource source;
    return source;
}

std::function<void(const QString &)> &debugOutput()
{
    static std::function<void(const QString &)> out;
    return out;
}

QString &programPathOverride()
{
    static QString path;
    return path;
}

constexpr QChar kSep = u'/';

// The last dot of the file name part only: a dot in a folder name is no extension.
qsizetype extensionDot(const QString &path)
{
    const qsizetype dot = path.lastIndexOf(u'.');
    return dot > path.lastIndexOf(kSep) ? dot : -1;
}

// Opens the log, locked for this writer; a writer that meets another's lock waits a moment and tries
// again.
int openLog(const QString &path, int extraFlags, bool *locked)
{
    if (locked)
        *locked = false;
    const QByteArray name = QFile::encodeName(path);
    for (int attempt = 1; attempt <= LOGFILE::kOpenTries; ++attempt) {
        const int fd = ::open(name.constData(), O_RDWR | O_CLOEXEC | extraFlags, 0666);
        if (fd < 0)
            return -1;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            return fd;
        const int why = errno;
        ::close(fd);
        if (why != EWOULDBLOCK)
            return -1;
        if (locked)
            *locked = true;
        if (attempt < LOGFILE::kOpenTries)
            clock().sleepMs(LOGFILE::kRetryMs);
    }
    return -1;
}

bool appendAndClose(int fd, const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &l : lines)
        bytes += Cp1254Codec::encode(l) + "\r\n";
    bool ok = ::lseek(fd, 0, SEEK_END) >= 0;
    qsizetype done = 0;
    while (ok && done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        ok = n > 0;
        done += ok ? n : 0;
    }
    ok = ::close(fd) == 0 && ok;
    return ok && done > 0;
}

QString typeName(const QVariant &v)
{
    const int id = v.toInt();
    return id == 0 ? QStringLiteral("NIL") : QString::fromLatin1(QMetaType(id).name());
}

// Texts of the runtime's generic error codes.
struct GenCodeText
{
    int code;
    const char *text;
};
constexpr GenCodeText kGenCodes[] = {
    {1, "Argument error"},         {2, "Bound error"},          {3, "String overflow"},
    {4, "Numeric overflow"},       {5, "Zero divisor"},         {6, "Numeric error"},
    {7, "Syntax error"},           {8, "Operation too complex"}, {11, "Memory low"},
    {12, "Undefined function"},    {13, "No exported method"},  {14, "Variable does not exist"},
    {16, "No exported variable"},  {20, "Create error"},        {21, "Open error"},
    {22, "Close error"},           {23, "Read error"},          {24, "Write error"},
    {25, "Print error"},           {30, "Operation not supported"}, {31, "Limit exceeded"},
    {32, "Corruption detected"},   {33, "Data type error"},     {34, "Data width error"},
    {41, "Lock failure"},
};

QString genCodeText(const QVariant &v)
{
    for (const GenCodeText &g : kGenCodes)
        if (g.code == v.toInt())
            return QString::fromLatin1(g.text);
    return QStringLiteral("Unknown error");
}

QString label(const QString &title)
{
    return title.leftJustified(16, u' ') + u':';
}

} // namespace

void setServerLogSource(const ServerLogSource &source)
{
    serverSource() = source;
}

QString serverLogFolder()
{
    const ServerLogSource &src = serverSource();
    const std::optional<QString> value = src.logFileDirectory ? src.logFileDirectory() : std::nullopt;
    if (!value)
        return {};
    if (value->isEmpty()) {
        const QString system = src.systemDirectory ? src.systemDirectory() : QString();
        return system.isEmpty() ? QString() : system + kSep + QStringLiteral("LogFiles");
    }
    static const QString marker = QStringLiteral("%SystemRoot%");
    const qsizetype at = value->indexOf(marker, 0, Qt::CaseInsensitive);
    if (at < 0)
        return *value;
    const QString root = qEnvironmentVariableIsSet("SystemRoot") ? qEnvironmentVariable("SystemRoot")
                                                                 : QStringLiteral("c:\\\\winnt");
    return root + value->mid(at + marker.size());
}

void setDebugOutput(const std::function<void(const QString &)> &out)
{
    debugOutput() = out;
}

int openLogRetrying(const QString &path, bool *locked)
{
    return openLog(path, 0, locked);
}

// ---- LOGFILE ------------------------------------------------------------------------------------

void LOGFILE::setProgramPath(const QString &path)
{
    programPathOverride() = path;
}

LOGFILE::LOGFILE(const QVariant &fileName, const QVariant &server, const QVariant &append)
{
    const QString program = programPathOverride().isEmpty() ? QCoreApplication::applicationFilePath()
                                                            : programPathOverride();
    m_serverPath = program.left(program.lastIndexOf(kSep) + 1);
    if (m_serverPath.isEmpty())
        m_serverPath = program;
    const bool toServer = server.typeId() == QMetaType::Bool && server.toBool();
    const QString name = fileName.typeId() == QMetaType::QString ? fileName.toString() : QString();
    const QString base = name.isEmpty() ? program : name.contains(kSep) ? name : m_serverPath + name;
    const qsizetype dot = extensionDot(base);
    if (toServer) {
        const qsizetype sep = base.lastIndexOf(kSep);
        const QString stem = dot >= 0 ? base.mid(sep, dot - sep) : base.mid(sep);
        m_fname = serverLogFolder() + (sep < 0 ? QString(kSep) : QString()) + stem + QStringLiteral(".log");
    } else {
        m_fname = dot >= 0 ? base.left(dot + 1) + QStringLiteral("log") : base + QStringLiteral(".log");
    }
    m_append = append.typeId() == QMetaType::Bool ? append.toBool() : true;
    prepare();
}

void LOGFILE::prepare()
{
    bool locked = false;
    int fd = -1;
    if (QFileInfo::exists(m_fname) && m_append) {
        fd = openLog(m_fname, 0, &locked);
    } else if (QFileInfo::exists(m_fname)) {
        if (m_backupName.isEmpty()) {
            const qsizetype dot = extensionDot(m_fname);
            m_backupName = dot >= 0 ? m_fname.left(dot + 1) + QStringLiteral("bak") : m_fname + QStringLiteral(".bak");
        }
        FileSpec(m_fname).copy(m_backupName);
        fd = openLog(m_fname, O_CREAT, &locked);
        if (fd >= 0 && ::ftruncate(fd, 0) != 0) {
            ::close(fd);
            fd = -1;
        }
    } else {
        fd = openLog(m_fname, O_CREAT, &locked);
    }
    m_log2File = fd >= 0 || locked;
    if (fd >= 0)
        ::close(fd);
}

QString LOGFILE::setFNAME(const QVariant &v)
{
    if (v.typeId() == QMetaType::QString)
        m_fname = v.toString();
    return m_fname;
}

QString LOGFILE::setBACKUPNAME(const QVariant &v)
{
    if (v.typeId() == QMetaType::QString)
        m_backupName = v.toString();
    return m_backupName;
}

bool LOGFILE::setAPPEND(const QVariant &v)
{
    if (v.typeId() == QMetaType::Bool)
        m_append = v.toBool();
    return m_append;
}

bool LOGFILE::setLOG2FILE(const QVariant &v)
{
    if (v.typeId() == QMetaType::Bool)
        m_log2File = v.toBool();
    return m_log2File;
}

QString LOGFILE::LOGPATH() const
{
    const qsizetype sep = m_fname.lastIndexOf(kSep);
    return sep < 0 ? m_fname : m_fname.left(sep);
}

bool LOGFILE::DEBUGMSG(const QString &text)
{
    if (!m_log2File) {
        if (debugOutput())
            debugOutput()(text);
        else
            std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
        return !text.isEmpty();
    }
    const int fd = openLog(m_fname, 0, nullptr);
    return fd >= 0 && appendAndClose(fd, {text});
}

LOGFILE &LOGFILE::DUMPERROR(const LogErrorRecord &e)
{
    const int fd = openLog(m_fname, 0, nullptr);
    if (fd < 0)
        return *this;
    const QString version = (QCoreApplication::applicationName() + u' ' + QCoreApplication::applicationVersion()).trimmed();
    QStringList lines = {QStringLiteral("***********************ERROR********************************"),
                         version,
                         todayText() + u' ' + nowTimeText(),
                         QStringLiteral(" "),
                         QStringLiteral("Error Object created:"),
                         QStringLiteral("--------------------")};
    auto field = [&lines](const QString &title, const QString &value) { lines.append(label(title) + value); };
    field(QStringLiteral("SubSystem"), usualText(e.subSystem));
    field(QStringLiteral("SubCode"), usualText(e.subCode));
    field(QStringLiteral("GenCode"), genCodeText(e.genCode));
    if (e.stack && !e.stack->isEmpty()) {
        const QStringList stack = e.stack->split(QStringLiteral("\r\n"));
        for (qsizetype i = 0; i < stack.size(); ++i)
            field(i == 0 ? QStringLiteral("Stack") : QString(), u'\'' + stack[i] + u'\'');
    }
    if (e.subCode.toInt() == 5333) {
        field(QStringLiteral("ExceptionCode"), VAL2HEX(e.osCode));
        field(QStringLiteral("ExceptionFlags"), VAL2HEX(e.argType));
        field(QStringLiteral("ExceptionAddress"), VAL2HEX(e.funcPtr));
        field(QStringLiteral("ParamNumber"), usualText(e.argNum));
        field(QStringLiteral("ExceptionInfo"), VAL2HEX(e.funcSym));
    } else {
        field(QStringLiteral("OsCode"), usualText(e.osCode));
        field(QStringLiteral("ArgType"), typeName(e.argType));
        field(QStringLiteral("FuncPtr"), usualText(e.funcPtr));
        field(QStringLiteral("ArgNum"), usualText(e.argNum));
        field(QStringLiteral("FuncSym"), usualText(e.funcSym));
    }
    const std::pair<const char *, const QVariant *> rest[] = {
        {"Severity", &e.severity},       {"CanDefault", &e.canDefault},   {"CanRetry", &e.canRetry},
        {"CanSubstitute", &e.canSubstitute}, {"Operation", &e.operation}, {"Description", &e.description},
        {"FileName", &e.fileName},       {"Tries", &e.tries},             {"FileHandle", &e.fileHandle},
        {"SubCodeText", &e.subCodeText}, {"Arg", &e.arg},
    };
    for (const auto &[title, value] : rest)
        field(QString::fromLatin1(title), usualText(*value));
    field(QStringLiteral("ArgTypeReq"), typeName(e.argTypeReq));
    field(QStringLiteral("MaxSize"), usualText(e.maxSize));
    field(QStringLiteral("SubstituteType"), typeName(e.substituteType));
    field(QStringLiteral("CallFuncSym"), usualText(e.callFuncSym));
    lines.append(QStringLiteral("--------------------"));
    appendAndClose(fd, lines);
    return *this;
}

// ---- WINDLLVERSION ------------------------------------------------------------------------------

WINDLLVERSION::WINDLLVERSION(const QString &name)
{
    setDLL(name);
}

// Asks only a library that is already loaded: RTLD_NOLOAD never loads one.
QString WINDLLVERSION::setDLL(const QString &name)
{
    CDLLNAME = name;
    if (name.isEmpty())
        return name;
    void *module = ::dlopen(QFile::encodeName(name).constData(), RTLD_LAZY | RTLD_NOLOAD);
    if (!module)
        return name;
    using GetVersion = int (*)(quint32 *);
    if (auto fn = reinterpret_cast<GetVersion>(::dlsym(module, "DllGetVersion"))) {
        quint32 info[5] = {20, 0, 0, 0, 0};
        if (fn(info) == 0) {
            MAJORVERSION = info[1];
            MINORVERSION = info[2];
            BUILD = info[3];
            PLATFORMID = info[4];
        }
    }
    ::dlclose(module);
    return name;
}

} // namespace vexo
