#include "save_fixture.h"

#include "problem_fixture.h"

#include "platform/dbf_table.h"
#include "problem/problem_file.h"
#include "problem/problem_loader.h"
#include "problem/problem_saver.h"

#include <QCryptographicHash>
#include <QFile>

#include <fcntl.h>
#include <unistd.h>

namespace vexo::test {

namespace {

const QString B11(11, u' ');

QString num(const QString &text)
{
    return text.rightJustified(11, u' ');
}

} // namespace

void setProblem(int ingredients, const QStringList &nutrients, const QStringList &groups, const QString &prefix,
                const QString &cell)
{
    OpenProblem &p = openProblem();
    p.AYMLIST.clear();
    p.AYMADLARI.clear();
    p.AYMSTOK.clear();
    p.ABMLIST.clear();
    p.ABMADLARI.clear();
    p.ABMBIRIMLERI.clear();
    p.AYMGLIST.clear();
    p.AYMGADLARI.clear();
    p.ABMOLIST.clear();
    for (int i = 1; i <= ingredients; ++i) {
        p.AYMADLARI << prefix + QString::number(i);
        p.AYMLIST << Row{p.AYMADLARI.last().leftJustified(25), num("10.000"), B11, B11, B11, B11, B11, B11, B11, B11, B11};
        p.AYMSTOK << true;
    }
    for (const QString &n : nutrients) {
        p.ABMADLARI << n;
        p.ABMBIRIMLERI << QStringLiteral("%");
        p.ABMLIST << Row{n.leftJustified(15), QStringLiteral("%").leftJustified(11), B11, num("1.0000"), B11,
                         B11, B11, B11, B11, B11, B11, B11};
    }
    for (const QString &g : groups) {
        p.AYMGADLARI << g;
        p.AYMGLIST << Row{g.leftJustified(25), B11, B11, B11, B11, B11, B11, B11, B11, B11};
    }
    p.AAMAT = RowList(nutrients.size(), Row(ingredients, num(cell)));
    p.AGMAT = RowList(groups.size(), Row(ingredients, QStringLiteral("1.0")));
    p.setAllDirty(true);
}

void setProblem(int ingredients, const QString &prefix)
{
    setProblem(ingredients, {QStringLiteral("HP"), QStringLiteral("KM")}, {QStringLiteral("TAHIL")}, prefix);
}

bool loadProblem(const QString &path)
{
    openProblem().reset();
    return DATAFOPEN(nullptr, path) && AKTPRODIZOLUSTUR(nullptr);
}

bool writeProblem(const QString &path, int ingredients, const QString &prefix)
{
    openProblem().reset();
    if (!DATAFILECREATE(nullptr, path) || !DATAFOPEN(nullptr, path))
        return false;
    setProblem(ingredients, prefix);
    const bool saved = PROBDBFUPDATE();
    openProblem().reset();
    return saved;
}

bool allDirty(const OpenProblem &p)
{
    return p.LYMDEG && p.LYMSTOKDEG && p.LBMDEG && p.LBMODEG && p.LYMGDEG && p.LAMATDEG && p.LPRMDEG;
}

void changeOnePrice(const QString &price)
{
    OpenProblem &p = openProblem();
    p.setAllDirty(false);
    p.AYMLIST[0][YMPRICE] = num(price);
    p.LYMDEG = true;
}

QByteArray checksum(const QString &path)
{
    return QCryptographicHash::hash(fileBytes(path), QCryptographicHash::Sha256).toHex();
}

QString contentsOf(const QString &path)
{
    DbfTable t(path, true, true);
    if (t.status())
        return QStringLiteral("?");
    int rows = 0;
    QString first;
    for (t.goTop(); !t.eof(); t.skip()) {
        const QString name = t.fieldGet(QStringLiteral("YMADI")).toString().trimmed();
        if (!name.isEmpty() && rows++ == 0)
            first = name;
    }
    return QStringLiteral("%1x%2").arg(first).arg(rows);
}

int holdSaveByte(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CLOEXEC);
    struct flock fl = {};
    fl.l_type = F_WRLCK;
    fl.l_whence = SEEK_SET;
    fl.l_start = DbfTable::kSaveLockOffset;
    fl.l_len = 1;
    if (fd >= 0 && ::fcntl(fd, F_OFD_SETLK, &fl) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace vexo::test
