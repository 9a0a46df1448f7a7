#pragma once

#include <QString>
#include <QVariant>

#include <functional>
#include <optional>

namespace vexo {

// Where the web server keeps its logs, as the program learns it at start-up. Reading never creates
// anything: a value that cannot be had is simply missing.
struct ServerLogSource
{
    // The server's "LogFileDirectory" setting; empty optional when its key cannot be opened.
    std::function<std::optional<QString>()> logFileDirectory;
    // The system folder, empty when it cannot be had.
    std::function<QString()> systemDirectory;
};
void setServerLogSource(const ServerLogSource &source);
QString serverLogFolder();

// Where messages go while the log file cannot be used; standard error unless a test replaces it.
void setDebugOutput(const std::function<void(const QString &)> &out);

// The fields of one error, as a dump lists them. Value types are QMetaType ids (0 for none).
struct LogErrorRecord
{
    QVariant subSystem, subCode, genCode;
    std::optional<QString> stack; // not every error carries a stack
    QVariant osCode, argType, funcPtr, argNum, funcSym;
    QVariant severity, canDefault, canRetry, canSubstitute, operation, description, fileName, tries,
        fileHandle, subCodeText, arg, argTypeReq, maxSize, substituteType, callFuncSym;
};

// A diagnostic log beside the program (or in the web server's log folder). It is opened, appended to
// and closed for every message, so several processes can share it.
class LOGFILE
{
public:
    // Arguments are checked by kind: a name that is not a text, a switch that is not a logical, count
    // as not given.
    explicit LOGFILE(const QVariant &fileName = {}, const QVariant &server = {}, const QVariant &append = {});

    bool DEBUGMSG(const QString &text);
    LOGFILE &DUMPERROR(const LogErrorRecord &error);

    QString FNAME() const { return m_fname; }
    QString setFNAME(const QVariant &v);
    QString BACKUPNAME() const { return m_backupName; }
    QString setBACKUPNAME(const QVariant &v);
    bool APPEND() const { return m_append; }
    bool setAPPEND(const QVariant &v);
    bool LOG2FILE() const { return m_log2File; }
    bool setLOG2FILE(const QVariant &v);
    QString SERVERPATH() const { return m_serverPath; }
    QString LOGPATH() const;

    // The program whose name the log takes; empty: the running program.
    static void setProgramPath(const QString &path);
    // Attempts of an open that meets a lock, and the pause between them.
    static constexpr int kOpenTries = 10;
    static constexpr int kRetryMs = 1;

private:
    void prepare();

    QString m_fname;
    QString m_backupName;
    QString m_serverPath;
    bool m_log2File = false;
    bool m_append = true;
};

// Opens the file for reading and writing, locked for this writer; tries again after a pause while
// another writer holds it. -1 when it cannot be had; *locked tells a lock conflict from other failures.
int openLogRetrying(const QString &path, bool *locked = nullptr);

// The version a loaded library reports through its DllGetVersion export.
class WINDLLVERSION
{
public:
    explicit WINDLLVERSION(const QString &name = {});

    QString DLL() const { return CDLLNAME; }
    QString setDLL(const QString &name);
    bool ISWINNT() const { return PLATFORMID == 2; }

    QString CDLLNAME;
    quint32 MAJORVERSION = 0;
    quint32 MINORVERSION = 0;
    quint32 BUILD = 0;
    quint32 PLATFORMID = 0;
};

} // namespace vexo
