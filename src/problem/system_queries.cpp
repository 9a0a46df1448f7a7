#include "problem/system_queries.h"

#include "platform/cp1254_codec.h"
#include "platform/instance_lock.h"
#include "platform/message_sink.h"
#include "platform/special_folders.h"
#include "problem/app_globals.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

#include <array>
#include <cmath>
#include <cstring>

#include <unistd.h>

namespace vexo {

namespace {

// The deepest folder of the path that exists, so that a path still to be created finds its volume.
QString existingAncestor(const QString &path)
{
    QString p = QDir::cleanPath(path);
    while (!p.isEmpty() && !QFileInfo::exists(p)) {
        const qsizetype sep = p.lastIndexOf(u'/');
        if (sep <= 0)
            return QStringLiteral("/");
        p.truncate(sep);
    }
    return p;
}

QString hex32(quint32 word)
{
    return QStringLiteral("%1").arg(word, 8, 16, QChar(u'0')).toUpper();
}

} // namespace

bool ISDIR(const QString &path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    // Entering a folder needs search permission; access() answers that for this process as chdir would.
    return info.isDir() && ::access(QFile::encodeName(path).constData(), X_OK) == 0;
}

bool ISDRIVEREADY(const QString &drive)
{
    if (drive.isEmpty() || !drive.startsWith(u'/'))
        return false;
    const QStorageInfo storage(existingAncestor(drive));
    return storage.isValid() && storage.isReady();
}

bool isNetworkFileSystemType(const QByteArray &type)
{
    static const std::array<const char *, 14> kNetwork = {
        "nfs", "nfs4", "cifs", "smbfs", "smb3", "ncpfs", "afs", "coda", "9p",
        "fuse.sshfs", "sshfs", "davfs", "fuse.davfs2", "glusterfs",
    };
    const QByteArray lower = type.toLower();
    for (const char *name : kNetwork) {
        if (lower == name)
            return true;
    }
    return lower.startsWith("fuse.glusterfs") || lower == "ceph" || lower == "fuse.ceph";
}

bool ISDRIVENETWORK(const QString &rootPath)
{
    if (rootPath.isEmpty() || !QDir::isAbsolutePath(rootPath))
        return false;
    const QStorageInfo storage(existingAncestor(rootPath));
    return storage.isValid() && isNetworkFileSystemType(storage.fileSystemType());
}

QString JOVGETFOLDERPATH(int csidl)
{
    return specialFolderPath(csidl);
}

QString MYDOCUMENTQV()
{
    return JOVGETFOLDERPATH(CSIDL_PERSONAL);
}

QString GETWINDOWSDIR()
{
    return specialFolderPath(CSIDL_WINDOWS);
}

void VXODEFAULTS()
{
    const QString &programFolder = appGlobals().CPROGDIZIN;
    if (programFolder.isEmpty() || !QFileInfo(programFolder).isDir())
        return;
    const QString wanted = QFileInfo(programFolder).canonicalFilePath();
    if (QDir::currentPath() != wanted)
        QDir::setCurrent(programFolder);
}

bool ISAPPRUNNING(const QString &name)
{
    return isNameHeld(name);
}

QString regionalLocaleName()
{
    for (const char *variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QString value = qEnvironmentVariable(variable);
        if (!value.isEmpty())
            return value;
    }
    return {};
}

bool isTurkishLocaleName(const QString &locale)
{
    qsizetype end = 0;
    while (end < locale.size() && locale.at(end).isLetter())
        ++end;
    return locale.left(end).compare(u"tr", Qt::CaseInsensitive) == 0;
}

bool SYSCONFIG(QWidget *owner)
{
    if (isTurkishLocaleName(regionalLocaleName()))
        return true;
    showMessage(owner, QStringLiteral("Sistem Ayarı"),
                QStringLiteral("Bu programda normal görüntü sağlamak için; Kontrol Paneli'nin\r"
                               "Bölgesel Ayarlar sekmesinde, dil olarak Türkçe'yi seçiniz!"),
                MB_ICONSTOP);
    return false;
}

bool ISWIN98() { return false; }
bool ISWINME() { return false; }
bool ISWINXP() { return false; }
bool IS64BITOS() { return false; }

QString STR2HEX(const QByteArray &bytes)
{
    QString out;
    out.reserve(bytes.size() * 3);
    for (char byte : bytes)
        out += QStringLiteral("%1 ").arg(static_cast<unsigned char>(byte), 2, 16, QChar(u'0')).toUpper();
    return out;
}

QString STR2HEX(const QString &text)
{
    return STR2HEX(Cp1254Codec::encode(text));
}

QString VAL2HEX(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::QString:
        return STR2HEX(value.toString());
    case QMetaType::QByteArray:
        return STR2HEX(value.toByteArray());
    case QMetaType::Double:
    case QMetaType::Float: {
        const double v = value.toDouble();
        if (!std::isfinite(v) || v != std::trunc(v) || v > 4294967295.0 || v < -2147483647.0) {
            quint64 bits = 0;
            std::memcpy(&bits, &v, sizeof bits);
            return hex32(static_cast<quint32>(bits >> 32)) + hex32(static_cast<quint32>(bits));
        }
        return hex32(static_cast<quint32>(static_cast<qint64>(v)));
    }
    case QMetaType::QDate:
        return hex32(static_cast<quint32>(value.toDate().toJulianDay()));
    default:
        break;
    }
    bool ok = false;
    const qlonglong whole = value.toLongLong(&ok);
    return hex32(ok ? static_cast<quint32>(whole) : 0u);
}

QString CRYPTX(const QString &text, const QString &key, bool scramble)
{
    if (text.isEmpty())
        return {};
    QByteArray bytes = Cp1254Codec::encode(text);
    const QByteArray keyBytes = Cp1254Codec::encode(key);
    if (keyBytes.isEmpty())
        return text;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const int k = static_cast<unsigned char>(keyBytes.at(i % keyBytes.size()));
        const int b = static_cast<unsigned char>(bytes.at(i));
        bytes[i] = static_cast<char>((scramble ? b + k : b - k + 256) % 256);
    }
    return Cp1254Codec::decode(bytes);
}

} // namespace vexo
