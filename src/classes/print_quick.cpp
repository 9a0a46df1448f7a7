#include "classes/print_quick.h"

#include "classes/usual_text.h"
#include "platform/atomic_file.h"
#include "platform/cp1254_codec.h"

#include <QFileInfo>

namespace vexo {

PRINTQUICK::PRINTQUICK()
{
    if (m_dir.isValid()) {
        m_spool.setFileName(m_dir.filePath(QStringLiteral("Printer.Buf")));
        m_failed = !m_spool.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered);
    } else {
        m_failed = true;
    }
}

void PRINTQUICK::put(const QByteArray &bytes)
{
    if (m_spool.isOpen() && m_spool.write(bytes) != bytes.size())
        m_failed = true;
}

PRINTQUICK &PRINTQUICK::QQOUT(const QVariant &value, bool newLine)
{
    const QString text = value.typeId() == QMetaType::QString ? value.toString() : usualText(value);
    put(QByteArray(m_margin, ' ') + Cp1254Codec::encode(text) + (newLine ? "\r\n" : ""));
    return *this;
}

PRINTQUICK &PRINTQUICK::SKIPLINES(int count)
{
    return QQOUT(QStringLiteral("\r\n").repeated(qMax(0, count)));
}

PRINTQUICK &PRINTQUICK::EJECTPAGE(bool carriageReturn)
{
    put(carriageReturn ? QByteArray("\f\r") : QByteArray("\f"));
    return *this;
}

PRINTQUICK &PRINTQUICK::RESETPRINTER()
{
    put(QByteArray("\x1B" "E"));
    return *this;
}

namespace {

const QString kDeviceFolder = QStringLiteral("/dev");

} // namespace

QString PRINTQUICK::portPath(const QString &port)
{
    static const QString lpt[] = {QStringLiteral("LPT1"), QStringLiteral("LPT2"), QStringLiteral("LPT3")};
    for (int i = 0; i < 3; ++i)
        if (port.compare(lpt[i], Qt::CaseInsensitive) == 0)
            return kDeviceFolder + QStringLiteral("/lp%1").arg(i);
    return port;
}

bool PRINTQUICK::isDevicePath(const QString &target)
{
    const QFileInfo info(target);
    return info.absolutePath() == kDeviceFolder || (info.exists() && !info.isFile());
}

bool PRINTQUICK::PRINTIT(const QString &port, bool eject)
{
    if (!m_spool.isOpen())
        return false;
    if (eject)
        EJECTPAGE();
    m_spool.close();
    bool ok = !m_failed && m_spool.open(QIODevice::ReadOnly);
    const QByteArray bytes = ok ? m_spool.readAll() : QByteArray();
    m_spool.close();
    const QString target = portPath(port);
    if (ok && isDevicePath(target)) {
        // A device is written in place and never made: a missing printer is an error, not a new file.
        QFile device(target);
        ok = !QFileInfo(target).isFile()
             && device.open(QIODevice::WriteOnly | QIODevice::ExistingOnly | QIODevice::Unbuffered)
             && device.write(bytes) == bytes.size();
    } else if (ok) {
        ok = writeFileAtomically(target, bytes);
    }
    m_dir.remove();
    return ok;
}

} // namespace vexo
