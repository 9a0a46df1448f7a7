#include "problem/problem_file.h"

#include "platform/dbf_filespec.h"
#include "platform/dbf_header.h"
#include "problem/dbserverr.h"
#include "problem/file_names.h"
#include "problem/messages.h"
#include "problem/open_problem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <sys/statvfs.h>
#include <unistd.h>

namespace vexo {

DbfStructure DATAFILESTRUCT()
{
    static const DbfStructure fields = {
        {QStringLiteral("YMADI"), u'C', 25, 0},    {QStringLiteral("YMFIAT"), u'C', 11, 0},
        {QStringLiteral("YMSABIT"), u'C', 12, 0},  {QStringLiteral("YMALTLIM"), u'C', 12, 0},
        {QStringLiteral("YMUSTLIM"), u'C', 12, 0}, {QStringLiteral("YMKCOZUM"), u'C', 12, 0},
        {QStringLiteral("YMSTOKVY"), u'L', 1, 0},  {QStringLiteral("BMADI"), u'C', 15, 0},
        {QStringLiteral("BMBIRIM"), u'C', 11, 0},  {QStringLiteral("BMSABIT"), u'C', 11, 0},
        {QStringLiteral("BMALTLIM"), u'C', 11, 0}, {QStringLiteral("BMUSTLIM"), u'C', 11, 0},
        {QStringLiteral("BMKCOZUM"), u'C', 11, 0}, {QStringLiteral("BMADIA"), u'C', 15, 0},
        {QStringLiteral("BMADIB"), u'C', 15, 0},   {QStringLiteral("OSABIT"), u'C', 11, 0},
        {QStringLiteral("OALTLIM"), u'C', 11, 0},  {QStringLiteral("OUSTLIM"), u'C', 11, 0},
        {QStringLiteral("OKCOZUM"), u'C', 11, 0},  {QStringLiteral("GADI"), u'C', 15, 0},
        {QStringLiteral("GSABIT"), u'C', 11, 0},   {QStringLiteral("GALTLIM"), u'C', 11, 0},
        {QStringLiteral("GUSTLIM"), u'C', 11, 0},  {QStringLiteral("GKCOZUM"), u'C', 11, 0},
        {QStringLiteral("YMBMAT"), u'C', kYmbmatWidth, 0},
    };
    return fields;
}

QStringList decodeYmbmat(const QString &text)
{
    QStringList cells;
    qsizetype from = 0;
    for (;;) {
        const qsizetype comma = text.indexOf(u',', from);
        if (comma < 0)
            break;
        cells.append(text.mid(from, comma - from));
        from = comma + 1;
    }
    return cells;
}

QString encodeYmbmat(const QStringList &cells, qsizetype count)
{
    QString out;
    for (qsizetype i = 0; i < count; ++i) {
        out += cells.value(i);
        out += u',';
    }
    return out;
}

bool isMarker(const QString &fieldText, const QString &marker)
{
    return fieldText.trimmed() == marker;
}

QString problemLayoutProblem(const DbfStructure &fields)
{
    static const QStringList optional = {QStringLiteral("YMSTOKVY"), QStringLiteral("YMKCOZUM"),
                                         QStringLiteral("BMKCOZUM"), QStringLiteral("OKCOZUM"),
                                         QStringLiteral("GKCOZUM")};
    const DbfStructure layout = DATAFILESTRUCT();
    const bool older = fields.size() < layout.size();
    for (const DbfField &f : fields) {
        const auto known = std::find_if(layout.cbegin(), layout.cend(), [&](const DbfField &l) {
            return l.name.compare(f.name, Qt::CaseInsensitive) == 0;
        });
        if (known == layout.cend())
            return QStringLiteral("%1 alanı bir problem dosyasında bulunmaz").arg(f.name);
        // Older files may hold shorter matrix rows; the loader refuses one whose rows were cut.
        const bool widthFits = f.width == known->width || (older && known->name == u"YMBMAT" && f.width < known->width);
        if (f.type != known->type || !widthFits)
            return QStringLiteral("%1 alanı %2 %3 olmalı, dosyada %4 %5")
                .arg(known->name, QString(known->type))
                .arg(known->width)
                .arg(QString(f.type))
                .arg(f.width);
    }
    for (const DbfField &l : layout) {
        const bool present = std::any_of(fields.cbegin(), fields.cend(), [&](const DbfField &f) {
            return l.name.compare(f.name, Qt::CaseInsensitive) == 0;
        });
        if (!present && !optional.contains(l.name))
            return QStringLiteral("%1 alanı yok").arg(l.name);
    }
    return {};
}

QString diskFullText(const QString &folder, qint64 needed)
{
    struct statvfs disk = {};
    if (::statvfs(QFile::encodeName(folder).constData(), &disk) != 0)
        return {};
    // The superuser may also use the blocks kept back for it.
    const quint64 blocks = ::geteuid() == 0 ? disk.f_bfree : disk.f_bavail;
    if (qint64(blocks * disk.f_frsize) >= std::max<qint64>(needed, 1))
        return {};
    return QStringLiteral("Disk dolu; %1 klasörünün bulunduğu diskte yeterli boş yer yok.")
        .arg(QDir::toNativeSeparators(folder));
}

bool DATAFILECREATE(QWidget *owner, const QString &path)
{
    DbfFileSpec spec(path);
    if (!spec.create(DATAFILESTRUCT())) {
        const QString full = diskFullText(QFileInfo(path).absolutePath(), qint64(DbfHeader::forStructure(DATAFILESTRUCT()).bytes().size()) + 1);
        ERRMESS(owner, QString(),
                GETFILENAME(path) + QStringLiteral(" dosyası oluşturulamadı...")
                    + (full.isEmpty() ? QString() : QStringLiteral(" : ") + full));
        return false;
    }
    return true;
}

bool DATAFOPEN(QWidget *owner, const QString &path)
{
    OpenProblem &p = openProblem();
    if (p.OPROBDBF) {
        p.OPROBDBF->close();
        p.OPROBDBF.reset();
    }
    auto table = std::make_unique<DBSERVERR>(path, true, false, QStringLiteral("DBFCDX"));
    // A file this user may not write (a read-only medium or share) is opened read-only; its save says
    // why it cannot write and offers another name.
    if (table->status() && table->status()->code == DbfErrorCode::Access) {
        auto readOnly = std::make_unique<DBSERVERR>(path, true, true, QStringLiteral("DBFCDX"));
        if (!readOnly->status())
            table = std::move(readOnly);
        else
            readOnly->close();
    }
    QString errorText;
    if (table->status())
        errorText = table->status()->text();
    else if (const QString layout = problemLayoutProblem(table->dbStruct()); !layout.isEmpty())
        errorText = QStringLiteral("Bir problem dosyası değil: ") + layout;
    if (!errorText.isEmpty()) {
        table->close();
        ERRMESS(owner, QString(),
                GETFILENAME(path) + QStringLiteral(" veri dosyası açılamadı! : ") + errorText);
        return false;
    }
    table->goTop();
    p.OPROBDBF = std::move(table);
    return true;
}

} // namespace vexo
