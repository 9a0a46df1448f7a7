#include "problem_fixture.h"

#include "platform/cp1254_codec.h"
#include "platform/dbf_filespec.h"
#include "problem/app_globals.h"
#include "problem/dbserverr.h"
#include "problem/open_problem.h"
#include "problem/problem_file.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace vexo::test {

void writeTable(const QString &path, const DbfStructure &fields, const QList<Record> &records)
{
    QFile::remove(path);
    DbfFileSpec spec(path);
    ASSERT_TRUE(spec.create(fields)) << path.toStdString();
    DBSERVERR table(path, false, false);
    ASSERT_FALSE(table.status().has_value());
    for (const Record &r : records) {
        ASSERT_TRUE(table.append());
        for (auto it = r.cbegin(); it != r.cend(); ++it)
            ASSERT_TRUE(table.fieldPut(it.key(), it.value())) << it.key().toStdString();
    }
    table.commit();
    table.close();
}

void writeProblemFile(const QString &path, const QList<Record> &records)
{
    writeTable(path, DATAFILESTRUCT(), records);
}

QByteArray olderLayoutBytes(const QList<Record> &records, int ymbmatWidth)
{
    const QList<std::pair<const char *, int>> fields = {
        {"YMADI", 25},  {"YMFIAT", 11}, {"YMSABIT", 12},  {"YMALTLIM", 12}, {"YMUSTLIM", 12},
        {"BMADI", 15},  {"BMBIRIM", 11}, {"BMSABIT", 11}, {"BMALTLIM", 11}, {"BMUSTLIM", 11},
        {"BMADIA", 15}, {"BMADIB", 15}, {"OSABIT", 11},   {"OALTLIM", 11},  {"OUSTLIM", 11},
        {"GADI", 15},   {"GSABIT", 11}, {"GALTLIM", 11},  {"GUSTLIM", 11},  {"YMBMAT", ymbmatWidth}};
    int recordLength = 1;
    for (const auto &f : fields)
        recordLength += f.second;
    const int headerLength = 32 + 32 * int(fields.size()) + 1;
    auto le16 = [](QByteArray &b, int v) { b += char(v & 0xFF); b += char((v >> 8) & 0xFF); };

    QByteArray out;
    out += char(0x03);                               // dBASE III, no memo
    out += char(126); out += char(12); out += char(10); // last update 2026-12-10
    const quint32 count = quint32(records.size());
    for (int i = 0; i < 4; ++i)
        out += char((count >> (8 * i)) & 0xFF);
    le16(out, headerLength);
    le16(out, recordLength);
    out += QByteArray(17, '\0');
    out += char(0xCA);                               // Windows-1254
    out += QByteArray(2, '\0');
    for (const auto &[name, width] : fields) {
        QByteArray d(32, '\0');
        const QByteArray n(name);
        std::copy(n.begin(), n.end(), d.begin());
        d[11] = 'C';
        d[16] = char(width & 0xFF);
        d[17] = char((width >> 8) & 0xFF);
        out += d;
    }
    out += char(0x0D);
    for (const Record &r : records) {
        out += ' ';
        for (const auto &[name, width] : fields) {
            QByteArray value = Cp1254Codec::encode(r.value(QString::fromLatin1(name)).toString()).left(width);
            out += value + QByteArray(width - value.size(), ' ');
        }
    }
    out += char(0x1A);
    return out;
}

QList<Record> readTable(const QString &path)
{
    QList<Record> out;
    DBSERVERR table(path, true, true);
    if (table.status())
        return out;
    for (table.goTop(); !table.eof(); table.skip()) {
        Record r;
        for (int i = 1; i <= table.fCount(); ++i)
            r.insert(table.fieldName(i), table.fieldGet(i));
        out.append(r);
    }
    table.close();
    return out;
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

ProblemEnvironment::ProblemEnvironment()
{
    openProblem().reset();
    openProblem().UPANODEGER.reset();
    AppGlobals &g = appGlobals();
    g.CVERIKOK = m_dir.path();
    g.CVERIDIZIN = m_dir.path();
    g.CPROGDIZIN = m_dir.path();
    g.LRMDENOKU = false;
}

ProblemEnvironment::~ProblemEnvironment()
{
    openProblem().reset();
    appGlobals().LRMDENOKU = false;
}

QString ProblemEnvironment::path(const QString &name) const
{
    return QDir(m_dir.path()).filePath(name);
}

} // namespace vexo::test
