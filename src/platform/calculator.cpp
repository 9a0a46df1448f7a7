#include "platform/calculator.h"

#include <QProcess>
#include <QStandardPaths>

namespace vexo {

QString launchCalculator()
{
    static const char *const programs[] = {"gnome-calculator", "galculator", "kcalc", "mate-calc", "qalculate-gtk",
                                           "xcalc"};
    for (const char *name : programs) {
        const QString path = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (path.isEmpty())
            continue;
        return QProcess::startDetached(path, {}) ? path : QString();
    }
    return {};
}

} // namespace vexo
