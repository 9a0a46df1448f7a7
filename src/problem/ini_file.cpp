#include "problem/ini_file.h"

#include "platform/atomic_file.h"
#include "platform/cp1254_codec.h"
#include "platform/file_attributes.h"
#include "problem/app_globals.h"

#include <QFile>
#include <QFileInfo>

#include <limits>

namespace vexo {

namespace {

// Room the platform's 1,024-byte buffers leave for a value and for the list of entry names.
constexpr qsizetype kValueLimit = 1023;
constexpr qsizetype kNameListLimit = 1023;

struct IniLine
{
    enum Kind { Other, Header, Entry };
    QString text;
    Kind kind = Other;
    QString name;  // section of a header, entry name of an entry
    QString value; // entry value as the platform gives it back
};

struct IniText
{
    QList<IniLine> lines;
    QString eol = QStringLiteral("\r\n");
};

// A value loses its surrounding blanks and one pair of matching quotes around it.
QString profileValue(const QString &raw)
{
    QString v = raw.trimmed();
    if (v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front())
        v = v.mid(1, v.size() - 2);
    return v;
}

IniLine classify(const QString &text)
{
    IniLine line;
    line.text = text;
    const QString t = text.trimmed();
    if (t.startsWith(u'[')) {
        const qsizetype close = t.indexOf(u']');
        line.kind = IniLine::Header;
        line.name = (close < 0 ? t.mid(1) : t.mid(1, close - 1)).trimmed();
        return line;
    }
    if (t.startsWith(u';'))
        return line;
    const qsizetype eq = t.indexOf(u'=');
    if (eq <= 0)
        return line;
    line.name = t.left(eq).trimmed();
    if (line.name.isEmpty())
        return line;
    line.kind = IniLine::Entry;
    line.value = profileValue(t.mid(eq + 1));
    return line;
}

IniText parse(const QByteArray &bytes)
{
    IniText ini;
    QString all = Cp1254Codec::decode(bytes);
    if (all.contains(u'\n') && !all.contains(QStringLiteral("\r\n")))
        ini.eol = QStringLiteral("\n");
    if (all.endsWith(u'\n'))
        all.chop(1);
    if (all.isEmpty() && bytes.isEmpty())
        return ini;
    for (QString text : all.split(u'\n')) {
        if (text.endsWith(u'\r'))
            text.chop(1);
        ini.lines.append(classify(text));
    }
    return ini;
}

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b.trimmed(), Qt::CaseInsensitive) == 0;
}

// The header line of the first section of that name, or -1.
qsizetype findSection(const IniText &ini, const QString &section)
{
    for (qsizetype i = 0; i < ini.lines.size(); ++i) {
        if (ini.lines[i].kind == IniLine::Header && sameName(ini.lines[i].name, section))
            return i;
    }
    return -1;
}

// One past the section's last line.
qsizetype sectionEnd(const IniText &ini, qsizetype header)
{
    qsizetype i = header + 1;
    while (i < ini.lines.size() && ini.lines[i].kind != IniLine::Header)
        ++i;
    return i;
}

qsizetype findEntry(const IniText &ini, qsizetype header, const QString &entry)
{
    const qsizetype end = sectionEnd(ini, header);
    for (qsizetype i = header + 1; i < end; ++i) {
        if (ini.lines[i].kind == IniLine::Entry && sameName(ini.lines[i].name, entry))
            return i;
    }
    return -1;
}

std::optional<IniText> load(const QString &path)
{
    QFile file(path);
    if (!file.exists())
        return IniText{};
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return parse(file.readAll());
}

bool isReadOnly(const QString &path)
{
    const auto flags = readFileAttributes(path);
    return flags && (*flags & FA_READONLY);
}

bool breaksLine(const QString &text)
{
    return text.contains(u'\r') || text.contains(u'\n');
}

} // namespace

INIFILE &INIFILE::INIT(const QString &fileName)
{
    m_fileName = fileName;
    return *this;
}

QString INIFILE::filePath() const
{
    if (m_fileName.contains(u'/') || appGlobals().CPROGDIZIN.isEmpty())
        return m_fileName;
    return appGlobals().CPROGDIZIN + u'/' + m_fileName;
}

bool INIFILE::CREATE() const
{
    // The name of the system's own profile is never created or emptied.
    if (m_fileName.trimmed().toUpper() == u"WIN" || m_fileName.isEmpty())
        return false;
    const QString path = filePath();
    if (isReadOnly(path))
        return false;
    return writeFileAtomically(path, QByteArray());
}

QString INIFILE::GETSTRING(const QString &section, const QString &entry) const
{
    const auto ini = load(filePath());
    if (!ini)
        return {};
    const qsizetype header = findSection(*ini, section);
    if (header < 0)
        return {};
    const qsizetype line = findEntry(*ini, header, entry);
    if (line < 0)
        return {};
    return ini->lines[line].value.left(kValueLimit).trimmed();
}

QString INIFILE::GETSTRINGUPPER(const QString &section, const QString &entry) const
{
    return GETSTRING(section, entry).toUpper();
}

qint32 INIFILE::GETINT(const QString &section, const QString &entry) const
{
    const QString text = GETSTRING(section, entry);
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
        negative = text[i++] == u'-';
    qint64 magnitude = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        magnitude = magnitude * 10 + (text[i].unicode() - u'0');
        if (magnitude > qint64(std::numeric_limits<qint32>::max()) + 1)
            magnitude = qint64(std::numeric_limits<qint32>::max()) + 1;
    }
    const qint64 value = negative ? -magnitude : magnitude;
    return static_cast<qint32>(std::clamp<qint64>(value, std::numeric_limits<qint32>::min(),
                                                  std::numeric_limits<qint32>::max()));
}

bool INIFILE::GETLOGIC(const QString &section, const QString &entry) const
{
    const QString value = GETSTRINGUPPER(section, entry);
    return value == u"TRUE" || value == u"ON" || value == u"YES";
}

QList<QPair<QString, QString>> INIFILE::GETSECTION(const QString &section) const
{
    QList<QPair<QString, QString>> pairs;
    const auto ini = load(filePath());
    if (!ini)
        return pairs;
    const qsizetype header = findSection(*ini, section);
    if (header < 0)
        return pairs;
    const qsizetype end = sectionEnd(*ini, header);
    qsizetype used = 0;
    for (qsizetype i = header + 1; i < end; ++i) {
        const IniLine &line = ini->lines[i];
        if (line.kind != IniLine::Entry)
            continue;
        used += line.name.size() + 1; // each name ends with a NUL in the platform's list
        if (used > kNameListLimit)
            break;
        // A repeated name reads the value of its first occurrence, as a lookup by name does.
        const IniLine &first = ini->lines[findEntry(*ini, header, line.name)];
        pairs.append({line.name, first.value.left(kValueLimit).trimmed()});
    }
    return pairs;
}

bool INIFILE::SETSTRING(const QString &section, const QString &entry, const QString &value) const
{
    return write(section, entry, value);
}

bool INIFILE::SETINT(const QString &section, const QString &entry, qint32 value) const
{
    return SETSTRING(section, entry, QString::number(value));
}

bool INIFILE::SETLOGIC(const QString &section, const QString &entry, bool value) const
{
    return SETSTRING(section, entry, value ? QStringLiteral("TRUE") : QStringLiteral("FALSE"));
}

bool INIFILE::DELETEENTRY(const QString &section, const QString &entry) const
{
    return write(section, entry, std::nullopt);
}

bool INIFILE::DELETESECTION(const QString &section) const
{
    return write(section, std::nullopt, std::nullopt);
}

bool INIFILE::write(const QString &section, const std::optional<QString> &entry,
                    const std::optional<QString> &value) const
{
    const QString sectionName = section.trimmed();
    if (sectionName.isEmpty() || sectionName.contains(u']') || breaksLine(sectionName))
        return false;
    QString entryName;
    if (entry) {
        entryName = entry->trimmed();
        // A name the reader would take for a header or a comment, or that holds "=", could never
        // be read back.
        if (entryName.isEmpty() || entryName.contains(u'=') || entryName.startsWith(u'[')
            || entryName.startsWith(u';') || breaksLine(entryName))
            return false;
    }
    if (value && breaksLine(*value))
        return false;
    if (!Cp1254Codec::fits(sectionName) || !Cp1254Codec::fits(entryName) || (value && !Cp1254Codec::fits(*value)))
        return false;

    const QString path = filePath();
    if (m_fileName.isEmpty())
        return false;
    auto ini = load(path);
    if (!ini)
        return false;

    bool changed = false;
    qsizetype header = findSection(*ini, sectionName);
    if (!entry) {
        if (header >= 0) {
            ini->lines.remove(header, sectionEnd(*ini, header) - header);
            changed = true;
        }
    } else if (!value) {
        const qsizetype line = header < 0 ? -1 : findEntry(*ini, header, entryName);
        if (line >= 0) {
            ini->lines.removeAt(line);
            changed = true;
        }
    } else {
        const QString text = entryName + u'=' + *value;
        if (header < 0) {
            if (!ini->lines.isEmpty() && !ini->lines.back().text.trimmed().isEmpty())
                ini->lines.append(classify(QString()));
            ini->lines.append(classify(u'[' + sectionName + u']'));
            ini->lines.append(classify(text));
            changed = true;
        } else if (const qsizetype line = findEntry(*ini, header, entryName); line >= 0) {
            // The entry keeps the spelling it has in the file.
            const QString kept = ini->lines[line].name + u'=' + *value;
            if (ini->lines[line].text != kept) {
                ini->lines[line] = classify(kept);
                changed = true;
            }
        } else {
            // A new entry goes after the section's last entry, before blank lines and comments.
            qsizetype at = header + 1;
            for (qsizetype i = header + 1; i < sectionEnd(*ini, header); ++i) {
                if (ini->lines[i].kind == IniLine::Entry)
                    at = i + 1;
            }
            ini->lines.insert(at, classify(text));
            changed = true;
        }
    }
    if (!changed)
        return true;
    if (isReadOnly(path))
        return false;

    QString all;
    for (const IniLine &line : ini->lines)
        all += line.text + ini->eol;
    return writeFileAtomically(path, Cp1254Codec::encode(all));
}

} // namespace vexo
