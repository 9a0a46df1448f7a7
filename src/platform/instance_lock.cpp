#include "platform/instance_lock.h"

#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

#include <map>
#include <memory>

namespace vexo {

namespace {

QString lockFolder()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    return dir;
}

QString safeName(const QString &name)
{
    QString out;
    for (QChar c : name)
        out.append(c.isLetterOrNumber() || c == u'_' || c == u'-' ? c : QChar(u'_'));
    return out;
}

std::map<QString, std::unique_ptr<QLockFile>> &heldNames()
{
    static std::map<QString, std::unique_ptr<QLockFile>> held;
    return held;
}

} // namespace

void releaseHeldNames()
{
    heldNames().clear();
}

bool isNameHeld(const QString &name)
{
    auto &held = heldNames();
    if (held.count(name))
        return true;
    auto lock = std::make_unique<QLockFile>(lockFolder() + QStringLiteral("/vexo-") + safeName(name)
                                            + QStringLiteral(".lock"));
    // A lock left by a crashed process is taken over; a live one is never stale.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        return true;
    held.emplace(name, std::move(lock));
    return false;
}

} // namespace vexo
