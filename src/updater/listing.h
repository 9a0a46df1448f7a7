#pragma once

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

namespace vexo {

// One entry of a folder listing, local or remote. Dates and times are local.
struct ListingEntry
{
    QString name;
    qint64 size = 0;
    QDate date;
    QString time;       // "hh:mm:ss"
    QString attributes; // "D" marks a folder
    bool sizeKnown = true; // false where the server named no size (size is then 0)
    bool isFolder() const { return attributes.contains(u'D'); }
};

// A row of a file list: folders carry "<Dir>" instead of a size.
struct ListRow
{
    QString name;
    std::optional<qint64> size; // empty for "<Dir>"
    QDate date;
    QString time;
    QString attributes;
    QString sizeText() const { return size ? QString::number(*size) : QStringLiteral("<Dir>"); }
    bool operator==(const ListRow &) const = default;
};

// Machine listing lines ("fact=value;... name"). Unknown or broken lines are skipped; the
// times, given in UTC, become local.
QList<ListingEntry> parseMlsd(const QByteArray &text);
// Unix "ls -l" lines. Times without a year are taken from the last twelve months before nowUtc; the
// listed times are taken as UTC and become local. Lines that are not entries ("total 8") are skipped.
QList<ListingEntry> parseUnixList(const QByteArray &text, const QDateTime &nowUtc);
// A UTC date and time as local date and "hh:mm:ss".
void utcToLocal(const QDate &date, const QTime &time, ListingEntry &entry);

// A local folder's entries matching the mask (without regard to case), folders included.
QList<ListingEntry> listLocalFolder(const QString &folder, const QString &mask);

// The rows of a listing: the parent row "[..]", then the folders "[name]", then the files, each group
// in listing order. Without ".." in the listing the parent row carries `now`.
QList<ListRow> GETDIR_(const QList<ListingEntry> &listing, const QDateTime &now);
// Only the rows named exactly `setupFile`.
QList<ListRow> setupFileRows(const QList<ListRow> &rows, const QString &setupFile);
// The size of the entry named exactly `name`; 0 when there is none.
qint64 GETSIZE_(const QList<ListingEntry> &listing, const QString &name);
// The size a download of the entry named exactly `name` expects: its size, or -1 (kUnknownSize)
// where the listing named none; 0 when there is no such entry.
qint64 expectedDownloadSize(const QList<ListingEntry> &listing, const QString &name);

// The columns a file list sorts by.
enum class ListColumn { Name, Ext, Size, Date, Time, Attr };
// The name split at its first ".": {shown name, extension}; a bracketed name is not split.
QPair<QString, QString> splitListName(const QString &name);
// A strict weak order of rows for one column and direction: true when a goes before b.
bool rowBefore(ListColumn column, bool ascending, const ListRow &a, const ListRow &b);

// The up-to-date test before a download.
struct UpToDateInput
{
    bool localListHasRows = false;
    QList<ListingEntry> programFolderExes; // the program folder's "*.EXE"
    QString progFile;
    std::optional<ListRow> remoteRow; // the remote list's selected row
    QList<ListingEntry> setupFolderExes;  // the download folder's "*.EXE"
    QString setupFile;
    QString setupFolder;                  // as shown in the message
};
// Up to date (no download needed) with the message to show, empty for the plain one.
struct UpToDate
{
    bool upToDate = false;
    QString message;
};
UpToDate GUNCELMI(const UpToDateInput &in);

} // namespace vexo

namespace vexo {
// A path shortened for a field: up to `limit` characters unchanged, a longer one as "..." and its
// last limit + 1 characters.
QString ADJUSTNAME_(const QString &name, int limit);
} // namespace vexo
