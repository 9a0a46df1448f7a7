#pragma once

#include "platform/dbf_filespec.h"

#include <QByteArray>
#include <QString>

namespace vexo {

// The runtime's open modes: access in the low bits, sharing in 0x10..0x40.
enum : unsigned {
    FO_READ = 0x00,
    FO_WRITE = 0x01,
    FO_READWRITE = 0x02,
    FO_COMPAT = 0x00,
    FO_EXCLUSIVE = 0x10,
    FO_DENYWRITE = 0x20,
    FO_DENYREAD = 0x30,
    FO_DENYNONE = 0x40,
    FO_SHARED = 0x40,
};
// The runtime's file attributes for a new file.
enum : unsigned {
    FC_NORMAL = 0x00,
    FC_READONLY = 0x01,
    FC_HIDDEN = 0x02,
    FC_SYSTEM = 0x04,
    FC_ARCHIVED = 0x20,
};

// A file named by its path with a handle of its own. Every operation records the system's error
// number of its outcome (0 after a success), so ERROR and ERRORCODE always describe the latest one.
// Texts are written and read as Windows-1254 bytes; READ and WRITE move bytes unchanged.
class FILEOBJECT : public FileSpec
{
public:
    static constexpr quint32 kDiskFull = 256;   // a write wrote fewer bytes than asked
    static constexpr quint32 kReadAtEof = 257;  // a read was tried at the end of the file

    explicit FILEOBJECT(const QString &path);

    qintptr CREATE(unsigned attributes = FC_NORMAL);
    qintptr OPEN(unsigned mode = FO_READ);
    quint32 CLOSE();
    quint32 COMMIT();
    // One line without its line end (LF or CR LF); at most `maxLength` characters when it is above 0.
    QString GETS(int maxLength = 0);
    // The text and CR LF; the bytes written.
    qint64 PUTS(const QString &text);
    qint64 WRITELINE(const QString &text, qint64 count = -1);
    qint64 WRITE(const QByteArray &bytes, qint64 count = -1);
    qint64 WRITETEXT(const QString &text, qint64 count = -1);
    // Reads into the start of the buffer; count defaults to the buffer's size.
    qint64 READ(QByteArray &buffer, qint64 count = -1);
    qint64 READTEXT(QString &buffer, qint64 count);
    QString READSTR(qint64 count);
    qint64 SEEK(qint64 offset, int origin = 0);
    qint64 GOTOP();
    qint64 GOBOTTOM();
    FILEOBJECT &REWIND();
    qint64 TELL() const;
    qint64 POSITION() const { return TELL(); }
    bool EOF_() const;
    // Counts the lines from the top; leaves the position at the end.
    int LINECOUNT();
    bool EXISTS() const { return find(); }
    FILEOBJECT &FILESPEC() { return *this; }
    QString ERRSTRING() const;
    bool ERROR() const { return m_error; }
    quint32 ERRORCODE() const { return m_errorCode; }
    qintptr FILEHANDLE() const { return m_handle; }
    quint32 UPDATEERR();

private:
    bool usable();
    qint64 writeBytes(const QByteArray &bytes);
    qint64 readBytes(char *into, qint64 count);

    qintptr m_handle = 0; // kept after CLOSE, as FILEHANDLE tells it
    bool m_open = false;  // the handle is this object's open file; after CLOSE its number may be another's
    quint32 m_lastError = 0;
    quint32 m_errorCode = 0;
    bool m_error = false;
};

} // namespace vexo
