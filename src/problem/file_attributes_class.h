#pragma once

#include <QString>

namespace vexo {

// The attribute flags of one file, as numbers and as letters. The letters are those of the
// program's attribute texts: "T" temporary, "C" compressed, "A" archive, "O" and "r" reparse point,
// "S" system, "H" hidden, "D" directory, "R" read-only, "s" sparse, "E" device (read only), and
// "N" alone for a normal file.
class FILEATTRIBUTES
{
public:
    FILEATTRIBUTES() = default;
    explicit FILEATTRIBUTES(const QString &path) { INIT(path); }

    // Reads the file's flags. A missing file holds the platform's "invalid" value and no letters.
    void INIT(const QString &path);

    // Sets the flags the letters name; on success both fields hold the flags read back.
    bool FASET(const QString &letters);
    // Makes the file a normal file. Here that takes away read-only; a hidden name stays hidden,
    // since hiding is part of the name.
    void CLEARRO() { FASET(QStringLiteral("N")); }

    static QString DW2STRING(quint32 flags);
    static quint32 STRING2DW(const QString &letters);

    const QString &fileName() const { return m_fileName; }
    bool exists() const;

    quint32 DWATTRIBUTES = 0;
    QString CATTRIBUTES;

private:
    QString m_fileName;
};

} // namespace vexo
