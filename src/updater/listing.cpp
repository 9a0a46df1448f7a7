#include "updater/listing.h"

#include "platform/cp1254_codec.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTimeZone>

namespace vexo {

namespace {

QString timeText(const QTime &t)
{
    return t.toString(QStringLiteral("hh:mm:ss"));
}

// A name a listing may carry: no path separators, no control characters, not empty.
bool acceptableName(const QString &name)
{
    if (name.isEmpty() || name.contains(u'/') || name.contains(u'\\'))
        return false;
    for (QChar c : name) {
        if (c.unicode() < 0x20)
            return false;
    }
    return true;
}

QList<QByteArray> listingLines(const QByteArray &text)
{
    QList<QByteArray> lines;
    for (QByteArray line : text.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (!line.isEmpty())
            lines << line;
    }
    return lines;
}

// Names arrive as UTF-8 from today's servers; bytes that are not UTF-8 are read as Windows-1254.
QString nameFromBytes(const QByteArray &bytes)
{
    const QString utf8 = QString::fromUtf8(bytes);
    if (!utf8.contains(QChar::ReplacementCharacter))
        return utf8;
    return Cp1254Codec::decode(bytes);
}

} // namespace

void utcToLocal(const QDate &date, const QTime &time, ListingEntry &entry)
{
    const QDateTime local = QDateTime(date, time, QTimeZone::utc()).toLocalTime();
    entry.date = local.date();
    entry.time = timeText(local.time());
}

QList<ListingEntry> parseMlsd(const QByteArray &text)
{
    QList<ListingEntry> out;
    for (const QByteArray &line : listingLines(text)) {
        const qsizetype space = line.indexOf(' ');
        if (space <= 0)
            continue;
        ListingEntry e;
        e.name = nameFromBytes(line.mid(space + 1));
        bool haveType = false;
        bool sizeOk = true;
        for (const QByteArray &fact : line.left(space).split(';')) {
            const qsizetype eq = fact.indexOf('=');
            if (eq <= 0)
                continue;
            const QByteArray key = fact.left(eq).toLower();
            const QByteArray value = fact.mid(eq + 1);
            if (key == "type") {
                haveType = true;
                const QByteArray t = value.toLower();
                if (t == "cdir" || t == "pdir" || t == "dir") {
                    e.attributes = QStringLiteral("D");
                    if (t == "cdir")
                        e.name = QStringLiteral(".");
                    else if (t == "pdir")
                        e.name = QStringLiteral("..");
                } else if (t != "file") {
                    haveType = false; // links and devices are not offered
                }
            } else if (key == "size") {
                e.size = value.toLongLong(&sizeOk);
                sizeOk = sizeOk && e.size >= 0;
            } else if (key == "modify") {
                const QByteArray stamp = value.left(14);
                const QDateTime dt = QDateTime::fromString(QString::fromLatin1(stamp),
                                                           QStringLiteral("yyyyMMddHHmmss"));
                if (stamp.size() == 14 && dt.isValid())
                    utcToLocal(dt.date(), dt.time(), e);
            }
        }
        if (!haveType || !sizeOk || !e.date.isValid() || !acceptableName(e.name))
            continue;
        out << e;
    }
    return out;
}

QList<ListingEntry> parseUnixList(const QByteArray &text, const QDateTime &nowUtc)
{
    static const QRegularExpression re(QStringLiteral(
        R"(^([-dl])[-rwxsStTl]{9}\S*\s+\d+\s+\S+(?:\s+\S+)?\s+(\d+)\s+([A-Za-z]{3})\s+(\d{1,2})\s+(\d{1,2}:\d{2}|\d{4}) (.+)$)"));
    static const QStringList months = {"jan", "feb", "mar", "apr", "may", "jun",
                                       "jul", "aug", "sep", "oct", "nov", "dec"};
    QList<ListingEntry> out;
    const QDateTime now = nowUtc.toUTC();
    for (const QByteArray &line : listingLines(text)) {
        const auto m = re.match(nameFromBytes(line));
        if (!m.hasMatch())
            continue;
        const int month = int(months.indexOf(m.captured(3).toLower())) + 1;
        const int day = m.captured(4).toInt();
        if (month <= 0)
            continue;
        ListingEntry e;
        QString name = m.captured(6);
        if (m.captured(1) == u"l") {
            const qsizetype arrow = name.indexOf(QStringLiteral(" -> "));
            if (arrow >= 0)
                name.truncate(arrow);
        }
        e.name = name;
        bool sizeOk = false;
        e.size = m.captured(2).toLongLong(&sizeOk);
        if (m.captured(1) == u"d")
            e.attributes = QStringLiteral("D");
        const QString yearOrTime = m.captured(5);
        if (yearOrTime.contains(u':')) {
            const QTime t = QTime::fromString(yearOrTime, QStringLiteral("H:mm"));
            QDate d(now.date().year(), month, day);
            // Without a year the entry lies within the past year; a date ahead of today (with a day
            // of slack for clocks) belongs to the year before.
            if (d.isValid() && QDateTime(d, t, QTimeZone::utc()) > now.addDays(1))
                d = QDate(now.date().year() - 1, month, day);
            if (!d.isValid() || !t.isValid())
                continue;
            utcToLocal(d, t, e);
        } else {
            e.date = QDate(yearOrTime.toInt(), month, day);
            e.time = QStringLiteral("00:00:00");
        }
        if (!sizeOk || !e.date.isValid() || !acceptableName(e.name))
            continue;
        out << e;
    }
    return out;
}

QList<ListingEntry> listLocalFolder(const QString &folder, const QString &mask)
{
    QList<ListingEntry> out;
    QDir dir(folder);
    dir.setNameFilters({mask});
    dir.setFilter(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::System);
    dir.setSorting(QDir::Name);
    // Without QDir::CaseSensitive the mask matches without regard to case.
    for (const QFileInfo &fi : dir.entryInfoList()) {
        ListingEntry e;
        e.name = fi.fileName();
        e.size = fi.isDir() ? 0 : fi.size();
        const QDateTime m = fi.lastModified();
        e.date = m.date();
        e.time = timeText(m.time());
        if (fi.isDir())
            e.attributes = QStringLiteral("D");
        if (!fi.isWritable())
            e.attributes += u'R';
        if (e.attributes.isEmpty())
            e.attributes = QStringLiteral("A");
        out << e;
    }
    return out;
}

QList<ListRow> GETDIR_(const QList<ListingEntry> &listing, const QDateTime &now)
{
    std::optional<ListRow> parent;
    QList<ListRow> folders;
    QList<ListRow> files;
    for (const ListingEntry &e : listing) {
        if (e.isFolder() && e.name.startsWith(u'.')) {
            if (e.name.startsWith(QStringLiteral("..")))
                parent = ListRow{QStringLiteral("[..]"), std::nullopt, e.date, e.time, e.attributes};
            continue;
        }
        if (e.isFolder()) {
            const QString name = e.name.contains(u'[') ? e.name : u'[' + e.name + u']';
            folders << ListRow{name, std::nullopt, e.date, e.time, e.attributes};
        } else {
            files << ListRow{e.name, e.size, e.date, e.time, e.attributes};
        }
    }
    if (!parent)
        parent = ListRow{QStringLiteral("[..]"), std::nullopt, now.date(), timeText(now.time()), QStringLiteral("D")};
    return QList<ListRow>{*parent} + folders + files;
}

QList<ListRow> setupFileRows(const QList<ListRow> &rows, const QString &setupFile)
{
    QList<ListRow> out;
    for (const ListRow &r : rows) {
        if (r.name == setupFile)
            out << r;
    }
    return out;
}

qint64 GETSIZE_(const QList<ListingEntry> &listing, const QString &name)
{
    for (const ListingEntry &e : listing) {
        if (e.name == name)
            return e.size;
    }
    return 0;
}

qint64 expectedDownloadSize(const QList<ListingEntry> &listing, const QString &name)
{
    for (const ListingEntry &e : listing) {
        if (e.name == name)
            return e.sizeKnown ? e.size : -1;
    }
    return 0;
}

QPair<QString, QString> splitListName(const QString &name)
{
    const qsizetype dot = name.indexOf(u'.');
    if (name.contains(u'[') || dot < 0)
        return {name, QString()};
    return {name.left(dot), name.mid(dot + 1)};
}

namespace {

// -1, 0 or 1 for one key.
template<typename T>
int order(const T &a, const T &b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

int compareRows(ListColumn column, const ListRow &a, const ListRow &b)
{
    switch (column) {
    case ListColumn::Name:
        if (int c = order(a.name, b.name))
            return c;
        return order(splitListName(a.name).second, splitListName(b.name).second);
    case ListColumn::Ext:
        if (int c = order(splitListName(a.name).second, splitListName(b.name).second))
            return c;
        return order(a.name, b.name);
    case ListColumn::Size:
        return order(a.size.value_or(0), b.size.value_or(0));
    case ListColumn::Date:
    case ListColumn::Time:
        if (int c = order(a.date, b.date))
            return c;
        return order(a.time, b.time);
    case ListColumn::Attr:
        return 0;
    }
    return 0;
}

} // namespace

bool rowBefore(ListColumn column, bool ascending, const ListRow &a, const ListRow &b)
{
    const int c = compareRows(column, a, b);
    return ascending ? c < 0 : c > 0;
}

UpToDate GUNCELMI(const UpToDateInput &in)
{
    if (!in.localListHasRows)
        return {};
    const auto find = [](const QList<ListingEntry> &list, const QString &name) -> const ListingEntry * {
        for (const ListingEntry &e : list) {
            if (e.name == name)
                return &e;
        }
        return nullptr;
    };
    // Without a selected remote row there is nothing to compare with.
    if (!in.remoteRow)
        return {};
    const ListingEntry *program = find(in.programFolderExes, in.progFile);
    if (program && in.remoteRow->name == in.setupFile && program->date >= in.remoteRow->date)
        return {true, QString()};
    const ListingEntry *setup = find(in.setupFolderExes, in.setupFile);
    if (setup && setup->date >= in.remoteRow->date)
        return {true, QDir::toNativeSeparators(QDir(in.setupFolder).filePath(in.setupFile))
                          + QStringLiteral(" kur dosyası güncel...")};
    return {};
}

} // namespace vexo

namespace vexo {
QString ADJUSTNAME_(const QString &name, int limit)
{
    if (name.size() <= limit)
        return name;
    return QStringLiteral("...") + name.right(limit + 1);
}
} // namespace vexo
