#pragma once

#include <QString>
#include <QStringList>

class QProcess;

namespace vexo {

// Starts an external program (calculator, PDF viewer, text editor) and never waits for it. The
// program and its arguments are kept as a list, so a path with blanks stays one argument, and paths
// keep their case (the file system tells capitals apart). A failed start is silent: the task keeps the
// system's text for it. The started program outlives the task and this program.
class TKTASK
{
public:
    TKTASK();
    ~TKTASK();
    TKTASK(const TKTASK &) = delete;
    TKTASK &operator=(const TKTASK &) = delete;

    // The command line as one text: the program and its arguments, an argument with blanks or quotes
    // in double quotes.
    QString COMMANDLINE() const;
    // A text command line, split the way a shell splits it (double quotes keep blanks together). An
    // empty text is ignored. The text becomes the task name too.
    void COMMANDLINE(const QString &commandLine);
    // The program and its arguments as they are given; an empty program is ignored.
    void COMMANDLINE(const QString &program, const QStringList &arguments);
    const QString &PROGRAM() const { return m_program; }
    const QStringList &ARGUMENTS() const { return m_arguments; }

    const QString &TASKNAME() const { return m_taskName; }
    // An empty text is ignored.
    void TASKNAME(const QString &name);
    // The window title asked of the started program; desktops here take no such request.
    void TITLE(const QString &title) { m_title = title; }

    // Starts the command line; nothing happens without one.
    void LAUNCH();
    // Starts the program named by the task name, without arguments.
    TKTASK &LAUNCH1();
    TKTASK &CREATE();

    // True while the program runs (exit status 259) and after it ended with a status other than 0;
    // false after it ended with 0, and when nothing was started.
    bool ISTASK();
    bool STILLRUNNING() { return ISTASK(); }
    bool RUNNING() { return STILLRUNNING(); }
    quint32 RETURNCODE();
    // The process id (0 before a start); a Linux process's main thread has the process's id.
    qint64 TASKID() const { return m_pid; }
    qint64 PROCESSID() const { return TASKID(); }
    qint64 THREADID() const { return TASKID(); }
    // The object that stands for the process, or nullptr before a start.
    const QProcess *HANDLE() const { return m_process; }

    const QString &lastErrorText() const { return m_lastError; }

    static constexpr quint32 kStillActive = 259;

private:
    void start(const QString &program, const QStringList &arguments);

    QString m_program;
    QStringList m_arguments;
    QString m_taskName;
    QString m_title;
    QString m_lastError;
    quint32 m_exitStatus = 0;
    qint64 m_pid = 0;
    QProcess *m_process = nullptr;
};

// The system's text for the calling thread's last error (errno), without a line break at the end.
QString LASTPROCERRORASTEXT();

// The executable of a registered command: the text between the first two double quotes, everything
// after a single quote, the whole command when it has no quote.
QString QVGETCMDEXE(const QString &command);

// Starts the desktop's calculator: the first of calculatorPrograms() found on PATH. Without one
// nothing happens and nothing is said; the answer tells whether one was started.
bool launchCalculator();
QStringList calculatorPrograms();

} // namespace vexo
