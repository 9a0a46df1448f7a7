#include "platform/dbf_probe.h"

#include "platform/dbf_index.h"
#include "platform/dbf_table.h"

#include <sys/mman.h>
#include <unistd.h>

namespace vexo {

qint64 probeTableBytes(const QByteArray &bytes)
{
    DbfIndex::parse(bytes, nullptr);
    const int fd = ::memfd_create("dbf-probe", MFD_CLOEXEC);
    if (fd < 0)
        return -1;
    qint64 done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n <= 0) {
            ::close(fd);
            return -1;
        }
        done += n;
    }
    qint64 records = -1;
    {
        DbfTable table(QStringLiteral("/proc/self/fd/%1").arg(fd), true, true);
        if (!table.status()) {
            records = 0;
            const bool before = DbfTable::setDeleted(false);
            for (const bool hide : {false, true}) {
                DbfTable::setDeleted(hide);
                for (table.goTop(); !table.eof() && !table.status(); table.skip(1)) {
                    for (int i = 1; i <= table.fCount(); ++i)
                        table.fieldGet(i);
                    table.deleted();
                    ++records;
                }
            }
            table.goBottom();
            table.skip(-1);
            table.goTo(table.lastRec());
            DbfTable::setDeleted(before);
        }
    }
    ::close(fd);
    return records;
}

} // namespace vexo
