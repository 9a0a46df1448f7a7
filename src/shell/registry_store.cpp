#include "shell/registry_store.h"

#include "platform/atomic_file.h"
#include "platform/cp1254_codec.h"
#include "platform/special_folders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStringDecoder>

#include <algorithm>

namespace vexo {

namespace {

QString g_pathOverride;

bool sameName(const QString &a, const QString &b)
{
    return QString::compare(a, b, Qt::CaseInsensitive) == 0;
}

bool startsWithKey(const QString &key, const QString &prefix)
{
    return key.size() > prefix.size() && key.at(prefix.size()) == u'\\'
           && key.startsWith(prefix, Qt::CaseInsensitive);
}

bool validKey(const QString &key)
{
    const QStringList parts = key.split(u'\\');
    for (const QString &part : parts) {
        if (part.isEmpty())
            return false;
        for (QChar c : part) {
            if (c.unicode() < 0x20 || c.unicode() == 0x7F)
                return false;
        }
    }
    return true;
}

using Sections = QList<RegistryStore::Section>;

qsizetype findSection(const Sections &sections, const QString &key)
{
    for (qsizetype i = 0; i < sections.size(); ++i) {
        if (sameName(sections.at(i).key, key))
            return i;
    }
    return -1;
}

// A key exists when it has a section of its own or a section below it; a hive always exists.
bool keyExists(const Sections &sections, const QString &key)
{
    if (!key.contains(u'\\'))
        return true;
    return std::any_of(sections.begin(), sections.end(), [&](const RegistryStore::Section &s) {
        return sameName(s.key, key) || startsWithKey(s.key, key);
    });
}

bool hasSubkeys(const Sections &sections, const QString &key)
{
    return std::any_of(sections.begin(), sections.end(),
                       [&](const RegistryStore::Section &s) { return startsWithKey(s.key, key); });
}

// Gives the key and each of its ancestors a section, so that the file shows the whole tree.
qsizetype ensureSection(Sections &sections, const QString &key)
{
    const QStringList parts = key.split(u'\\');
    QString path;
    qsizetype index = -1;
    for (const QString &part : parts) {
        path = path.isEmpty() ? part : path + u'\\' + part;
        index = findSection(sections, path);
        if (index < 0) {
            sections.append({path, {}});
            index = sections.size() - 1;
        } else {
            path = sections.at(index).key;
        }
    }
    return index;
}

qsizetype findEntry(const RegistryStore::Section &section, const QString &name)
{
    for (qsizetype i = 0; i < section.entries.size(); ++i) {
        if (sameName(section.entries.at(i).name, name))
            return i;
    }
    return -1;
}

QString quoted(const QString &text)
{
    QString out;
    out.reserve(text.size() + 2);
    out += u'"';
    for (QChar c : text) {
        switch (c.unicode()) {
        case '\\': out += QStringLiteral("\\\\"); break;
        case '"': out += QStringLiteral("\\\""); break;
        case '\n': out += QStringLiteral("\\n"); break;
        case '\r': out += QStringLiteral("\\r"); break;
        case '\t': out += QStringLiteral("\\t"); break;
        default:
            if (c.unicode() < 0x20 || c.unicode() == 0x7F)
                out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QChar(u'0'));
            else
                out += c;
        }
    }
    out += u'"';
    return out;
}

// Reads a quoted text starting at pos (on the opening quote); pos ends after the closing quote.
// A backslash before a character that is no escape stays, so that hand-written Windows paths survive.
bool unquote(const QString &line, qsizetype &pos, QString *text)
{
    if (pos >= line.size() || line.at(pos) != u'"')
        return false;
    QString out;
    for (qsizetype i = pos + 1; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (c == u'"') {
            pos = i + 1;
            *text = out;
            return true;
        }
        if (c != u'\\' || i + 1 >= line.size()) {
            out += c;
            continue;
        }
        const QChar e = line.at(i + 1);
        switch (e.unicode()) {
        case '\\': out += u'\\'; ++i; break;
        case '"': out += u'"'; ++i; break;
        case 'n': out += u'\n'; ++i; break;
        case 'r': out += u'\r'; ++i; break;
        case 't': out += u'\t'; ++i; break;
        case 'x': {
            bool ok = false;
            const int code = line.mid(i + 2, 2).toInt(&ok, 16);
            if (ok && line.mid(i + 2, 2).size() == 2) {
                out += QChar(code);
                i += 3;
            } else {
                out += c;
            }
            break;
        }
        default: out += c;
        }
    }
    return false;
}

bool onlyBlanksFrom(const QString &line, qsizetype pos)
{
    return line.mid(pos).trimmed().isEmpty();
}

bool parseValueLine(const QString &line, RegistryStore::Entry *entry)
{
    qsizetype pos = 0;
    QString name;
    if (line.startsWith(u'@')) {
        pos = 1;
    } else if (!unquote(line, pos, &name)) {
        return false;
    }
    while (pos < line.size() && line.at(pos).isSpace())
        ++pos;
    if (pos >= line.size() || line.at(pos) != u'=')
        return false;
    ++pos;
    while (pos < line.size() && line.at(pos).isSpace())
        ++pos;
    const QString rest = line.mid(pos);
    RegValue value;
    static const QString expandTag = QStringLiteral("expand:");
    static const QString dwordTag = QStringLiteral("dword:");
    qsizetype p = pos;
    QString text;
    if (unquote(line, p, &text) && onlyBlanksFrom(line, p)) {
        value.type = RegType::String;
        value.text = text;
    } else if (rest.startsWith(expandTag, Qt::CaseInsensitive)
               && (p = pos + expandTag.size(), unquote(line, p, &text)) && onlyBlanksFrom(line, p)) {
        value.type = RegType::ExpandString;
        value.text = text;
    } else if (rest.startsWith(dwordTag, Qt::CaseInsensitive)) {
        bool ok = false;
        const QString digits = rest.mid(dwordTag.size()).trimmed();
        const quint32 n = digits.toUInt(&ok, 16);
        if (ok && digits.size() <= 8) {
            value.type = RegType::Dword;
            value.number = n;
        } else {
            value.type = RegType::Other;
            value.rawData = rest;
        }
    } else {
        value.type = RegType::Other;
        value.rawData = rest;
    }
    entry->name = name;
    entry->value = value;
    return true;
}

QString valueLine(const RegistryStore::Entry &e)
{
    const QString name = e.name.isEmpty() ? QStringLiteral("@") : quoted(e.name);
    switch (e.value.type) {
    case RegType::String: return name + u'=' + quoted(e.value.text);
    case RegType::ExpandString: return name + QStringLiteral("=expand:") + quoted(e.value.text);
    case RegType::Dword:
        return name + QStringLiteral("=dword:%1").arg(e.value.number, 8, 16, QChar(u'0'));
    case RegType::Other:
    case RegType::None: break;
    }
    return name + u'=' + e.value.rawData;
}

int fileError(QFileDevice::FileError error)
{
    return error == QFileDevice::PermissionsError ? REG_ERROR_ACCESS_DENIED : REG_ERROR_IO_FAILED;
}

// Sorts keys part by part, so that every key stands right after its parent.
bool keyLess(const RegistryStore::Section &a, const RegistryStore::Section &b)
{
    const QStringList pa = a.key.split(u'\\');
    const QStringList pb = b.key.split(u'\\');
    for (qsizetype i = 0; i < std::min(pa.size(), pb.size()); ++i) {
        const int c = QString::compare(pa.at(i), pb.at(i), Qt::CaseInsensitive);
        if (c != 0)
            return c < 0;
    }
    return pa.size() < pb.size();
}

} // namespace

int RegValue::byteSize() const
{
    switch (type) {
    case RegType::String:
    case RegType::ExpandString: return int(text.size()) + 1;
    case RegType::Dword: return 4;
    case RegType::Other:
    case RegType::None: break;
    }
    return int(rawData.size());
}

RegistryStore::RegistryStore(QString filePath)
    : m_path(std::move(filePath))
{
}

int RegistryStore::load(QList<Section> *sections) const
{
    sections->clear();
    QFile file(m_path);
    if (!file.exists())
        return REG_OK;
    if (!file.open(QIODevice::ReadOnly))
        return fileError(file.error());
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return REG_ERROR_IO_FAILED;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        text = Cp1254Codec::decode(bytes);

    qsizetype current = -1;
    const QStringList lines = text.split(u'\n');
    for (const QString &raw : lines) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            const QString key = line.mid(1, line.size() - 2);
            current = findSection(*sections, key);
            if (current < 0) {
                sections->append({key, {}});
                current = sections->size() - 1;
            }
            continue;
        }
        Entry entry;
        if (current < 0 || !parseValueLine(line, &entry))
            continue;
        Section &section = (*sections)[current];
        const qsizetype at = findEntry(section, entry.name);
        if (at >= 0)
            section.entries[at].value = entry.value;
        else
            section.entries.append(entry);
    }
    return REG_OK;
}

int RegistryStore::save(const QList<Section> &unsorted) const
{
    QList<Section> sections = unsorted;
    std::stable_sort(sections.begin(), sections.end(), keyLess);
    QString text = QStringLiteral("; VEXO_Zud registry (UTF-8). Keys are sections; values are\n"
                                  "; \"Name\"=\"text\", \"Name\"=expand:\"text\" or \"Name\"=dword:hex.\n");
    for (const Section &s : sections) {
        text += QStringLiteral("\n[") + s.key + QStringLiteral("]\n");
        for (const Entry &e : s.entries)
            text += valueLine(e) + u'\n';
    }
    if (!writeFileAtomically(m_path, text.toUtf8())) {
        const QFileInfo info(m_path);
        const bool denied = (info.exists() && !info.isWritable()) || !QFileInfo(info.absolutePath()).isWritable();
        return denied ? REG_ERROR_ACCESS_DENIED : REG_ERROR_IO_FAILED;
    }
    return REG_OK;
}

template<typename Change>
int RegistryStore::modify(Change change) const
{
    const QFileInfo info(m_path);
    if (!QDir().mkpath(info.absolutePath()))
        return REG_ERROR_ACCESS_DENIED;
    QLockFile lock(m_path + QStringLiteral(".lock"));
    if (!lock.tryLock(5000))
        return lock.error() == QLockFile::PermissionError ? REG_ERROR_ACCESS_DENIED : REG_ERROR_IO_FAILED;
    QList<Section> sections;
    if (const int rc = load(&sections); rc != REG_OK)
        return rc;
    if (const int rc = change(sections); rc != REG_OK)
        return rc;
    return save(sections);
}

int RegistryStore::queryValue(const QString &key, const QString &name, RegValue *value) const
{
    *value = {};
    if (!validKey(key))
        return REG_ERROR_BAD_PATHNAME;
    QList<Section> sections;
    if (const int rc = load(&sections); rc != REG_OK)
        return rc;
    if (!keyExists(sections, key))
        return REG_ERROR_FILE_NOT_FOUND;
    const qsizetype s = findSection(sections, key);
    const qsizetype e = s < 0 ? -1 : findEntry(sections.at(s), name);
    if (e < 0)
        return REG_ERROR_FILE_NOT_FOUND;
    *value = sections.at(s).entries.at(e).value;
    return REG_OK;
}

int RegistryStore::createKey(const QString &key) const
{
    if (!validKey(key))
        return REG_ERROR_BAD_PATHNAME;
    return modify([&](Sections &sections) {
        ensureSection(sections, key);
        return int(REG_OK);
    });
}

int RegistryStore::setValue(const QString &key, const QString &name, const RegValue &value) const
{
    if (!validKey(key))
        return REG_ERROR_BAD_PATHNAME;
    return modify([&](Sections &sections) {
        Section &section = sections[ensureSection(sections, key)];
        const qsizetype at = findEntry(section, name);
        if (at >= 0)
            section.entries[at].value = value;
        else
            section.entries.append({name, value});
        return int(REG_OK);
    });
}

int RegistryStore::deleteValue(const QString &key, const QString &name) const
{
    if (!validKey(key))
        return REG_ERROR_BAD_PATHNAME;
    return modify([&](Sections &sections) {
        if (!keyExists(sections, key))
            return int(REG_ERROR_FILE_NOT_FOUND);
        const qsizetype s = findSection(sections, key);
        const qsizetype e = s < 0 ? -1 : findEntry(sections.at(s), name);
        if (e < 0)
            return int(REG_ERROR_FILE_NOT_FOUND);
        sections[s].entries.removeAt(e);
        return int(REG_OK);
    });
}

int RegistryStore::deleteKey(const QString &key) const
{
    if (!validKey(key))
        return REG_ERROR_BAD_PATHNAME;
    if (!key.contains(u'\\'))
        return REG_ERROR_ACCESS_DENIED;
    return modify([&](Sections &sections) {
        if (!keyExists(sections, key))
            return int(REG_ERROR_FILE_NOT_FOUND);
        if (hasSubkeys(sections, key))
            return int(REG_ERROR_ACCESS_DENIED);
        sections.removeAt(findSection(sections, key));
        return int(REG_OK);
    });
}

int RegistryStore::subkeyNames(const QString &key, QStringList *names) const
{
    names->clear();
    if (!validKey(key))
        return REG_ERROR_BAD_PATHNAME;
    QList<Section> sections;
    if (const int rc = load(&sections); rc != REG_OK)
        return rc;
    if (!keyExists(sections, key))
        return REG_ERROR_FILE_NOT_FOUND;
    for (const Section &s : sections) {
        if (!startsWithKey(s.key, key))
            continue;
        const QString child = s.key.mid(key.size() + 1).section(u'\\', 0, 0);
        const bool known = std::any_of(names->begin(), names->end(),
                                       [&](const QString &n) { return sameName(n, child); });
        if (!known)
            names->append(child);
    }
    std::sort(names->begin(), names->end(), [](const QString &a, const QString &b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
    return REG_OK;
}

QString registryFilePath()
{
    if (!g_pathOverride.isEmpty())
        return g_pathOverride;
    return configFolder() + QStringLiteral("/registry.ini");
}

void setRegistryFilePath(const QString &path)
{
    g_pathOverride = path;
}

} // namespace vexo
