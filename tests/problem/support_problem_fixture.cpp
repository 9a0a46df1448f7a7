#include "problem_fixture.h"

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
