#pragma once

#include <QString>

class QWidget;

namespace vexo {

// Hands a target (a web address, a mail address, a file) to the desktop to open with whatever the
// user has chosen for it. It passes through one seam like the message boxes, so that tests record
// what would have been opened. The answer is the desktop's; callers may ignore it.
class ShellOpener
{
public:
    virtual ~ShellOpener() = default;
    virtual bool open(QWidget *owner, const QString &target);
};

ShellOpener &shellOpener();
// Installs an opener (not owned); nullptr puts the desktop's back.
void setShellOpener(ShellOpener *opener);

} // namespace vexo
