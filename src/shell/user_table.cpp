#include "shell/user_table.h"

#include "platform/dbf_filespec.h"
#include "problem/app_globals.h"
#include "problem/messages.h"
#include "problem/turkish_text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace vexo {

namespace {

const QString kIdField = QStringLiteral("KULL_ID");
const QString kPasswordField = QStringLiteral("PASSWORD");

QString errorText(const DbfTable &table)
{
    return table.status() ? table.status()->text() : QString();
}

// Passwords are in the table in plain text, so nobody but the owner may read it.
void ownerOnly(const QString &path)
{
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

bool opened(const DbfTable &table)
{
    return table.isOpen() && !table.status();
}

} // namespace

// Without a program folder there is no user table: a bare name would land in the current folder.
QString userTablePath()
{
    const QString folder = appGlobals().CPROGDIZIN;
    return folder.isEmpty() ? QString() : QDir(folder).filePath(kUserTableFile);
}

QString userIndexPath()
{
    const QString folder = appGlobals().CPROGDIZIN;
    return folder.isEmpty() ? QString() : QDir(folder).filePath(kUserIndexFile);
}

bool CREAPWDBF()
{
    const DbfStructure fields = {{kIdField, u'C', kUserFieldWidth, 0}, {kPasswordField, u'C', kUserFieldWidth, 0}};
    DbfFileSpec spec(userTablePath());
    if (userTablePath().isEmpty() || !spec.create(fields)) {
        UYARI(nullptr, QStringLiteral("Hata..."), QStringLiteral("Koruma dosyası oluşturma başarısız..."));
        return false;
    }
    ownerOnly(spec.fullPath());
    DBSERVERR table(spec.fullPath(), false, false);
    if (!opened(table)) {
        UYARI(nullptr, QStringLiteral("Hata..."), QStringLiteral("Koruma dosyası açılamadı... :") + errorText(table));
        return false;
    }
    if (!table.createIndex(userIndexPath(), QStringLiteral("KULLIDX"), kIdField, true)) {
        table.close();
        MESS2(QStringLiteral("Koruma dosyası indeksleme başarısız..."));
        return false;
    }
    ownerOnly(userIndexPath());
    if (!table.APPEND()) {
        table.close();
        MESS2(QStringLiteral("Koruma dosyasına kayıt ekleme başarısız..."));
        return false;
    }
    table.fieldPut(kIdField, QStringLiteral("PLNV"));
    table.fieldPut(kPasswordField, QStringLiteral("KV47"));
    table.commit();
    table.close();
    return true;
}

bool KONTPWDBF()
{
    if (userTablePath().isEmpty())
        return false;
    if (!FileSpec(userTablePath()).find() && !CREAPWDBF())
        return false;
    if (FileSpec(userIndexPath()).find())
        return true;
    const QString path = FileSpec(userTablePath()).fullPath();
    DBSERVERR table(path, false, false);
    if (!opened(table)) {
        UYARI(nullptr, QStringLiteral("Hata..."), QStringLiteral("Koruma dosyası açma başarısız... :") + errorText(table));
        return false;
    }
    if (!table.createIndex(userIndexPath(), QStringLiteral("KULLIDX"), kIdField, true)) {
        table.close();
        UYARI(nullptr, QStringLiteral("Hata..."), QStringLiteral("Koruma dosyasını indeksleme başarısız..."));
        return false;
    }
    ownerOnly(userIndexPath());
    table.commit();
    table.close();
    return true;
}

KSERVER::KSERVER()
    : DBSERVERR(userTablePath().isEmpty() ? QString() : FileSpec(userTablePath()).fullPath(), false, false)
{
    setLabel(QStringLiteral("KServer"));
    if (!opened(*this))
        return;
    const FileSpec index(userIndexPath());
    if (index.find() && setIndex(index.fullPath()))
        setOrder(1);
    goTop();
}

QString KSERVER::KULL_ID()
{
    return fieldGet(kIdField).toString();
}

void KSERVER::KULL_ID(const QString &name)
{
    fieldPut(kIdField, name);
}

QString KSERVER::PASSWORD()
{
    return fieldGet(kPasswordField).toString();
}

void KSERVER::PASSWORD(const QString &password)
{
    fieldPut(kPasswordField, password);
}

bool KSERVER::seekUser(const QString &name)
{
    if (trimBlanks(name).isEmpty())
        return false;
    return seek(name) && !eof();
}

bool passwordMatches(const QString &typed, const QString &stored)
{
    return trimBlanks(TRUPPER(typed)) == trimBlanks(stored);
}

LogonSession::Step LogonSession::attempt(QWidget *owner, const QString &name, const QString &password)
{
    bool openFailed = false;
    {
        KSERVER users;
        if (!opened(users)) {
            openFailed = true;
            ERRBEEP();
            ERRMESS(owner, QString(), QStringLiteral("Koruma dosyası açılamadı... :") + errorText(users));
            LOGONOK = false;
        } else if (users.seekUser(TRUPPER(name))) {
            LOGONOK = passwordMatches(password, users.PASSWORD());
            LOGONID = users.KULL_ID().leftJustified(kUserFieldWidth, u' ');
        } else {
            LOGONOK = false;
        }
    }
    if (!LOGONOK)
        LOGONID.clear();
    if (LOGONOK || NTRIES >= 3)
        return Step::Finished;
    if (!openFailed && !name.isEmpty())
        ERRMESS(owner, QString(), QStringLiteral("Geçersiz giriş teşebbüsü!"));
    ++NTRIES;
    return Step::TryAgain;
}

void LogonSession::cancel()
{
    LOGONOK = false;
    LOGONID.clear();
}

} // namespace vexo
