#pragma once

#include <QList>
#include <QPair>
#include <QString>

#include <optional>

namespace vexo {

// An INI file read and written the way the Windows profile functions do it: "[section]" headers,
// "entry=value" lines, sections and entries found without regard to case (the first of equal names
// counts), values trimmed and freed of one pair of enclosing quotes. Other lines (comments, blank
// lines) are kept as they are. The file is Windows-1254 text; every write replaces it through a
// temporary file. A name without a folder is taken from the program folder. No handle is kept
// between calls.
class INIFILE
{
public:
    INIFILE() = default;
    explicit INIFILE(const QString &fileName) { INIT(fileName); }

    INIFILE &INIT(const QString &fileName);
    const QString &FILENAME() const { return m_fileName; }
    void FILENAME(const QString &fileName) { m_fileName = fileName; }
    // The file the name stands for.
    QString filePath() const;

    // Creates the file, emptying an existing one; refuses the name "WIN" (any case, blanks around).
    bool CREATE() const;

    // The value, at most 1,023 characters, without blanks around it; empty when missing.
    QString GETSTRING(const QString &section, const QString &entry) const;
    QString GETSTRINGUPPER(const QString &section, const QString &entry) const;
    // The leading decimal number of the value (sign allowed, clamped to 32 bits); 0 when missing.
    qint32 GETINT(const QString &section, const QString &entry) const;
    // True for "TRUE", "ON" and "YES" in any case, exactly; anything else is false.
    bool GETLOGIC(const QString &section, const QString &entry) const;
    // {entry, value} pairs of the section in file order; entry names beyond the platform's
    // 1,024-byte name list are left off.
    QList<QPair<QString, QString>> GETSECTION(const QString &section) const;

    // Writes refuse texts that would break the file's lines or cannot be held in Windows-1254.
    bool SETSTRING(const QString &section, const QString &entry, const QString &value) const;
    bool SETINT(const QString &section, const QString &entry, qint32 value) const;
    bool SETLOGIC(const QString &section, const QString &entry, bool value) const;
    // Removing what is not there succeeds and leaves the file untouched.
    bool DELETEENTRY(const QString &section, const QString &entry) const;
    bool DELETESECTION(const QString &section) const;

private:
    bool write(const QString &section, const std::optional<QString> &entry,
               const std::optional<QString> &value) const;

    QString m_fileName;
};

} // namespace vexo
