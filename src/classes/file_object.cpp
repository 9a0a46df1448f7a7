#include "classes/file_object.h"

#include "platform/cp1254_codec.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vexo {

namespace {

// The runtime's sharing modes as advisory locks taken without waiting.
struct ShareMode
{
    unsigned mode;
    int lock; // 0: none
};
constexpr ShareMode kShareModes[] = {
    {FO_COMPAT, 0},
    {FO_EXCLUSIVE, LOCK_EX},
    {FO_DENYWRITE, LOCK_SH},
    {FO_DENYREAD, LOCK_EX},
    {FO_DENYNONE, 0},
};
constexpr int kAccessFlags[] = {O_RDONLY, O_WRONLY, O_RDWR, O_RDONLY};

// Of the runtime's attributes only read-only has a counterpart here; hidden, system and archive
// have none and are taken as normal.
mode_t createMode(unsigned attributes)
{
    return (attributes & FC_READONLY) ? 0444 : 0666;
}

} // namespace

FILEOBJECT::FILEOBJECT(const QString &path) : FileSpec(path) {}

quint32 FILEOBJECT::UPDATEERR()
{
    m_errorCode = m_lastError;
    m_error = m_errorCode != 0;
    return m_errorCode;
}

bool FILEOBJECT::usable()
{
    if (m_open)
        return true;
    m_lastError = EBADF;
    return false;
}

qintptr FILEOBJECT::CREATE(unsigned attributes)
{
    const QByteArray path = QFile::encodeName(m_path);
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, createMode(attributes));
    m_lastError = fd < 0 ? quint32(errno) : 0;
    m_handle = fd;
    m_open = fd >= 0;
    UPDATEERR();
    return m_handle;
}

qintptr FILEOBJECT::OPEN(unsigned mode)
{
    const QByteArray path = QFile::encodeName(m_path);
    int fd = ::open(path.constData(), kAccessFlags[mode & 3] | O_CLOEXEC);
    m_lastError = fd < 0 ? quint32(errno) : 0;
    for (const ShareMode &s : kShareModes) {
        if (fd >= 0 && s.mode == (mode & 0x70) && s.lock && ::flock(fd, s.lock | LOCK_NB) != 0) {
            m_lastError = quint32(errno);
            ::close(fd);
            fd = -1;
        }
    }
    m_handle = fd;
    m_open = fd >= 0;
    UPDATEERR();
    return m_handle;
}

quint32 FILEOBJECT::CLOSE()
{
    // The number stays readable in FILEHANDLE, but the descriptor is given up whatever close answers:
    // the system may hand the number to the next file opened anywhere in the program.
    if (usable()) {
        m_open = false;
        m_lastError = ::close(int(m_handle)) == 0 ? 0 : quint32(errno);
    }
    return UPDATEERR();
}

quint32 FILEOBJECT::COMMIT()
{
    if (usable())
        m_lastError = ::fsync(int(m_handle)) == 0 ? 0 : quint32(errno);
    return UPDATEERR();
}

qint64 FILEOBJECT::writeBytes(const QByteArray &bytes)
{
    if (!usable())
        return 0;
    qint64 done = 0;
    m_lastError = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(int(m_handle), bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            m_lastError = (n < 0 && errno != ENOSPC) ? quint32(errno) : kDiskFull;
            break;
        }
        done += n;
    }
    return done;
}

static ssize_t readOnce(int fd, char *into, qint64 count)
{
    ssize_t n;
    do
        n = ::read(fd, into, size_t(count));
    while (n < 0 && errno == EINTR);
    return n;
}

qint64 FILEOBJECT::readBytes(char *into, qint64 count)
{
    if (!usable())
        return 0;
    if (count > 0 && EOF_()) {
        m_lastError = kReadAtEof;
        return 0;
    }
    qint64 done = 0;
    m_lastError = 0;
    while (done < count) {
        const ssize_t n = readOnce(int(m_handle), into + done, count - done);
        if (n < 0)
            m_lastError = quint32(errno);
        if (n <= 0)
            break;
        done += n;
    }
    return done;
}

static QByteArray first(const QByteArray &bytes, qint64 count)
{
    return count < 0 ? bytes : bytes.left(count);
}

qint64 FILEOBJECT::PUTS(const QString &text)
{
    return WRITELINE(text);
}

qint64 FILEOBJECT::WRITELINE(const QString &text, qint64 count)
{
    const qint64 n = writeBytes(first(Cp1254Codec::encode(text), count) + "\r\n");
    UPDATEERR();
    return n;
}

qint64 FILEOBJECT::WRITE(const QByteArray &bytes, qint64 count)
{
    const qint64 n = writeBytes(first(bytes, count));
    UPDATEERR();
    return n;
}

qint64 FILEOBJECT::WRITETEXT(const QString &text, qint64 count)
{
    return WRITE(Cp1254Codec::encode(text), count);
}

qint64 FILEOBJECT::READ(QByteArray &buffer, qint64 count)
{
    if (count < 0)
        count = buffer.size();
    QByteArray got(count, '\0');
    const qint64 n = readBytes(got.data(), count);
    if (buffer.size() < n)
        buffer.resize(n);
    std::memcpy(buffer.data(), got.constData(), size_t(n));
    UPDATEERR();
    return n;
}

qint64 FILEOBJECT::READTEXT(QString &buffer, qint64 count)
{
    QByteArray bytes = Cp1254Codec::encode(buffer);
    const qint64 n = READ(bytes, count);
    buffer = Cp1254Codec::decode(bytes);
    return n;
}

QString FILEOBJECT::READSTR(qint64 count)
{
    QByteArray got(qMax<qint64>(0, count), '\0');
    got.resize(readBytes(got.data(), got.size()));
    UPDATEERR();
    return Cp1254Codec::decode(got);
}

// Reads in blocks and moves the position back to just after the line end it found.
QString FILEOBJECT::GETS(int maxLength)
{
    QByteArray line;
    bool ended = false;
    if (usable()) {
        const qint64 start = TELL();
        if (EOF_()) {
            m_lastError = kReadAtEof;
        } else {
            m_lastError = 0;
            char block[512];
            qint64 used = 0;
            while (!ended && (maxLength <= 0 || line.size() < maxLength)) {
                const ssize_t n = readOnce(int(m_handle), block, sizeof block);
                if (n < 0)
                    m_lastError = quint32(errno);
                if (n <= 0)
                    break;
                for (ssize_t i = 0; i < n; ++i) {
                    ++used;
                    if (block[i] == '\n') {
                        ended = true;
                        break;
                    }
                    line.append(block[i]);
                    if (maxLength > 0 && line.size() >= maxLength)
                        break;
                }
            }
            ::lseek(int(m_handle), start + used, SEEK_SET);
        }
    }
    if (ended && line.endsWith('\r'))
        line.chop(1);
    UPDATEERR();
    return Cp1254Codec::decode(line);
}

qint64 FILEOBJECT::SEEK(qint64 offset, int origin)
{
    static constexpr int kWhence[] = {SEEK_SET, SEEK_CUR, SEEK_END};
    qint64 pos = -1;
    if (usable()) {
        pos = ::lseek(int(m_handle), offset, kWhence[origin >= 0 && origin <= 2 ? origin : 0]);
        m_lastError = pos < 0 ? quint32(errno) : 0;
    }
    UPDATEERR();
    return pos;
}

qint64 FILEOBJECT::GOTOP()
{
    const qint64 pos = SEEK(0);
    UPDATEERR();
    return pos;
}

qint64 FILEOBJECT::GOBOTTOM()
{
    const qint64 pos = SEEK(0, 2);
    UPDATEERR();
    return pos;
}

FILEOBJECT &FILEOBJECT::REWIND()
{
    SEEK(0);
    return *this;
}

qint64 FILEOBJECT::TELL() const
{
    return m_open ? ::lseek(int(m_handle), 0, SEEK_CUR) : 0;
}

bool FILEOBJECT::EOF_() const
{
    struct stat st;
    if (!m_open || ::fstat(int(m_handle), &st) != 0)
        return true;
    return TELL() >= st.st_size;
}

int FILEOBJECT::LINECOUNT()
{
    if (m_handle == 0)
        return 0;
    GOTOP();
    int lines = 0;
    while (!EOF_()) {
        GETS();
        ++lines;
    }
    return lines;
}

QString FILEOBJECT::ERRSTRING() const
{
    if (m_errorCode == kDiskFull)
        return QStringLiteral("Disk Full");
    if (m_errorCode == kReadAtEof)
        return QStringLiteral("EOF was already reached when a read was tried");
    return QString::fromLocal8Bit(std::strerror(int(m_errorCode)));
}

} // namespace vexo
