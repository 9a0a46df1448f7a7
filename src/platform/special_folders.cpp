#include "platform/special_folders.h"

#include <QDir>
#include <QStandardPaths>

namespace vexo {

namespace {

QString clean(const QString &path)
{
    if (path.isEmpty())
        return {};
    QString p = QDir::cleanPath(path);
    while (p.size() > 1 && p.endsWith(u'/'))
        p.chop(1);
    return p;
}

} // namespace

QString specialFolderPath(int csidl)
{
    switch (csidl) {
    case CSIDL_DESKTOP: return clean(QStandardPaths::writableLocation(QStandardPaths::DesktopLocation));
    case CSIDL_PERSONAL: return documentsFolder();
    case CSIDL_APPDATA:
    case CSIDL_LOCAL_APPDATA: return clean(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    case CSIDL_COMMON_APPDATA: return QStringLiteral("/usr/share");
    case CSIDL_WINDOWS:
    case CSIDL_SYSTEM: return QStringLiteral("/etc");
    case CSIDL_PROGRAM_FILES: return QStringLiteral("/usr/bin");
    case CSIDL_MYPICTURES: return clean(QStandardPaths::writableLocation(QStandardPaths::PicturesLocation));
    case CSIDL_PROFILE: return clean(QDir::homePath());
    default: return {};
    }
}

QString documentsFolder()
{
    return clean(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
}

QString configFolder()
{
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.config");
    return clean(base + QStringLiteral("/VEXO_Zud"));
}

} // namespace vexo
