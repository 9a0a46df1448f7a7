#include "platform/process_launcher.h"

#include <QProcess>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>

namespace vexo {

namespace {

// Holds the processes whose tasks were dropped while they ran: destroying a QProcess kills its
// program, and the programs must live on. Each is released when its program ends; the keeper itself
// is never destroyed, so the programs still running at exit survive this program.
class ProcessKeeper : public QObject
{
public:
    static void adopt(QProcess *process)
    {
        static auto *keeper = new ProcessKeeper;
        process->setParent(keeper);
        QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
        if (process->state() == QProcess::NotRunning)
            process->deleteLater();
    }
};

QString quotedArgument(const QString &arg)
{
    if (!arg.isEmpty() && !arg.contains(u' ') && !arg.contains(u'\t') && !arg.contains(u'"'))
        return arg;
    // Triple quotes stand for one literal quote, as QProcess::splitCommand reads them.
    QString inner = arg;
    inner.replace(QStringLiteral("\""), QStringLiteral("\"\"\""));
    return u'"' + inner + u'"';
}

} // namespace

TKTASK::TKTASK() = default;

TKTASK::~TKTASK()
{
    if (m_process)
        ProcessKeeper::adopt(m_process);
}

QString TKTASK::COMMANDLINE() const
{
    if (m_program.isEmpty())
        return {};
    QStringList parts{quotedArgument(m_program)};
    for (const QString &arg : m_arguments)
        parts << quotedArgument(arg);
    return parts.join(u' ');
}

void TKTASK::COMMANDLINE(const QString &commandLine)
{
    if (commandLine.isEmpty())
        return;
    QStringList parts = QProcess::splitCommand(commandLine);
    if (parts.isEmpty())
        return;
    m_program = parts.takeFirst();
    m_arguments = parts;
    m_taskName = commandLine;
}

void TKTASK::COMMANDLINE(const QString &program, const QStringList &arguments)
{
    if (program.isEmpty())
        return;
    m_program = program;
    m_arguments = arguments;
    m_taskName = COMMANDLINE();
}

void TKTASK::TASKNAME(const QString &name)
{
    if (!name.isEmpty())
        m_taskName = name;
}

void TKTASK::start(const QString &program, const QStringList &arguments)
{
    if (m_process) {
        ProcessKeeper::adopt(m_process);
        m_process = nullptr;
    }
    m_pid = 0;
    m_process = new QProcess;
    m_process->setProgram(program);
    m_process->setArguments(arguments);
    // No pipes to this program: a started program must not die of a closed pipe when we exit.
    m_process->setStandardInputFile(QProcess::nullDevice());
    m_process->setProcessChannelMode(QProcess::ForwardedChannels);
    m_process->start();
    if (m_process->waitForStarted()) {
        m_pid = m_process->processId();
    } else {
        m_lastError = m_process->errorString();
    }
}

void TKTASK::LAUNCH()
{
    if (m_program.isEmpty())
        return;
    start(m_program, m_arguments);
}

TKTASK &TKTASK::LAUNCH1()
{
    if (!m_taskName.isEmpty())
        start(m_taskName, {});
    return *this;
}

TKTASK &TKTASK::CREATE()
{
    LAUNCH();
    return *this;
}

bool TKTASK::ISTASK()
{
    if (!m_process || m_pid == 0)
        return false;
    if (m_process->state() != QProcess::NotRunning)
        m_process->waitForFinished(0);
    if (m_process->state() != QProcess::NotRunning) {
        m_exitStatus = kStillActive;
    } else if (m_process->exitStatus() == QProcess::CrashExit) {
        // Ended by a signal: reported the way a shell reports it.
        m_exitStatus = 128u + quint32(m_process->exitCode());
    } else {
        m_exitStatus = quint32(m_process->exitCode());
    }
    return m_exitStatus != 0;
}

quint32 TKTASK::RETURNCODE()
{
    ISTASK();
    return m_exitStatus;
}

QString LASTPROCERRORASTEXT()
{
    QString text = QString::fromLocal8Bit(std::strerror(errno));
    while (text.endsWith(u'\n') || text.endsWith(u'\r'))
        text.chop(1);
    return text;
}

QString QVGETCMDEXE(const QString &command)
{
    const qsizetype first = command.indexOf(u'"');
    if (first < 0)
        return command;
    QString rest = command.mid(first + 1);
    const qsizetype second = rest.indexOf(u'"');
    if (second >= 0)
        rest.truncate(second);
    return rest;
}

QStringList calculatorPrograms()
{
    return {QStringLiteral("gnome-calculator"), QStringLiteral("kcalc"), QStringLiteral("mate-calc"),
            QStringLiteral("galculator"), QStringLiteral("qalculate-gtk"), QStringLiteral("xcalc")};
}

bool launchCalculator()
{
    for (const QString &name : calculatorPrograms()) {
        const QString program = QStandardPaths::findExecutable(name);
        if (program.isEmpty())
            continue;
        TKTASK task;
        task.COMMANDLINE(program, {});
        task.LAUNCH();
        return true;
    }
    return false;
}

} // namespace vexo
