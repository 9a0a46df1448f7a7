#include "shell/startup.h"

#include "problem/app_globals.h"
#include "problem/messages.h"
#include "refdb/reference_backup.h"
#include "refdb/starter_database.h"
#include "shell/settings_store.h"
#include "shell/shell_globals.h"
#include "shell/user_table.h"

#include <QDir>
#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

namespace vexo {

namespace {

QString withoutTrailingBlanks(QString text)
{
    while (!text.isEmpty() && text.back() == u' ')
        text.chop(1);
    return text;
}

// The runtime's number conversion: the leading digits of the text (after blanks and a sign); 0
// without any.
int leadingNumber(const QString &text)
{
    const QString t = text.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < t.size() && (t.at(i) == u'-' || t.at(i) == u'+'))
        negative = t.at(i++) == u'-';
    qint64 n = 0;
    for (; i < t.size() && t.at(i).isDigit() && n < 1000000000; ++i)
        n = n * 10 + t.at(i).digitValue();
    return int(negative ? -n : n);
}

bool optionOn(REGFREECONTROL &store, const char *field)
{
    return store.GETSTR(QString::fromLatin1(field)) == QStringLiteral("1");
}

} // namespace

QStringList carriedOverSettings()
{
    return {QStringLiteral("VKpath"), QStringLiteral("VKlstrt"), QStringLiteral("VKlatip"),
            QStringLiteral("VKldlg"), QStringLiteral("VKlogo"),  QStringLiteral("VKrmdo"),
            QStringLiteral("VKScrPos"), QStringLiteral("VKkvtt")};
}

void ONCEKIVERILER(REGFREECONTROL &store, const std::function<QString(const QString &)> &registryString)
{
    for (const QString &name : carriedOverSettings()) {
        if (!store.GETSTR(name).isEmpty())
            continue;
        const QString value = registryString(name);
        if (!value.isEmpty())
            store.PUTSTR(name, value, false);
    }
}

QStringList dataFolderNames()
{
    return {QStringLiteral("Data"), QStringLiteral("Temp_Data"), QStringLiteral("PDF_Out")};
}

StartupSequence::StartupSequence(StartupEnvironment &environment, StartupUi &ui)
    : m_env(environment)
    , m_ui(ui)
{
}

bool StartupSequence::CHECKSINGLEINSTANCE(const QString &name)
{
    if (!m_env.anotherCopyRuns(name))
        return true;
    showMessage(nullptr, QStringLiteral("Uyarı..."),
                QStringLiteral("VEXO_Zud 2.6 programı sisteminizde halen çalışıyor.\nGörev çubuğunda olabilir!"),
                MB_OK | MB_ICONEXCLAMATION);
    return false;
}

bool StartupSequence::STARTSETTINGSCONT()
{
    AppGlobals &g = appGlobals();
    ShellGlobals &s = shellGlobals();
    g.CPROGDIZIN = withoutTrailingBlanks(m_env.registryString(QStringLiteral("VKpath")));
    if (g.CPROGDIZIN.trimmed().isEmpty()) {
        g.CPROGDIZIN.clear();
        MESS2(QStringLiteral("Program tam kurulu değil!\r\rÖnce CD/Flash Disk'ten VEXO_Rir26-setup.EXE ile "
                             "programı kurunuz."));
        return false;
    }
    g.CPROGDIZIN = QDir::cleanPath(g.CPROGDIZIN);
    // Files named without a folder are looked for in the program folder first.
    QDir::setCurrent(g.CPROGDIZIN);
    const qsizetype colon = g.CPROGDIZIN.indexOf(u':');
    g.CPROGSURUCU = colon < 0 ? QString() : g.CPROGDIZIN.left(colon + 1);

    REGFREECONTROL store(g.CPROGDIZIN, kSettingsStoreName, kSettingsStoreKey);
    if (store.RESULT() == 0)
        return false;
    ONCEKIVERILER(store, [this](const QString &name) { return m_env.registryString(name); });

    // Without a documents folder the data live in the home folder: the root of the file system,
    // where the data root would otherwise go, is not the user's to write.
    QString documents = m_env.documentsFolder();
    if (documents.isEmpty())
        documents = QDir::homePath();
    g.CVERIKOK = QDir(documents).filePath(kDataRootName);
    g.CVERIDIZIN = QDir(g.CVERIKOK).filePath(QStringLiteral("Data"));
    for (const QString &sub : dataFolderNames())
        QDir().mkpath(QDir(g.CVERIKOK).filePath(sub));
    // A backup or restore of the reference pair that was cut short is finished first, so that
    // nothing reads (or completes with the starter tables) half a pair.
    finishInterruptedReferenceChanges(nullptr);
    // A data root without reference tables gets the starter pair, so the matrix editor can open;
    // when that fails the editor's openers tell the user later.
    writeStarterReferenceDatabase();

    s.LACILISGIRIS = optionOn(store, "VKldlg");
    s.LACILISTUYO = optionOn(store, "VKlstrt");
    g.LRMDENOKU = optionOn(store, "VKrmdo");
    s.NSONTUYO = lastTipFromSetting(store.GETSTR(QStringLiteral("VKlatip")));
    s.LACILISLOGO = optionOn(store, "VKlogo");

    if (store.GETSTR(QStringLiteral("VKkvtt")) == QStringLiteral("1")) {
        m_env.writeRegistryString(QStringLiteral("VKkvtt"), QStringLiteral("2"));
        store.PUTSTR(QStringLiteral("VKkvtt"), QStringLiteral("2"), false);
    }
    store.KAPAT();
    return true;
}

void StartupSequence::INITIALIZE()
{
    // Whatever it reports, start-up goes on: the program is usable without a logon.
    KONTPWDBF();
    if (shellGlobals().LACILISLOGO)
        m_ui.showSplash();
}

StartupSequence::Outcome StartupSequence::run(const QStringList &arguments)
{
    // A file named by a relative path is meant from the folder the program was started in, which
    // the settings below leave for the program folder.
    const QString startFolder = QDir::currentPath();
    shellGlobals().CAKTIFKULLANICI.clear();
    m_env.applyRuntimeDefaults();
    if (!CHECKSINGLEINSTANCE(kInstanceName))
        return Outcome::AnotherCopyRuns;
    m_env.prepareInstallation();
    if (!STARTSETTINGSCONT())
        return appGlobals().CPROGDIZIN.isEmpty() ? Outcome::NotInstalled : Outcome::StoreNotReady;
    INITIALIZE();
    const QString file = commandLineFile(arguments, startFolder);

    m_ui.showMainWindow(screenPositionFromSetting(readSetting(QStringLiteral("VKScrPos"))));

    if (shellGlobals().LACILISGIRIS) {
        const std::optional<QString> user = m_ui.runLogon();
        if (!user)
            return Outcome::LogonRefused;
        shellGlobals().CAKTIFKULLANICI = *user;
    }
    if (shellGlobals().LACILISTUYO) {
        StoreTipSettings settings;
        m_ui.runTipOfTheDay(settings, [this] { m_ui.switchTipOptionOff(); });
    }
    if (!file.isEmpty())
        m_ui.openFile(file);
    return Outcome::Running;
}

QString commandLineFile(const QStringList &arguments, const QString &startFolder)
{
    const QString file = arguments.size() > 1 ? commandLineLiteral(arguments.at(1)) : QString();
    if (file.isEmpty() || startFolder.isEmpty() || QDir::isAbsolutePath(file))
        return file;
    return QDir::cleanPath(QDir(startFolder).absoluteFilePath(file));
}

QString GETCOMANDLINE(const QString &commandLine)
{
    const qsizetype p = commandLine.indexOf(QStringLiteral(".EXE"), 0, Qt::CaseSensitive);
    if (p < 0 || commandLine.size() <= p + 5)
        return {};
    return commandLine.mid(p + 5);
}

QString GETCOMANDLINEFILE(const QString &commandLine)
{
    const qsizetype p = commandLine.indexOf(QStringLiteral(".EXE"), 0, Qt::CaseSensitive);
    const QString rest = (p < 0 ? commandLine : commandLine.mid(p + 1)).trimmed();
    const qsizetype blank = rest.indexOf(u' ');
    if (blank < 0)
        return {};
    return rest.mid(blank + 1).remove(u'"').trimmed();
}

QString commandLineLiteral(const QString &remainder)
{
    const QString t = remainder.trimmed();
    if (t.size() >= 2 && t.front() == u'"' && t.indexOf(u'"', 1) == t.size() - 1)
        return t.mid(1, t.size() - 2);
    return t;
}

std::optional<QRect> screenPositionFromSetting(const QString &stored)
{
    const QString text = stored.trimmed();
    if (text.isEmpty())
        return std::nullopt;
    // The first three commas divide the text; the height is all that follows the third. A text with
    // fewer than four parts was not written by the program and counts as no position at all.
    QStringList parts;
    qsizetype from = 0;
    for (int i = 0; i < 3; ++i) {
        const qsizetype comma = text.indexOf(u',', from);
        if (comma < 0)
            return std::nullopt;
        parts.append(text.mid(from, comma - from));
        from = comma + 1;
    }
    parts.append(text.mid(from));
    return QRect(leadingNumber(parts.at(0)), leadingNumber(parts.at(1)), leadingNumber(parts.at(2)),
                 leadingNumber(parts.at(3)));
}

QRect defaultMainWindowRect(const QRect &available)
{
    // Three quarters of the free screen, as a window the platform places itself gets, but never
    // less than the program's own 914 x 533 where the screen has that much.
    const QSize size = QSize(std::max(available.width() * 3 / 4, 914), std::max(available.height() * 3 / 4, 533))
                           .boundedTo(available.size());
    // The left edge 11 pixels in, the bottom edge 200 pixels above the bottom of the screen; a window
    // too tall for that keeps its title bar on the screen.
    const int left = std::min(available.left() + 11, available.right() + 1 - size.width());
    const int top = std::max(available.bottom() + 1 - 200 - size.height(), available.top());
    return QRect(QPoint(left, top), size);
}

QRect defaultMainWindowRect()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return defaultMainWindowRect(screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768));
}

QString StoreTipSettings::get(const QString &name)
{
    return readSetting(name);
}

bool StoreTipSettings::set(const QString &name, const QString &value)
{
    return writeSetting(name, value);
}

} // namespace vexo
