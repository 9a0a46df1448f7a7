#include "child_process.h"

#include <QByteArray>

#include <csignal>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vexo::test {

int startChild(const std::function<bool()> &work)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::alarm(120); // a child that hangs (a box nobody answers) dies rather than stall the run
        // _exit: the child must not run the test program's exit handlers or flush its buffers twice.
        const bool ok = work();
        ::_exit(ok ? 0 : 1);
    }
    return int(pid);
}

int waitChild(int pid)
{
    if (pid < 0)
        return -1;
    int status = 0;
    if (::waitpid(pid_t(pid), &status, 0) != pid_t(pid) || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

int runInChild(const std::function<bool()> &work)
{
    return waitChild(startChild(work));
}

int runWithFileSizeLimit(qint64 limitBytes, const std::function<bool()> &work)
{
    return runInChild([&] {
        ::signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit = {};
        limit.rlim_cur = rlim_t(limitBytes);
        limit.rlim_max = rlim_t(limitBytes);
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
            ::_exit(2);
        return work();
    });
}

int runOnSmallDisk(qint64 bytes, const std::function<bool(const QString &folder)> &work)
{
    return runInChild([&] {
        char folder[] = "/tmp/vexo-small-disk-XXXXXX";
        // The mount lives in this child's own namespace and goes with it.
        if (::unshare(CLONE_NEWNS) != 0 || ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0
            || !::mkdtemp(folder))
            ::_exit(kNoSmallDisk);
        const QByteArray options = "size=" + QByteArray::number(bytes);
        if (::mount("tmpfs", folder, "tmpfs", 0, options.constData()) != 0) {
            ::rmdir(folder);
            ::_exit(kNoSmallDisk);
        }
        const bool ok = work(QString::fromLocal8Bit(folder));
        ::umount(folder);
        ::rmdir(folder);
        return ok;
    });
}

} // namespace vexo::test
