#include "problem/file_attributes_class.h"

#include "platform/file_attributes.h"

#include <array>

namespace vexo {

namespace {

struct AttributeLetter
{
    char16_t letter;
    quint32 flag;
};

// The order in which DW2STRING writes the letters; the reparse flag has two letters.
constexpr std::array<AttributeLetter, 10> kWritten = {{
    {u'T', FA_TEMPORARY},
    {u'C', FA_COMPRESSED},
    {u'A', FA_ARCHIVE},
    {u'O', FA_REPARSE},
    {u'S', FA_SYSTEM},
    {u'H', FA_HIDDEN},
    {u'D', FA_DIRECTORY},
    {u'R', FA_READONLY},
    {u'r', FA_REPARSE},
    {u's', FA_SPARSE},
}};

} // namespace

void FILEATTRIBUTES::INIT(const QString &path)
{
    m_fileName = path;
    if (const auto flags = readFileAttributes(path)) {
        DWATTRIBUTES = *flags;
        CATTRIBUTES = DW2STRING(*flags);
    } else {
        // A missing file must not read as one with every attribute set.
        DWATTRIBUTES = kInvalidFileAttributes;
        CATTRIBUTES.clear();
    }
}

bool FILEATTRIBUTES::exists() const
{
    return DWATTRIBUTES != kInvalidFileAttributes;
}

bool FILEATTRIBUTES::FASET(const QString &letters)
{
    if (m_fileName.isEmpty() || !writeFileAttributes(m_fileName, STRING2DW(letters)))
        return false;
    INIT(m_fileName);
    return true;
}

QString FILEATTRIBUTES::DW2STRING(quint32 flags)
{
    QString out;
    for (const auto &entry : kWritten) {
        if (flags & entry.flag)
            out.append(QChar(entry.letter));
    }
    return out;
}

quint32 FILEATTRIBUTES::STRING2DW(const QString &letters)
{
    if (letters == u"N")
        return FA_NORMAL;
    quint32 flags = 0;
    for (QChar c : letters) {
        for (const auto &entry : kWritten) {
            if (c == QChar(entry.letter))
                flags |= entry.flag;
        }
        if (c == u'E')
            flags |= FA_DEVICE;
    }
    return flags;
}

} // namespace vexo
