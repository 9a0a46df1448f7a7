#include "problem/dbserverr.h"

#include "platform/clock.h"
#include "platform/message_sink.h"

namespace vexo {

DBSERVERR::DBSERVERR(const QString &file, bool shared, bool readOnly, const QString &driver)
    : DbfTable(file, shared, readOnly, driver)
{
}

bool DBSERVERR::baseAppend(bool releaseLocks)
{
    Q_UNUSED(releaseLocks); // the append lock is only held while the record is added
    return appendRecord();
}

QString appendFailureText(const DbfTable &table)
{
    const QString detail = table.status()
                               ? QStringLiteral("Hata: ") + table.status()->caption + QStringLiteral("\r\n")
                                     + table.status()->description
                               : QStringLiteral("?");
    return QStringLiteral("Kayıt Ekleme:\r\n\r\n") + detail;
}

bool DBSERVERR::APPEND(bool releaseLocks)
{
    // A monotonic deadline, so that a change of the time of day (midnight, a clock adjustment) can
    // neither end the retries early nor make them endless.
    const qint64 deadline = clock().monotonicMs() + kTimeoutMs;
    for (;;) {
        if (baseAppend(releaseLocks))
            return true;
        // Only a lock that another program holds clears by waiting; a full disk or a failing device
        // does not, and the caller tells it at once with its own message.
        if (status() && status()->code != DbfErrorCode::Locked)
            return false;
        if (clock().monotonicMs() <= deadline) {
            clock().sleepMs(kPauseMs);
            continue;
        }
        const MessageAnswer answer = showMessage(nullptr, label(), appendFailureText(*this), MB_RETRYCANCEL | MB_ICONSTOP);
        if (answer != MessageAnswer::Retry)
            return false;
        clock().sleepMs(kPauseMs);
    }
}

} // namespace vexo
