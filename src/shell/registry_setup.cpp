#include "shell/registry_setup.h"

#include "platform/special_folders.h"
#include "shell/registry.h"

#include <QDir>

namespace vexo {

QString settingsRegistryKey()
{
    return QStringLiteral("Software\\Tarvex_Int\\VK6Setings");
}

QString defaultProgramFolder()
{
    return configFolder() + QStringLiteral("/Program");
}

QString ensureProgramFolderRegistered()
{
    CLASS_HKLM registry;
    registry.WORKING_SUBKEY(settingsRegistryKey());
    const QString current = registry.GETSTRING(QString(), QStringLiteral("VKpath"));
    if (!current.isEmpty()) {
        if (QDir(current) == QDir(defaultProgramFolder()))
            QDir().mkpath(current);
        return current;
    }

    const QString folder = defaultProgramFolder();
    if (!QDir().mkpath(folder))
        return {};
    struct Default
    {
        const char *name;
        const char *value;
    };
    // The options a fresh installation starts with; the program folder goes last, so that a
    // half-done setup is done again at the next start.
    static const Default defaults[] = {{"VKlstrt", "1"}, {"VKlogo", "1"}, {"VKldlg", "0"}};
    for (const Default &d : defaults) {
        const QString name = QString::fromLatin1(d.name);
        if (registry.GETSTRING(QString(), name).isEmpty())
            registry.WRITESTRING(QString(), name, QString::fromLatin1(d.value));
    }
    if (registry.WRITESTRING(QString(), QStringLiteral("VKpath"), folder) != REG_OK)
        return {};
    return registry.GETSTRING(QString(), QStringLiteral("VKpath"));
}

} // namespace vexo
