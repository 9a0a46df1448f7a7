#include "shell/registry.h"

#include "problem/turkish_text.h"

#include "shell/process_launcher.h"

namespace vexo {

namespace {

RegistryStore store()
{
    return RegistryStore(registryFilePath());
}

// Backslashes go from the end, then from the start, one at a time while more than one character is
// left.
QString stripBackslashes(QString text)
{
    while (text.size() > 1 && text.endsWith(u'\\'))
        text.chop(1);
    while (text.size() > 1 && text.startsWith(u'\\'))
        text.remove(0, 1);
    return text;
}

} // namespace

QString registryRootName(quint32 root)
{
    switch (root) {
    case HKEY_CLASSES_ROOT: return QStringLiteral("HKEY_CLASSES_ROOT");
    case HKEY_CURRENT_USER: return QStringLiteral("HKEY_CURRENT_USER");
    case HKEY_USERS: return QStringLiteral("HKEY_USERS");
    case HKEY_CURRENT_CONFIG: return QStringLiteral("HKEY_CURRENT_CONFIG");
    case HKEY_DYN_DATA: return QStringLiteral("HKEY_DYN_DATA");
    default: return QStringLiteral("HKEY_LOCAL_MACHINE");
    }
}

CLASS_REGISTRY_::CLASS_REGISTRY_() = default;

const QString &CLASS_REGISTRY_::WORKING_SUBKEY(const QString &subkey)
{
    m_workingSubkey = stripBackslashes(trimBlanks(subkey));
    return m_workingSubkey;
}

quint32 CLASS_REGISTRY_::HKEY(quint32 root)
{
    switch (root) {
    case HKEY_CLASSES_ROOT:
    case HKEY_CURRENT_USER:
    case HKEY_LOCAL_MACHINE:
    case HKEY_USERS:
    case HKEY_CURRENT_CONFIG:
    case HKEY_DYN_DATA: m_root = root; break;
    default: m_root = HKEY_LOCAL_MACHINE;
    }
    return m_root;
}

QString CLASS_REGISTRY_::BUILD_FULL_SUBKEY(const QString &subkey) const
{
    QString relative = stripBackslashes(trimBlanks(subkey));
    if (relative == QStringLiteral("\\"))
        relative.clear();
    if (relative.isEmpty())
        return m_workingSubkey;
    if (m_workingSubkey.isEmpty())
        return relative;
    return m_workingSubkey + u'\\' + relative;
}

QString CLASS_REGISTRY_::keyPath(const QString &subkey) const
{
    const QString full = BUILD_FULL_SUBKEY(subkey);
    const QString root = registryRootName(m_root);
    return full.isEmpty() ? root : root + u'\\' + full;
}

QString CLASS_REGISTRY_::GETSTRING(const QString &subkey, const QString &valueName)
{
    RegValue value;
    const int rc = store().queryValue(keyPath(subkey), valueName, &value);
    if (rc != REG_OK) {
        LASTERROR(rc);
        return {};
    }
    if (value.byteSize() > kBufferBytes) {
        LASTERROR(REG_ERROR_MORE_DATA);
        return {};
    }
    LASTERROR(REG_OK);
    if (value.type != RegType::String)
        return {};
    // The value is read as a zero-terminated text.
    QString text = value.text;
    if (const qsizetype nul = text.indexOf(QChar(0)); nul >= 0)
        text.truncate(nul);
    while (text.endsWith(u' '))
        text.chop(1);
    return text;
}

quint32 CLASS_REGISTRY_::GETINT(const QString &subkey, const QString &valueName)
{
    RegValue value;
    const int rc = store().queryValue(keyPath(subkey), valueName, &value);
    if (rc != REG_OK) {
        LASTERROR(rc);
        return 0;
    }
    if (value.byteSize() > 4) {
        LASTERROR(REG_ERROR_MORE_DATA);
        return 0;
    }
    LASTERROR(REG_OK);
    return value.type == RegType::Dword ? value.number : 0;
}

int CLASS_REGISTRY_::CREATEKEY(const QString &subkey)
{
    return LASTERROR(store().createKey(keyPath(subkey)));
}

int CLASS_REGISTRY_::WRITESTRING(const QString &subkey, const QString &valueName, const QString &text)
{
    RegValue value;
    value.type = RegType::String;
    value.text = text.left(kMaxWrittenChars);
    return writeValue(subkey, valueName, value);
}

int CLASS_REGISTRY_::WRITEINT(const QString &subkey, const QString &valueName, quint32 number)
{
    RegValue value;
    value.type = RegType::Dword;
    value.number = number;
    return writeValue(subkey, valueName, value);
}

int CLASS_REGISTRY_::writeValue(const QString &subkey, const QString &valueName, const RegValue &value)
{
    return LASTERROR(store().setValue(keyPath(subkey), valueName, value));
}

QStringList CLASS_REGISTRY_::GET_SUBKEY_VALUENAMES(const QString &subkey)
{
    QStringList names;
    LASTERROR(store().subkeyNames(keyPath(subkey), &names));
    return names;
}

int CLASS_REGISTRY_::DELETEVALUE(const QString &subkey, const QString &valueName)
{
    return LASTERROR(store().deleteValue(keyPath(subkey), valueName));
}

int CLASS_REGISTRY_::DELETESUBKEY(const QString &subkey)
{
    return LASTERROR(store().deleteKey(keyPath(subkey)));
}

int CLASS_REGISTRY_::FLUSH()
{
    return LASTERROR(REG_OK);
}

CLASS_HKLM::CLASS_HKLM()
{
    CLASS_REGISTRY_::HKEY(HKEY_LOCAL_MACHINE);
}

CLASS_HKCU::CLASS_HKCU()
{
    CLASS_REGISTRY_::HKEY(HKEY_CURRENT_USER);
}

CLASS_HKCR::CLASS_HKCR()
{
    CLASS_REGISTRY_::HKEY(HKEY_CLASSES_ROOT);
}

QString COMMPATHANDEXE(const QString &extension)
{
    CLASS_HKCR registry;
    registry.WORKING_SUBKEY(extension);
    const QString fileType = registry.GETSTRING(QString(), QString());
    const QString commandKey = fileType.isEmpty()
                                   ? QStringLiteral("\\Applications\\AcroRD32.EXE\\Shell\\Read\\Command")
                                   : fileType + QStringLiteral("\\Shell\\Open\\Command");
    registry.WORKING_SUBKEY(commandKey);
    const QString command = registry.GETSTRING(QString(), QString());
    return command.isEmpty() ? QString() : QVGETCMDEXE(command);
}

} // namespace vexo
