#include "private_home.h"

#include <QByteArray>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace vexo::test {

namespace {

QByteArray g_home;
pid_t g_maker = 0;

void removeHome()
{
    // Forked children that exit normally must not take their parent's folder with them.
    if (::getpid() != g_maker)
        return;
    std::error_code ec;
    std::filesystem::remove_all(g_home.constData(), ec);
}

} // namespace

QString usePrivateHome()
{
    if (g_home.isEmpty()) {
        const char *tmp = std::getenv("TMPDIR");
        QByteArray pattern = QByteArray(tmp && *tmp ? tmp : "/tmp") + "/vexo-test-home-XXXXXX";
        if (!::mkdtemp(pattern.data())) {
            std::perror("vexo tests: no private home folder");
            std::abort();
        }
        g_home = pattern;
        g_maker = ::getpid();
        std::atexit(removeHome);
        qputenv("HOME", g_home);
        qputenv("XDG_CONFIG_HOME", g_home + "/.config");
        qputenv("XDG_DATA_HOME", g_home + "/.local/share");
        qputenv("XDG_CACHE_HOME", g_home + "/.cache");
        qputenv("XDG_RUNTIME_DIR", g_home); // made 0700 by mkdtemp
    }
    return QString::fromLocal8Bit(g_home);
}

} // namespace vexo::test
