#pragma once

#include "platform/dbf_table.h"

#include <QString>

namespace vexo {

// The table class every table of the program is opened with. Opening is the table server's; an append
// that a lock held elsewhere refuses is retried silently for five seconds (100 ms apart, on the
// monotonic clock) and then offered to the user with Retry and Cancel. Any other failure (a full
// disk, a write error) answers false at once, without a box, for the caller to tell.
class DBSERVERR : public DbfTable
{
public:
    static constexpr int kTimeoutMs = 5000;
    static constexpr int kPauseMs = 100;

    DBSERVERR(const QString &file, bool shared, bool readOnly, const QString &driver = QStringLiteral("DBFCDX"));

    // True when a blank record was added and made current; false when the user gave up or the append
    // failed for a reason that waiting cannot clear (the status says which).
    bool APPEND(bool releaseLocks = true);
    bool append() override { return APPEND(true); }

protected:
    // One attempt of the table server's own append.
    virtual bool baseAppend(bool releaseLocks);
};

// The text of the Retry/Cancel box for the table's present status.
QString appendFailureText(const DbfTable &table);

} // namespace vexo
