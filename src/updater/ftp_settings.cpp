#include "updater/ftp_settings.h"

#include "platform/atomic_file.h"
#include "platform/cp1254_codec.h"
#include "platform/crypt.h"
#include "problem/app_globals.h"
#include "problem/ini_file.h"
#include "problem/number_text.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifndef VEXO_UPDATE_SERVER
#define VEXO_UPDATE_SERVER "update.vexo.invalid"
#endif
#ifndef VEXO_UPDATE_USER
#define VEXO_UPDATE_USER "vexo"
#endif

namespace vexo {

namespace {

const QStringList &settingKeys()
{
    static const QStringList keys = {QStringLiteral("USER"),   QStringLiteral("PASSWORD"),
                                     QStringLiteral("DIRECTORY"), QStringLiteral("SERVER"),
                                     QStringLiteral("PROXY"),  QStringLiteral("USEHTTP")};
    return keys;
}

QString readWholeFile(const QString &file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return Cp1254Codec::decode(f.readAll());
}

void keepPrivate(const QString &file)
{
    QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

constexpr QChar kBracketStandIn = QChar(0x7F);

} // namespace

QString GETSECTIONSETTING(const QString &text, const QString &key, const QString &defaultValue)
{
    QString pattern = key;
    while (pattern.endsWith(u' '))
        pattern.chop(1);
    pattern = pattern.toUpper() + u'=';
    const qsizetype at = text.indexOf(pattern, 0, Qt::CaseSensitive);
    if (at < 0)
        return defaultValue;
    const qsizetype start = at + pattern.size();
    const qsizetype end = text.indexOf(QStringLiteral("\r\n"), start);
    return end < 0 ? text.mid(start) : text.mid(start, end - start);
}

QString GETINISTRING(const QString &section, const QString &key, const QString &file)
{
    const QString all = readWholeFile(file);
    if (all.isEmpty())
        return {};
    const QString header = u'[' + section.toUpper() + u']';
    const qsizetype at = all.indexOf(header, 0, Qt::CaseSensitive);
    if (at < 0)
        return {};
    const qsizetype start = at + header.size();
    const qsizetype next = all.indexOf(u'[', start);
    const QString body = next < 0 ? all.mid(start) : all.mid(start, next - start);
    return GETSECTIONSETTING(body, key, QString());
}

QString GETINISTRINGX(const QString &section, const QString &key, const QString &file)
{
    // The platform reader's 260-byte buffer holds 259 characters and the terminator.
    return INIFILE(file).GETSTRING(section, key).left(259);
}

qint32 GETINIINT(const QString &section, const QString &key, const QString &file)
{
    return INIFILE(file).GETINT(section, key);
}

bool SETINISTRING(const QString &section, const QString &key, const QString &file, const QString &value)
{
    return INIFILE(file).SETSTRING(section, key, value);
}

QStringList GETFTPSETUP(const QString &file)
{
    QStringList values;
    for (const QString &key : settingKeys())
        values << GETINISTRING(QStringLiteral("FTP"), key, file);
    return values;
}

bool SETFTPSETUP(const QString &file, const QStringList &settings)
{
    if (settings.size() < 2)
        return false;
    if (!QFileInfo::exists(file)) {
        if (!writeFileAtomically(file, QByteArray("[FTP]")))
            return false;
        keepPrivate(file);
    }
    for (qsizetype i = 0; i < settings.size() && i < settingKeys().size(); ++i) {
        SETINISTRING(QStringLiteral("FTP"), settingKeys().at(i), file, settings.at(i));
        keepPrivate(file); // every write replaces the file
    }
    return true;
}

QString scramblePassword(const QString &text, const QString &key)
{
    auto swapBracket = [](QString s) {
        for (QChar &c : s) {
            if (c == u'[')
                c = kBracketStandIn;
            else if (c == kBracketStandIn)
                c = u'[';
        }
        return s;
    };
    return swapBracket(Crypt(text, key));
}

UpdaterBuiltins UpdaterBuiltins::fromBuild()
{
    UpdaterBuiltins b;
    b.server = QStringLiteral(VEXO_UPDATE_SERVER);
    b.user = QStringLiteral(VEXO_UPDATE_USER);
    b.password = QStringLiteral("KoMuTeL!5274*");
    b.directory = QStringLiteral("public_html");
    b.setupDir = QDir(appGlobals().CVERIKOK).filePath(QStringLiteral("VXO-Setup"));
    b.progFile = QCoreApplication::applicationFilePath();
    b.setupFile = QStringLiteral("VXO_Rir26-setup.exe");
    b.pwdKey = QStringLiteral("jwz");
    return b;
}

UpdaterFields UpdaterBuiltins::fields() const
{
    UpdaterFields f;
    f.user = user;
    f.password = password;
    f.directory = directory;
    f.server = server;
    return f;
}

bool saveUpdaterSetup(const QString &file, const UpdaterFields &fields, const QString &pwdKey)
{
    return SETFTPSETUP(file, {fields.user, scramblePassword(fields.password, pwdKey), fields.directory,
                              fields.server, fields.proxy,
                              fields.useHttp ? QStringLiteral("1") : QStringLiteral("0")});
}

void readUpdaterSetup(const QString &file, UpdaterFields &fields, const QString &pwdKey)
{
    QStringList a = GETFTPSETUP(file);
    if (fields.user != a.at(0) || fields.password != scramblePassword(a.at(1), pwdKey)
        || fields.directory != a.at(2) || fields.server != a.at(3)) {
        saveUpdaterSetup(file, fields, pwdKey);
        a = GETFTPSETUP(file);
    }
    fields.user = a.at(0);
    fields.password = scramblePassword(a.at(1), pwdKey);
    fields.directory = a.at(2);
    fields.server = a.at(3);
    fields.proxy = a.at(4);
    fields.useHttp = Val(a.at(5)) > 0;
}

} // namespace vexo
