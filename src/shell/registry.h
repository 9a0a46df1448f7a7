#pragma once

#include "shell/registry_store.h"

#include <QString>
#include <QStringList>

namespace vexo {

// The predefined root keys, with the handle values Windows gives them.
enum RegistryRoot : quint32 {
    HKEY_CLASSES_ROOT = 0x80000000u,
    HKEY_CURRENT_USER = 0x80000001u,
    HKEY_LOCAL_MACHINE = 0x80000002u,
    HKEY_USERS = 0x80000003u,
    HKEY_PERFORMANCE_DATA = 0x80000004u,
    HKEY_CURRENT_CONFIG = 0x80000005u,
    HKEY_DYN_DATA = 0x80000006u,
};

// The name a root key has as the first part of a key path in the registry file.
QString registryRootName(quint32 root);

// Access to one root key of the registry with a working subkey; every operation takes a subkey
// relative to the working subkey, touches the registry for just that operation and leaves the
// Windows error code in LASTERROR. Nothing here shows a message.
class CLASS_REGISTRY_
{
public:
    CLASS_REGISTRY_();
    virtual ~CLASS_REGISTRY_() = default;

    const QString &WORKING_SUBKEY() const { return m_workingSubkey; }
    // Blanks around and backslashes at both ends go (a single backslash stays).
    const QString &WORKING_SUBKEY(const QString &subkey);

    quint32 HKEY() const { return m_root; }
    // A root other than the six predefined keys makes it HKEY_LOCAL_MACHINE.
    virtual quint32 HKEY(quint32 root);

    int LASTERROR() const { return m_lastError; }
    int LASTERROR(int code) { return m_lastError = code; }

    QString BUILD_FULL_SUBKEY(const QString &subkey) const;

    // The REG_SZ value without trailing blanks; the empty text for a missing key or value, another
    // type, or a value longer than the 2,048-byte buffer (LASTERROR 234).
    QString GETSTRING(const QString &subkey, const QString &valueName);
    // The REG_DWORD value; 0 otherwise.
    quint32 GETINT(const QString &subkey, const QString &valueName);
    int CREATEKEY(const QString &subkey);
    int CREATESUBKEY(const QString &subkey) { return CREATEKEY(subkey); }
    // Keeps the first 2,046 characters; creates the key when needed.
    int WRITESTRING(const QString &subkey, const QString &valueName, const QString &text);
    int WRITEINT(const QString &subkey, const QString &valueName, quint32 number);
    // The names of the key's subkeys (not of its values); empty when the key cannot be opened.
    QStringList GET_SUBKEY_VALUENAMES(const QString &subkey);
    int DELETEVALUE(const QString &subkey, const QString &valueName);
    int DELETEVALUENAME(const QString &subkey, const QString &valueName)
    {
        return DELETEVALUE(subkey, valueName);
    }
    int DELETESUBKEY(const QString &subkey);
    // Every change is on disk as soon as its operation returns, so there is nothing left to write.
    int FLUSH();

    // Writes a value of any type; the setup and tests use it for the types the class only reads.
    int writeValue(const QString &subkey, const QString &valueName, const RegValue &value);

    static constexpr int kBufferBytes = 2048;
    static constexpr int kMaxWrittenChars = 2046;

protected:
    // The full key path in the registry file: the root's name and the full subkey.
    QString keyPath(const QString &subkey) const;

private:
    QString m_workingSubkey;
    int m_lastError = 0;
    quint32 m_root = HKEY_LOCAL_MACHINE;
};

// Fixed to one root key: assigning another root changes nothing.
class CLASS_HKLM : public CLASS_REGISTRY_
{
public:
    CLASS_HKLM();
    using CLASS_REGISTRY_::HKEY;
    quint32 HKEY(quint32) override { return CLASS_REGISTRY_::HKEY(); }
};

class CLASS_HKCU : public CLASS_REGISTRY_
{
public:
    CLASS_HKCU();
    using CLASS_REGISTRY_::HKEY;
    quint32 HKEY(quint32) override { return CLASS_REGISTRY_::HKEY(); }
};

class CLASS_HKCR : public CLASS_REGISTRY_
{
public:
    CLASS_HKCR();
    using CLASS_REGISTRY_::HKEY;
    quint32 HKEY(quint32) override { return CLASS_REGISTRY_::HKEY(); }
};

// The program registered under HKEY_CLASSES_ROOT to open files with the extension (".pdf"), or the
// empty text.
QString COMMPATHANDEXE(const QString &extension);

} // namespace vexo
