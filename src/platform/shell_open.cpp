#include "platform/shell_open.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace vexo {

namespace {

ShellOpener *g_opener = nullptr;

} // namespace

bool ShellOpener::open(QWidget *, const QString &target)
{
    const QString text = target.trimmed();
    if (text.isEmpty())
        return false;
    // An existing file is opened as a file, even when its name looks like an address.
    const QUrl url = QFileInfo::exists(text) ? QUrl::fromLocalFile(QFileInfo(text).absoluteFilePath())
                                             : QUrl::fromUserInput(text);
    return url.isValid() && QDesktopServices::openUrl(url);
}

ShellOpener &shellOpener()
{
    static ShellOpener desktop;
    return g_opener ? *g_opener : desktop;
}

void setShellOpener(ShellOpener *opener)
{
    g_opener = opener;
}

} // namespace vexo
