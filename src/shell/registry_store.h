#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace vexo {

// The Windows error codes the registry layer reports, with their Windows meaning.
enum RegistryError : int {
    REG_OK = 0,
    REG_ERROR_FILE_NOT_FOUND = 2,   // key or value does not exist
    REG_ERROR_ACCESS_DENIED = 5,    // no rights, or a key that still has subkeys is deleted
    REG_ERROR_BAD_PATHNAME = 161,   // a key path with an empty or unprintable part
    REG_ERROR_MORE_DATA = 234,      // the value does not fit the caller's buffer
    REG_ERROR_NO_MORE_ITEMS = 259,  // end of an enumeration
    REG_ERROR_IO_FAILED = 1016,     // the registry file could not be read or written
};

// The value types the program uses, numbered as Windows numbers them.
enum class RegType : int { Other = -1, None = 0, String = 1, ExpandString = 2, Dword = 4 };

struct RegValue
{
    RegType type = RegType::None;
    QString text;      // String, ExpandString
    quint32 number = 0; // Dword
    QString rawData;   // a type the program does not know: its data as the file holds it

    // The size in bytes Windows would report for the value (texts with their terminating zero).
    int byteSize() const;
};

// The registry as one text file of our own. Every hive and key is a section named by its full path
// ("[HKEY_LOCAL_MACHINE\Software\Tarvex_Int\VK6Setings]"); every value is a line in the style of a
// Windows .reg export:
//   "Name"="text"            a text (REG_SZ); "@" without quotes is the key's default value
//   "Name"=expand:"%HOME%"   an expandable text (REG_EXPAND_SZ)
//   "Name"=dword:0000000c    a 32-bit number (REG_DWORD), hexadecimal
// Inside quotes a backslash escapes \\ \" \n \r \t and \xHH (other control characters). Keys and value
// names are found without regard to case and keep the spelling they were created with. The file is
// UTF-8 (a file that is not valid UTF-8 is read as Windows-1254); it is replaced as a whole through a
// temporary file at every change, under a lock file, so that a reader never sees half a file and two
// processes never lose each other's change. No handle is kept between operations.
class RegistryStore
{
public:
    explicit RegistryStore(QString filePath);

    const QString &filePath() const { return m_path; }

    // key: the full path with the hive first ("HKEY_CURRENT_USER\Software\X"). Each answers a
    // RegistryError.
    int queryValue(const QString &key, const QString &name, RegValue *value) const;
    int createKey(const QString &key) const;
    int setValue(const QString &key, const QString &name, const RegValue &value) const;
    int deleteValue(const QString &key, const QString &name) const;
    // Refuses a hive and a key that has subkeys (REG_ERROR_ACCESS_DENIED), as Windows does.
    int deleteKey(const QString &key) const;
    // The names of the key's direct subkeys, sorted without regard to case as Windows lists them.
    int subkeyNames(const QString &key, QStringList *names) const;

    struct Entry
    {
        QString name;
        RegValue value;
    };
    struct Section
    {
        QString key;
        QList<Entry> entries;
    };

private:
    int load(QList<Section> *sections) const;
    int save(const QList<Section> &sections) const;
    template<typename Change>
    int modify(Change change) const;

    QString m_path;
};

// The registry file of this user: "registry.ini" in the configuration folder, unless a test has
// pointed it elsewhere with setRegistryFilePath (an empty path puts the standard one back).
QString registryFilePath();
void setRegistryFilePath(const QString &path);

} // namespace vexo
