#pragma once

#include <QString>
#include <QtGlobal>

#include <functional>

namespace vexo::test {

// Runs the work in a forked child of the test process, so that a real fault can be put on the child
// alone. The answer is the child's exit status: 0 when the work answered true, 1 when it answered
// false, and -1 when the child died (also after two minutes without an answer) or could not be
// started.
int runInChild(const std::function<bool()> &work);

// The same with a limit on the size of any file the child writes (RLIMIT_FSIZE, with SIGXFSZ
// ignored so that a write past the limit fails with EFBIG as a full disk fails with ENOSPC).
int runWithFileSizeLimit(qint64 limitBytes, const std::function<bool()> &work);

// The same on a full disk: the child mounts a tmpfs of `bytes` bytes in a mount namespace of its own
// (which needs the rights to do so) and runs the work with that folder. The answer is 77 when the
// machine does not allow the mount.
constexpr int kNoSmallDisk = 77;
int runOnSmallDisk(qint64 bytes, const std::function<bool(const QString &folder)> &work);

// Starts a child without waiting for it; waitChild then gives its exit status as above.
int startChild(const std::function<bool()> &work);
int waitChild(int pid);

} // namespace vexo::test
