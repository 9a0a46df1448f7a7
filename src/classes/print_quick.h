#pragma once

#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <QVariant>

namespace vexo {

// Plain text for a line printer, without dialogs: lines, page ejects and printer resets go into a
// spool file, and PRINTIT sends the whole spool to a printer port.
//
// Every job spools into its own "Printer.Buf" in a temporary folder of its own, so two jobs never mix;
// the folder goes when the job is printed or the object is destroyed.
class PRINTQUICK
{
public:
    static constexpr quint16 kDefaultMargin = 5;

    PRINTQUICK();

    // Margin blanks, then the value (a text unchanged, anything else in its text form), then CR LF
    // when `newLine`.
    PRINTQUICK &QQOUT(const QVariant &value, bool newLine = false);
    PRINTQUICK &QOUT(const QVariant &value) { return QQOUT(value, true); }
    PRINTQUICK &SKIPLINES(int count);
    PRINTQUICK &EJECTPAGE(bool carriageReturn = true);
    PRINTQUICK &RESETPRINTER();
    void MARGIN(int blanks) { m_margin = quint16(blanks); }
    // Ends the job: the page eject when asked, then the spool copied to the port. "LPT1" to "LPT3"
    // are the first three line-printer devices. A device (a name in /dev, or any existing file that
    // is not a regular one) is written in place and never created, so a missing one fails; any other
    // port is a file path, replaced whole. False when the spool or the port could not be written.
    bool PRINTIT(const QString &port = QStringLiteral("LPT1"), bool eject = true);

    QString spoolPath() const { return m_spool.fileName(); }
    static QString portPath(const QString &port);
    static bool isDevicePath(const QString &target);

private:
    void put(const QByteArray &bytes);

    QTemporaryDir m_dir;
    QFile m_spool;
    quint16 m_margin = kDefaultMargin;
    bool m_failed = false;
};

} // namespace vexo
