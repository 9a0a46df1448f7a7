#include "shell/process_launcher.h"

#include "platform/message_sink.h"
#include "shell/registry.h"

#include <QFileInfo>
#include <QSysInfo>

namespace vexo {

namespace {

// The leading whole number of a text (blanks before it allowed), 0 when it does not begin with one.
qint64 leadingNumber(const QString &text)
{
    const QString t = text.trimmed();
    qsizetype n = 0;
    while (n < t.size() && t.at(n).isDigit() && t.at(n).unicode() < 128)
        ++n;
    return t.left(std::min<qsizetype>(n, 18)).toLongLong();
}

QString windowsVersionKey()
{
    return QStringLiteral("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion");
}

QString wordPadUnder(const char *variable)
{
    return qEnvironmentVariable(variable) + QStringLiteral("/Windows NT/Accessories/wordpad.exe");
}

bool isFile(const QString &path)
{
    return QFileInfo(path).isFile();
}

} // namespace

bool HASWORDPAD()
{
    QStringList candidates{wordPadUnder("ProgramFiles")};
    if (!qEnvironmentVariable("ProgramFiles(x86)").isEmpty())
        candidates << wordPadUnder("ProgramFiles(x86)");
    for (const QString &path : candidates) {
        if (isFile(path))
            return true;
    }
    return false;
}

bool RUNWORDPAD(const QString &fileName)
{
    const QString caption = QStringLiteral("Hata...");
    if (!HASWORDPAD()) {
        showMessage(nullptr, caption, QStringLiteral("WordPad bulunamadı!"), MB_OK);
        return false;
    }
    QString path = wordPadUnder("ProgramFiles");
    if (!isFile(path))
        path = wordPadUnder("ProgramFiles(x86)");
    if (path.isEmpty() || !isFile(path)) {
        showMessage(nullptr, caption, QStringLiteral("WordPad yolu bulunamadı!"), MB_OK);
        return false;
    }
    TKTASK task;
    task.COMMANDLINE(path, fileName.isEmpty() ? QStringList() : QStringList{fileName});
    task.LAUNCH();
    return true;
}

QString windowsNameFromVersion(const QString &version, const QString &build, const QString &displayVersion)
{
    QString name;
    if (version == QStringLiteral("10.0"))
        name = leadingNumber(build) >= 22000 ? QStringLiteral("Windows 11") : QStringLiteral("Windows 10");
    else
        name = QStringLiteral("Windows ") + version;
    if (!displayVersion.isEmpty())
        name += QStringLiteral(" (") + displayVersion + u')';
    return name + QStringLiteral(" Build: ") + build;
}

QString windows10Or11FromBuild(const QString &build)
{
    return leadingNumber(build) >= 22000 ? QStringLiteral("Windows 11") : QStringLiteral("Windows 10");
}

QString GETWINDOWSNAMEVO()
{
    CLASS_HKLM registry;
    registry.WORKING_SUBKEY(windowsVersionKey());
    QString version = registry.GETSTRING(QString(), QStringLiteral("CurrentVersion"));
    const QString build = registry.GETSTRING(QString(), QStringLiteral("CurrentBuildNumber"));
    const QString display = registry.GETSTRING(QString(), QStringLiteral("DisplayVersion"));
    if (version.isEmpty()) {
        registry.WORKING_SUBKEY(
            QStringLiteral("SOFTWARE\\WOW6432Node\\Microsoft\\Windows NT\\CurrentVersion"));
        version = registry.GETSTRING(QString(), QStringLiteral("CurrentVersion"));
    }
    if (!version.isEmpty())
        return windowsNameFromVersion(version, build, display);
    // Not Windows: the running system names itself.
    const QString system = QSysInfo::prettyProductName();
    if (system.isEmpty())
        return QStringLiteral("Windows versiyonu alınamadı");
    return system + QStringLiteral(" Build: ") + QSysInfo::kernelVersion();
}

QString GETWIN10OR11()
{
    CLASS_HKLM registry;
    registry.WORKING_SUBKEY(windowsVersionKey());
    const QString build = registry.GETSTRING(QString(), QStringLiteral("CurrentBuildNumber"));
    if (registry.LASTERROR() == REG_OK)
        return windows10Or11FromBuild(build);
    return QSysInfo::prettyProductName();
}

} // namespace vexo
