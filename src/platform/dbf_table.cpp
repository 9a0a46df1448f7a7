#include "platform/dbf_table.h"

#include "platform/cp1254_codec.h"
#include "platform/dbf_index.h"
#include "platform/file_attributes.h"
#include "platform/own_temp_files.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QtEndian>

#include <algorithm>
#include <cerrno>
#include <functional>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace vexo {

namespace {

bool g_hideDeleted = false;

QString osError(int err)
{
    return QString::fromLocal8Bit(std::strerror(err));
}

bool preadAll(int fd, char *buf, qint64 len, qint64 pos)
{
    while (len > 0) {
        const ssize_t n = ::pread(fd, buf, size_t(len), off_t(pos));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        buf += n;
        len -= n;
        pos += n;
    }
    return true;
}

bool pwriteAll(int fd, const char *buf, qint64 len, qint64 pos)
{
    while (len > 0) {
        const ssize_t n = ::pwrite(fd, buf, size_t(len), off_t(pos));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        buf += n;
        len -= n;
        pos += n;
    }
    return true;
}

// An existing file whose name differs only in case is the same table.
QString resolveCase(const QString &path)
{
    const QFileInfo info(path);
    if (info.exists())
        return info.absoluteFilePath();
    const QDir dir = info.absoluteDir();
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &n : names)
        if (n.compare(info.fileName(), Qt::CaseInsensitive) == 0)
            return dir.filePath(n);
    return info.absoluteFilePath();
}

// The append and save bytes: write locks held only while one record is added or one save runs
// (fcntl open-file-description locks, so two tables of one process exclude each other like two
// processes do).
bool lockByte(int fd, qint64 offset, bool lock)
{
    struct flock fl = {};
    fl.l_type = lock ? F_WRLCK : F_UNLCK;
    fl.l_whence = SEEK_SET;
    fl.l_start = offset;
    fl.l_len = 1;
    return ::fcntl(fd, F_OFD_SETLK, &fl) == 0;
}

bool lockAppendByte(int fd, bool lock)
{
    return lockByte(fd, DbfTable::kAppendLockOffset, lock);
}

// A file's identity, size, modification time and change time (DbfTable::FileState).
template <typename State>
State fileStateOf(const struct stat &st)
{
    return {quint64(st.st_dev),          quint64(st.st_ino),           qint64(st.st_size),
            qint64(st.st_mtim.tv_sec),   qint64(st.st_mtim.tv_nsec),   qint64(st.st_ctim.tv_sec),
            qint64(st.st_ctim.tv_nsec)};
}

// Reads the whole file in pieces, handing each with its place to `piece`; false when a read fails or
// `piece` answers false.
bool readPieces(int fd, qsizetype size, const std::function<bool(const char *, qsizetype, qint64)> &piece)
{
    QByteArray buffer(size, Qt::Uninitialized);
    for (qint64 pos = 0;;) {
        const ssize_t n = ::pread(fd, buffer.data(), size_t(buffer.size()), off_t(pos));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            return true;
        if (!piece(buffer.constData(), n, pos))
            return false;
        pos += n;
    }
}

// The digest of a file's bytes; empty when it cannot be read.
QByteArray digestOf(int fd)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    const bool read = readPieces(fd, 1 << 16, [&](const char *bytes, qsizetype n, qint64) {
        hash.addData(QByteArrayView(bytes, n));
        return true;
    });
    return read ? hash.result() : QByteArray();
}

bool sameInode(const struct stat &a, const struct stat &b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Swaps what two names of one folder hold, in one step (renameat2 with RENAME_EXCHANGE).
int exchangeNames(const char *a, const char *b)
{
#ifdef RENAME_EXCHANGE
    return ::renameat2(AT_FDCWD, a, AT_FDCWD, b, RENAME_EXCHANGE);
#else
    return int(::syscall(SYS_renameat2, AT_FDCWD, a, AT_FDCWD, b, 1u << 1)); // RENAME_EXCHANGE of <linux/fs.h>
#endif
}

// The answers of a kernel or a file system that cannot exchange two names.
bool exchangeUnsupported(int err)
{
    return err == EINVAL || err == ENOSYS || err == ENOTSUP || err == EOPNOTSUPP;
}

bool copyFileBytes(int from, int to)
{
    return readPieces(from, 1 << 20, [to](const char *bytes, qsizetype n, qint64 pos) { return pwriteAll(to, bytes, n, pos); });
}

} // namespace

QString dbfErrorText(DbfErrorCode code)
{
    switch (code) {
    case DbfErrorCode::NotOpen: return QStringLiteral("Tablo açık değil");
    case DbfErrorCode::NoFile: return QStringLiteral("Dosya bulunamadı");
    case DbfErrorCode::Access: return QStringLiteral("Dosyaya erişim izni yok");
    case DbfErrorCode::Locked: return QStringLiteral("Dosya başka bir işlem tarafından kullanılıyor");
    case DbfErrorCode::Corrupt: return QStringLiteral("Dosya bozuk veya bir tablo değil");
    case DbfErrorCode::ReadOnly: return QStringLiteral("Tablo salt okunur açık");
    case DbfErrorCode::Read: return QStringLiteral("Dosya okunamadı");
    case DbfErrorCode::Write: return QStringLiteral("Dosyaya yazılamadı");
    case DbfErrorCode::NoField: return QStringLiteral("Alan bulunamadı");
    case DbfErrorCode::DataType: return QStringLiteral("Değer alanın türüne uymuyor");
    case DbfErrorCode::DataWidth: return QStringLiteral("Değer alanın genişliğine sığmıyor");
    case DbfErrorCode::NoRecord: return QStringLiteral("Geçerli kayıt yok");
    case DbfErrorCode::Exclusive: return QStringLiteral("İşlem tablonun özel kullanımını gerektirir");
    case DbfErrorCode::Create: return QStringLiteral("Tablo oluşturulamadı");
    case DbfErrorCode::Index: return QStringLiteral("İndeks hatası");
    case DbfErrorCode::Changed: return QStringLiteral("Dosya başka bir program tarafından değiştirilmiş");
    case DbfErrorCode::Rights: return QStringLiteral("Dosyaya kimlerin yazabileceği değişirdi");
    case DbfErrorCode::Folder: return QStringLiteral("Klasöre yeni dosya yazılamıyor");
    case DbfErrorCode::Deleted: return QStringLiteral("Dosya silinmiş");
    case DbfErrorCode::Moved: return QStringLiteral("Dosya ya da klasörü taşınmış");
    case DbfErrorCode::Attributes: return QStringLiteral("Dosyanın öznitelikleri korunamıyor");
    }
    return {};
}

DbfTable::DbfTable()
{
    setError(DbfErrorCode::NotOpen);
}

DbfTable::DbfTable(const QString &path, bool shared, bool readOnly, const QString &driver)
{
    Q_UNUSED(driver); // one driver serves every table
    open(path, shared, readOnly);
}

DbfTable::~DbfTable()
{
    close();
}

bool DbfTable::setError(DbfErrorCode code, const QString &description)
{
    m_status = DbfError{code, dbfErrorText(code), description};
    return false;
}

bool DbfTable::open(const QString &path, bool shared, bool readOnly)
{
    close();
    clearStatus();
    m_path = resolveCase(path);
    m_label = QFileInfo(m_path).fileName();
    m_shared = shared;
    m_readOnly = readOnly;
    DbfHeader h;
    const int fd = openFile(m_path, shared, readOnly, &h);
    if (fd < 0)
        return false;
    m_fd = fd;
    m_hdr = h;
    noteFileState();
    settleDigest();
    // Copies that interrupted saves left behind go now, unless a save of the file is running.
    if (!readOnly && lockByte(m_fd, kSaveLockOffset, true)) {
        const QString canonical = QFileInfo(m_path).canonicalFilePath();
        sweepOwnTempFiles(canonical.isEmpty() ? m_path : canonical);
        lockByte(m_fd, kSaveLockOffset, false);
    }
    goTop();
    return !m_status;
}

void DbfTable::noteFileState()
{
    struct stat st = {};
    if (m_fd < 0 || replacing() || ::fstat(m_fd, &st) != 0)
        return;
    m_fileState = fileStateOf<FileState>(st);
    m_digest.clear();
}

void DbfTable::settleDigest()
{
    struct stat st = {};
    if (!m_digest.isEmpty() || m_fd < 0 || replacing() || ::fstat(m_fd, &st) != 0
        || !(fileStateOf<FileState>(st) == m_fileState))
        return;
    const QByteArray digest = digestOf(m_fd);
    // A write during the reading leaves the digest due.
    if (!digest.isEmpty() && ::fstat(m_fd, &st) == 0 && fileStateOf<FileState>(st) == m_fileState)
        m_digest = digest;
}

bool DbfTable::sameAsRead(int fd, const struct stat &st, bool withChangeTime)
{
    FileState state = fileStateOf<FileState>(st);
    if (!withChangeTime) {
        state.changeSeconds = m_fileState.changeSeconds;
        state.changeNanoseconds = m_fileState.changeNanoseconds;
    }
    if (state == m_fileState)
        return true;
    if (m_digest.isEmpty() || state.device != m_fileState.device || state.inode != m_fileState.inode
        || digestOf(fd) != m_digest)
        return false;
    // The same bytes: what changed is the file's metadata, which the file now keeps.
    struct stat now = {};
    if (withChangeTime && ::fstat(fd, &now) == 0 && fileStateOf<FileState>(now) == state)
        m_fileState = state;
    return true;
}

bool DbfTable::holdsUnchangedFileAt(const QString &path)
{
    if (m_fd < 0)
        return false;
    const int fd = replacing() ? m_originalFd : m_fd;
    settleDigest();
    struct stat own = {};
    struct stat there = {};
    return ::fstat(fd, &own) == 0 && ::stat(QFile::encodeName(path).constData(), &there) == 0 && sameInode(own, there)
           && sameAsRead(fd, own, true);
}

bool DbfTable::fileInPlace(int fd, const QByteArray &name)
{
    struct stat own = {};
    if (::fstat(fd, &own) != 0)
        return setError(DbfErrorCode::Read, m_label + QStringLiteral(": ") + osError(errno));
    struct stat there = {};
    if (::stat(name.constData(), &there) == 0) {
        settleDigest();
        if (sameInode(own, there) && sameAsRead(fd, own, true))
            return true;
        return setError(DbfErrorCode::Changed,
                        m_label + QStringLiteral(": dosya açıldıktan sonra başka bir program tarafından değiştirilmiş"));
    }
    const int err = errno;
    if (err != ENOENT && err != ENOTDIR)
        return setError(DbfErrorCode::Read, m_label + QStringLiteral(": ") + osError(err));
    // Nothing has the name any more: the file was deleted (no name leads to it), or it or its
    // folder went elsewhere.
    if (own.st_nlink == 0)
        return setError(DbfErrorCode::Deleted, m_label + QStringLiteral(": dosya açıldıktan sonra silinmiş"));
    const QString folder = QFileInfo(QFile::decodeName(name)).absolutePath();
    if (!QFileInfo(folder).isDir())
        return setError(DbfErrorCode::Moved, QDir::toNativeSeparators(folder)
                                                 + QStringLiteral(": klasör, dosya açıldıktan sonra taşınmış, adı "
                                                                  "değiştirilmiş ya da silinmiş"));
    return setError(DbfErrorCode::Moved,
                    m_label + QStringLiteral(": dosya açıldıktan sonra taşınmış ya da adı değiştirilmiş"));
}

int DbfTable::openFile(const QString &path, bool shared, bool readOnly, DbfHeader *header)
{
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), (readOnly ? O_RDONLY : O_RDWR) | O_CLOEXEC);
    if (fd < 0) {
        const int err = errno;
        setError(err == ENOENT ? DbfErrorCode::NoFile
                 : (err == EACCES || err == EPERM || err == EROFS) ? DbfErrorCode::Access
                                                                    : DbfErrorCode::Read,
                 m_label + QStringLiteral(": ") + osError(err));
        return -1;
    }
    auto fail = [&](DbfErrorCode code, const QString &description) {
        ::close(fd);
        setError(code, m_label + description);
        return -1;
    };
    if (::flock(fd, (shared ? LOCK_SH : LOCK_EX) | LOCK_NB) != 0) {
        const int err = errno;
        return fail(err == EWOULDBLOCK ? DbfErrorCode::Locked : DbfErrorCode::Read, QStringLiteral(": ") + osError(err));
    }
    struct stat st = {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
        return fail(DbfErrorCode::Corrupt, QStringLiteral(": bir dosya değil"));
    QByteArray head(int(std::min<qint64>(st.st_size, DbfHeader::kMaxHeader)), '\0');
    if (!preadAll(fd, head.data(), head.size(), 0))
        return fail(DbfErrorCode::Read, QString());
    QString why;
    std::optional<DbfHeader> h = DbfHeader::parse(head, st.st_size, &why);
    if (!h)
        return fail(DbfErrorCode::Corrupt, QStringLiteral(": ") + why);
    *header = *h;
    return fd;
}

void DbfTable::close()
{
    if (m_fd < 0)
        return;
    abandonReplacement();
    commit();
    ::close(m_fd); // releases the flock and any byte lock of this description
    m_fd = -1;
    m_index.reset();
    m_order = 0;
    m_recNo = 0;
    m_eof = m_bof = true;
    m_dirty = m_changed = false;
    m_rec.clear();
}

bool DbfTable::writable(const char *what)
{
    if (m_fd < 0)
        return setError(DbfErrorCode::NotOpen, m_label);
    if (m_readOnly)
        return setError(DbfErrorCode::ReadOnly, m_label + QStringLiteral(": ") + QLatin1String(what));
    return true;
}

bool DbfTable::refreshCount()
{
    if (m_fd < 0 || !m_shared)
        return true;
    // Another holder of a shared table may have appended since we last looked.
    uchar b[4];
    if (!preadAll(m_fd, reinterpret_cast<char *>(b), 4, 4))
        return setError(DbfErrorCode::Read, m_label);
    const quint32 count = qFromLittleEndian<quint32>(b);
    struct stat st = {};
    if (::fstat(m_fd, &st) != 0)
        return setError(DbfErrorCode::Read, m_label);
    if (m_hdr.headerLength + qint64(count) * m_hdr.recordLength > st.st_size)
        return setError(DbfErrorCode::Corrupt, m_label + QStringLiteral(": dosya kayıt sayısına göre kısa"));
    m_hdr.recordCount = count;
    return true;
}

quint32 DbfTable::lastRec()
{
    refreshCount();
    return m_hdr.recordCount;
}

qint64 DbfTable::recordsInFile() const
{
    struct stat st = {};
    if (m_fd < 0 || ::fstat(m_fd, &st) != 0 || m_hdr.recordLength <= 0)
        return -1;
    return std::max<qint64>(0, qint64(st.st_size) - m_hdr.headerLength) / m_hdr.recordLength;
}

bool DbfTable::readRecord(quint32 recNo, QByteArray *into)
{
    into->resize(m_hdr.recordLength);
    if (recNo < 1 || recNo > m_hdr.recordCount || !preadAll(m_fd, into->data(), m_hdr.recordLength, m_hdr.recordPos(recNo))) {
        into->fill(' ');
        return setError(DbfErrorCode::Read, m_label + QStringLiteral(": kayıt %1").arg(recNo));
    }
    return true;
}

bool DbfTable::recordDeleted(quint32 recNo)
{
    if (recNo == m_recNo && !m_eof && !m_rec.isEmpty())
        return m_rec.at(0) == '*';
    char flag = ' ';
    if (!preadAll(m_fd, &flag, 1, m_hdr.recordPos(recNo)))
        return false;
    return flag == '*';
}

bool DbfTable::hidden(quint32 recNo)
{
    return g_hideDeleted && recordDeleted(recNo);
}

void DbfTable::positionAt(quint32 recNo)
{
    m_recNo = recNo;
    m_eof = false;
    readRecord(recNo, &m_rec);
}

void DbfTable::positionEof()
{
    m_recNo = m_hdr.recordCount + 1;
    m_eof = true;
    m_rec = QByteArray(m_hdr.recordLength, ' ');
}

qint64 DbfTable::orderSize()
{
    return m_order > 0 && m_index ? m_index->entries.size() : qint64(m_hdr.recordCount);
}

quint32 DbfTable::recordAt(qint64 pos)
{
    return m_order > 0 && m_index ? m_index->entries[pos].recNo : quint32(pos + 1);
}

qint64 DbfTable::placeOf(quint32 recNo)
{
    return m_order > 0 && m_index ? m_index->positionOf(recNo) : qint64(recNo) - 1;
}

bool DbfTable::goTop()
{
    if (m_fd < 0)
        return setError(DbfErrorCode::NotOpen, m_label);
    clearStatus();
    if (!flush() || !refreshCount())
        return false;
    m_bof = false;
    const qint64 n = orderSize();
    for (qint64 p = 0; p < n; ++p) {
        const quint32 r = recordAt(p);
        if (!hidden(r)) {
            positionAt(r);
            return !m_status;
        }
    }
    positionEof();
    m_bof = true;
    return true;
}

bool DbfTable::goBottom()
{
    if (m_fd < 0)
        return setError(DbfErrorCode::NotOpen, m_label);
    clearStatus();
    if (!flush() || !refreshCount())
        return false;
    m_bof = false;
    for (qint64 p = orderSize() - 1; p >= 0; --p) {
        const quint32 r = recordAt(p);
        if (!hidden(r)) {
            positionAt(r);
            return !m_status;
        }
    }
    positionEof();
    m_bof = true;
    return true;
}

bool DbfTable::skip(int n)
{
    if (m_fd < 0)
        return setError(DbfErrorCode::NotOpen, m_label);
    clearStatus();
    if (!flush() || !refreshCount())
        return false;
    if (n == 0) {
        if (!m_eof)
            positionAt(m_recNo);
        return !m_status;
    }
    const qint64 size = orderSize();
    qint64 place = m_eof ? size : placeOf(m_recNo);
    if (place < 0) // the current record is not in the order (a key left out of a unique index)
        place = n > 0 ? -1 : size;
    m_bof = false;
    const int step = n > 0 ? 1 : -1;
    for (int left = std::abs(n); left > 0; --left) {
        qint64 p = place + step;
        while (p >= 0 && p < size && hidden(recordAt(p)))
            p += step;
        if (p >= size) {
            positionEof();
            return true;
        }
        if (p < 0) {
            // Before the first record: stay on the first visible one, with bof set.
            goTop();
            m_bof = true;
            return !m_status;
        }
        place = p;
    }
    positionAt(recordAt(place));
    return !m_status;
}

bool DbfTable::goTo(qint64 recNo)
{
    if (m_fd < 0)
        return setError(DbfErrorCode::NotOpen, m_label);
    clearStatus();
    if (!flush() || !refreshCount())
        return false;
    m_bof = false;
    if (recNo < 1 || recNo > qint64(m_hdr.recordCount)) {
        positionEof();
        m_bof = m_hdr.recordCount == 0;
        return true;
    }
    positionAt(quint32(recNo));
    return !m_status;
}

QString DbfTable::fieldName(int pos) const
{
    if (pos < 1 || pos > m_hdr.fields.size())
        return {};
    return m_hdr.fields[pos - 1].name;
}

int DbfTable::fieldPos(const QString &name) const
{
    const QString want = name.trimmed();
    for (qsizetype i = 0; i < m_hdr.fields.size(); ++i)
        if (m_hdr.fields[i].name.compare(want, Qt::CaseInsensitive) == 0)
            return int(i) + 1;
    return 0;
}

QVariant DbfTable::fieldGet(int pos)
{
    if (m_fd < 0) {
        setError(DbfErrorCode::NotOpen, m_label);
        return {};
    }
    if (pos < 1 || pos > m_hdr.fields.size()) {
        setError(DbfErrorCode::NoField, m_label + QStringLiteral(": %1").arg(pos));
        return {};
    }
    if (m_rec.size() != m_hdr.recordLength)
        m_rec = QByteArray(m_hdr.recordLength, ' ');
    return dbf::decodeValue(m_hdr.fields[pos - 1], m_rec.constData() + m_hdr.offsets[pos - 1]);
}

QVariant DbfTable::fieldGet(const QString &name)
{
    const int pos = fieldPos(name);
    if (pos == 0 && m_fd >= 0) {
        setError(DbfErrorCode::NoField, m_label + QStringLiteral(": ") + name);
        return {};
    }
    return fieldGet(pos);
}

bool DbfTable::fieldPut(int pos, const QVariant &value)
{
    if (!writable("FIELDPUT"))
        return false;
    if (pos < 1 || pos > m_hdr.fields.size())
        return setError(DbfErrorCode::NoField, m_label + QStringLiteral(": %1").arg(pos));
    if (m_eof)
        return setError(DbfErrorCode::NoRecord, m_label);
    const DbfField &f = m_hdr.fields[pos - 1];
    switch (dbf::encodeValue(f, value, m_rec.data() + m_hdr.offsets[pos - 1])) {
    case dbf::PutResult::Ok:
        m_dirty = true;
        return true;
    case dbf::PutResult::BadType:
        return setError(DbfErrorCode::DataType, f.name);
    case dbf::PutResult::TooWide:
        return setError(DbfErrorCode::DataWidth, f.name);
    }
    return false;
}

bool DbfTable::fieldPut(const QString &name, const QVariant &value)
{
    const int pos = fieldPos(name);
    if (pos == 0 && m_fd >= 0)
        return setError(DbfErrorCode::NoField, m_label + QStringLiteral(": ") + name);
    return fieldPut(pos, value);
}

bool DbfTable::flush()
{
    if (!m_dirty || m_fd < 0)
        return true;
    m_dirty = false;
    if (m_eof || m_recNo < 1 || m_recNo > m_hdr.recordCount)
        return true;
    const bool written = pwriteAll(m_fd, m_rec.constData(), m_rec.size(), m_hdr.recordPos(m_recNo));
    const int err = errno;
    noteFileState();
    if (!written)
        return setError(DbfErrorCode::Write, m_label + QStringLiteral(": ") + osError(err));
    m_changed = true;
    if (m_index)
        return rebuildIndex(true);
    return true;
}

bool DbfTable::writeHeaderCounts()
{
    m_hdr.lastUpdate = QDate::currentDate();
    const QByteArray b = m_hdr.countAndDate();
    bool written = pwriteAll(m_fd, b.constData(), b.size(), 1);
    // The texts this table writes are Windows-1254, so a table another program saved with another
    // code page byte (or none) says so from its first change on.
    if (written && m_hdr.codePage != DbfHeader::kCodePage) {
        const char codePage = char(DbfHeader::kCodePage);
        written = pwriteAll(m_fd, &codePage, 1, 29);
        if (written)
            m_hdr.codePage = DbfHeader::kCodePage;
    }
    const int err = errno;
    noteFileState();
    if (!written)
        return setError(DbfErrorCode::Write, m_label + QStringLiteral(": ") + osError(err));
    return true;
}

bool DbfTable::append()
{
    return appendRecord();
}

bool DbfTable::appendRecord()
{
    if (!writable("APPEND"))
        return false;
    clearStatus();
    if (!flush())
        return false;
    const bool lock = m_shared;
    if (lock && !lockAppendByte(m_fd, true))
        return setError(DbfErrorCode::Locked, m_label + QStringLiteral(": kayıt ekleme kilitli"));
    bool ok = refreshCount();
    if (ok) {
        const quint32 recNo = m_hdr.recordCount + 1;
        QByteArray rec(m_hdr.recordLength, ' ');
        rec.append('\x1A');
        if (!pwriteAll(m_fd, rec.constData(), rec.size(), m_hdr.recordPos(recNo))) {
            ok = setError(DbfErrorCode::Write, m_label + QStringLiteral(": ") + osError(errno));
            // Leave the file as its header describes it.
            if (::ftruncate(m_fd, m_hdr.dataEnd()) == 0) {
                const char eofByte = '\x1A';
                pwriteAll(m_fd, &eofByte, 1, m_hdr.dataEnd());
            }
        } else {
            m_hdr.recordCount = recNo;
            ok = writeHeaderCounts();
            if (!ok) {
                m_hdr.recordCount = recNo - 1;
            } else {
                m_recNo = recNo;
                m_eof = m_bof = false;
                rec.chop(1);
                m_rec = rec;
                m_changed = false;
            }
        }
    }
    noteFileState();
    if (lock)
        lockAppendByte(m_fd, false);
    if (ok && m_index)
        ok = rebuildIndex(true);
    return ok;
}

bool DbfTable::deleteRecord()
{
    if (!writable("DELETE"))
        return false;
    if (m_eof)
        return setError(DbfErrorCode::NoRecord, m_label);
    m_rec[0] = '*';
    m_dirty = true;
    return flush();
}

bool DbfTable::recall()
{
    if (!writable("RECALL"))
        return false;
    if (m_eof)
        return setError(DbfErrorCode::NoRecord, m_label);
    m_rec[0] = ' ';
    m_dirty = true;
    return flush();
}

bool DbfTable::deleted() const
{
    return !m_eof && !m_rec.isEmpty() && m_rec.at(0) == '*';
}

bool DbfTable::commit()
{
    if (m_fd < 0)
        return setError(DbfErrorCode::NotOpen, m_label);
    if (m_readOnly)
        return true;
    if (!flush())
        return false;
    if (m_changed) {
        if (!writeHeaderCounts())
            return false;
        m_changed = false;
    }
    settleDigest();
    return true;
}

bool DbfTable::pack()
{
    if (!writable("PACK"))
        return false;
    if (m_shared)
        return setError(DbfErrorCode::Exclusive, m_label);
    clearStatus();
    if (!commit())
        return false;
    const QFileInfo info(m_path);
    // The new file is locked before it takes the table's name, so no other opener slips in between.
    QByteArray tmpl;
    const int fd = createOwnTempFile(info.absoluteFilePath(), &tmpl, LOCK_EX);
    if (fd < 0)
        return setError(DbfErrorCode::Write, m_label + QStringLiteral(": ") + osError(errno));
    struct stat st = {};
    if (::fstat(m_fd, &st) == 0)
        ::fchmod(fd, st.st_mode & 07777);

    DbfHeader h = m_hdr;
    h.codePage = DbfHeader::kCodePage;
    QByteArray out = h.bytes();
    QByteArray rec;
    quint32 kept = 0;
    bool ok = true;
    for (quint32 r = 1; r <= m_hdr.recordCount && ok; ++r) {
        ok = readRecord(r, &rec);
        if (ok && rec.at(0) != '*') {
            out += rec;
            ++kept;
        }
    }
    out += '\x1A';
    h.recordCount = kept;
    h.lastUpdate = QDate::currentDate();
    const QByteArray cd = h.countAndDate();
    std::copy(cd.begin(), cd.end(), out.begin() + 1);
    if (ok && !(pwriteAll(fd, out.constData(), out.size(), 0) && ::fsync(fd) == 0))
        ok = setError(DbfErrorCode::Write, m_label + QStringLiteral(": ") + osError(errno));
    if (ok && ::rename(tmpl.constData(), QFile::encodeName(m_path).constData()) != 0)
        ok = setError(DbfErrorCode::Write, m_label + QStringLiteral(": ") + osError(errno));
    if (!ok) {
        ::close(fd);
        ::unlink(tmpl.constData());
        return false;
    }
    ::close(m_fd);
    m_fd = fd;
    m_hdr = h;
    noteFileState();
    settleDigest();
    if (m_index && !rebuildIndex(true))
        return false;
    return goTop();
}

bool DbfTable::lockCurrentFileForSave()
{
    if (!lockByte(m_fd, kSaveLockOffset, true))
        return setError(DbfErrorCode::Locked, m_label + QStringLiteral(": başka bir program bu dosyayı kaydediyor"));
    // The writers change only what differs from what this table read; on a file that another program
    // replaced or wrote since, that would mix two problems.
    if (!fileInPlace(m_fd, QFile::encodeName(m_path))) {
        lockByte(m_fd, kSaveLockOffset, false);
        return false;
    }
    return true;
}

bool DbfTable::beginReplacement()
{
    if (!writable("SAVE"))
        return false;
    if (replacing() || m_index)
        return setError(DbfErrorCode::Exclusive, m_label + QStringLiteral(": kayıt sırasında"));
    clearStatus();
    m_rightsNarrowed.clear();
    if (!commit() || !lockCurrentFileForSave())
        return false;
    auto fail = [&](int copyFd, const QByteArray &copyPath, DbfErrorCode code, const QString &why) {
        if (copyFd >= 0) {
            ::close(copyFd);
            ::unlink(copyPath.constData());
        }
        lockByte(m_fd, kSaveLockOffset, false);
        return setError(code, why);
    };
    auto failOs = [&](int copyFd, const QByteArray &copyPath) {
        const int err = errno;
        return fail(copyFd, copyPath, DbfErrorCode::Write, m_label + QStringLiteral(": ") + osError(err));
    };
    if (!refreshCount()) {
        lockByte(m_fd, kSaveLockOffset, false);
        return false;
    }
    // A table opened through a link is saved into the file the link names; the link stays.
    const QString canonical = QFileInfo(m_path).canonicalFilePath();
    const QFileInfo info(canonical.isEmpty() ? m_path : canonical);
    m_replacedPath = QFile::encodeName(info.absoluteFilePath());
    struct stat st = {};
    if (::fstat(m_fd, &st) != 0) {
        const int err = errno;
        lockByte(m_fd, kSaveLockOffset, false);
        return setError(DbfErrorCode::Read, m_label + QStringLiteral(": ") + osError(err));
    }
    // The copy is one of our marked temporaries, locked from creation: the lock says that a writer is
    // at work on it (see own_temp_files.h). Leftovers of killed saves go first. It is made with the
    // file's mode, for file systems that take a mode only when a file is made.
    QByteArray copyPath;
    const int copyFd = createOwnTempFile(info.absoluteFilePath(), &copyPath, LOCK_EX, st.st_mode & 0777);
    if (copyFd < 0) {
        const int err = errno;
        if (err == EACCES || err == EPERM || err == EROFS)
            return fail(-1, copyPath, DbfErrorCode::Folder,
                        QDir::toNativeSeparators(info.absolutePath()) + QStringLiteral(": ") + osError(err));
        return failOs(-1, copyPath);
    }
    const CopiedRights rights = copyFileRights(m_fd, m_replacedPath, copyFd, copyPath);
    if (rights.refusal != CopiedRights::Refusal::None)
        return fail(copyFd, copyPath,
                    rights.refusal == CopiedRights::Refusal::Rights ? DbfErrorCode::Rights : DbfErrorCode::Attributes,
                    m_label + QStringLiteral(": ") + rights.why);
    m_rightsNarrowed = rights.narrowed;
    if (!copyFileBytes(m_fd, copyFd))
        return failOs(copyFd, copyPath);
    m_originalFd = m_fd;
    m_originalHdr = m_hdr;
    m_originalShared = m_shared;
    m_copyPath = copyPath;
    m_fd = copyFd;
    m_shared = false; // nobody else knows the copy
    return goTop();
}

bool DbfTable::finishReplacement()
{
    if (!replacing())
        return setError(DbfErrorCode::NotOpen, m_label);
    clearStatus();
    if (!commit())
        return false;
    if (::fsync(m_fd) != 0)
        return setError(DbfErrorCode::Write, m_label + QStringLiteral(": ") + osError(errno));
    // The copy takes the table's own mode before it takes the name, so an opener of the path never
    // meets the copy's exclusive lock.
    if (m_originalShared && ::flock(m_fd, LOCK_SH | LOCK_NB) != 0)
        return setError(DbfErrorCode::Locked, m_label + QStringLiteral(": ") + osError(errno));
    if (!putCopyInPlace())
        return false;
    // The rename itself reaches the disk with the folder.
    const QString folder = QFileInfo(QFile::decodeName(m_replacedPath)).absolutePath();
    const int dirFd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    m_shared = m_originalShared;
    ::close(m_originalFd); // releases the save byte and the old file
    m_originalFd = -1;
    m_copyPath.clear();
    noteFileState();
    settleDigest();
    return true;
}

bool DbfTable::putCopyInPlace()
{
    const char *copy = m_copyPath.constData();
    const char *name = m_replacedPath.constData();
    // The last look before the name changes.
    if (!fileInPlace(m_originalFd, m_replacedPath))
        return false;
    beforeNameChange();
    if (exchangeNames(copy, name) != 0) {
        const int err = errno;
        if (err == ENOENT && !fileInPlace(m_originalFd, m_replacedPath))
            return false; // the name went in the meantime
        if (!exchangeUnsupported(err))
            return setError(DbfErrorCode::Write, m_label + QStringLiteral(": ") + osError(err));
        // This file system cannot exchange two names: the plain rename follows the last look at once,
        // and nothing can see what it replaced.
        if (::rename(copy, name) != 0)
            return setError(DbfErrorCode::Write, m_label + QStringLiteral(": ") + osError(errno));
        return true;
    }
    // The name holds the copy now, and the copy's name whatever the name held until now: that must be
    // the file this table read, as it read it. (The exchange itself sets the change time.)
    struct stat own = {};
    struct stat displaced = {};
    const bool read = ::fstat(m_originalFd, &own) == 0 && ::lstat(copy, &displaced) == 0 && sameInode(own, displaced);
    if (read && sameAsRead(m_originalFd, own, false)) {
        ::unlink(copy);
        return true;
    }
    // Another program put its file in place or wrote into it meanwhile: that file goes back under
    // the name, and the save is refused.
    setError(DbfErrorCode::Changed,
             m_label + QStringLiteral(": dosya açıldıktan sonra başka bir program tarafından değiştirilmiş"));
    struct stat ours = {};
    struct stat atCopy = {};
    if (exchangeNames(copy, name) == 0) {
        // Still another program may have put a file under the name just now; then that file is what
        // the exchange brought here, and it stays.
        if (!(::fstat(m_fd, &ours) == 0 && ::lstat(copy, &atCopy) == 0 && sameInode(ours, atCopy)))
            m_copyPath.clear();
    } else if (::rename(copy, name) == 0) {
        m_copyPath.clear(); // the rename took the copy's name away with the copy
    } else {
        const int err = errno;
        m_status->description += QStringLiteral("; diğer programın dosyası şimdi %1 adını taşıyor (%2)")
                                     .arg(QDir::toNativeSeparators(QFile::decodeName(m_copyPath)), osError(err));
        m_copyPath.clear();
    }
    return false;
}

void DbfTable::abandonReplacement()
{
    if (!replacing())
        return;
    const std::optional<DbfError> status = m_status;
    m_dirty = m_changed = false;
    ::close(m_fd);
    ::unlink(m_copyPath.constData());
    m_copyPath.clear();
    m_fd = m_originalFd;
    m_originalFd = -1;
    m_hdr = m_originalHdr;
    m_shared = m_originalShared;
    lockByte(m_fd, kSaveLockOffset, false);
    goTop();
    if (status)
        m_status = status;
}

bool DbfTable::appendDb(DbfTable &source)
{
    if (!writable("APPENDDB"))
        return false;
    if (!source.isOpen())
        return setError(DbfErrorCode::NotOpen, source.label());
    clearStatus();
    QList<int> from;
    for (const DbfField &f : std::as_const(m_hdr.fields))
        from.append(source.fieldPos(f.name));
    for (source.goTop(); !source.eof(); source.skip(1)) {
        if (!appendRecord())
            return false;
        for (qsizetype i = 0; i < from.size(); ++i) {
            if (from[i] == 0)
                continue;
            QVariant v = source.fieldGet(from[i]);
            // A character field's blanks are padding, not part of a number.
            if (m_hdr.fields[i].type != u'C' && v.typeId() == QMetaType::QString)
                v = v.toString().trimmed();
            if (!fieldPut(int(i) + 1, v))
                return false;
        }
    }
    if (source.status())
        return setError(source.status()->code, source.status()->description);
    return commit();
}

bool DbfTable::rebuildIndex(bool writeFile)
{
    if (!m_index)
        return true;
    const int pos = fieldPos(m_index->keyField);
    if (pos == 0)
        return setError(DbfErrorCode::Index, m_index->keyField);
    const DbfField &f = m_hdr.fields[pos - 1];
    const int offset = m_hdr.offsets[pos - 1];
    const QList<DbfIndex::Entry> before = m_index->entries;
    m_index->clear();
    m_index->keyLength = f.width;
    QByteArray rec;
    for (quint32 r = 1; r <= m_hdr.recordCount; ++r) {
        if (r == m_recNo && !m_eof)
            rec = m_rec;
        else if (!readRecord(r, &rec))
            return false;
        m_index->add(rec.mid(offset, f.width), r);
    }
    m_index->finish();
    const bool same = before.size() == m_index->entries.size()
                      && std::equal(before.begin(), before.end(), m_index->entries.begin(),
                                    [](const DbfIndex::Entry &a, const DbfIndex::Entry &b) {
                                        return a.key == b.key && a.recNo == b.recNo;
                                    });
    if (!writeFile || same || m_readOnly)
        return true;
    QString why;
    if (!m_index->save(m_indexPath, &why))
        return setError(DbfErrorCode::Index, why);
    return true;
}

bool DbfTable::createIndex(const QString &indexPath, const QString &tag, const QString &keyField, bool unique)
{
    if (m_fd < 0)
        return setError(DbfErrorCode::NotOpen, m_label);
    clearStatus();
    if (!flush())
        return false;
    const int pos = fieldPos(keyField);
    if (pos == 0 || m_hdr.fields[pos - 1].type != u'C')
        return setError(DbfErrorCode::Index, keyField);
    auto idx = std::make_unique<DbfIndex>();
    idx->tag = tag.trimmed().toUpper();
    idx->keyField = m_hdr.fields[pos - 1].name;
    idx->unique = unique;
    m_index = std::move(idx);
    m_indexPath = QFileInfo(indexPath).absoluteFilePath();
    m_index->entries.append({QByteArray("\x01", 1), 0}); // forces the first write
    if (!rebuildIndex(true)) {
        m_index.reset();
        return false;
    }
    m_order = 1;
    return goTop();
}

bool DbfTable::setIndex(const QString &indexPath)
{
    if (m_fd < 0)
        return setError(DbfErrorCode::NotOpen, m_label);
    clearStatus();
    QString why;
    const QString path = resolveCase(indexPath);
    std::optional<DbfIndex> file = DbfIndex::load(path, &why);
    if (!file)
        return setError(DbfErrorCode::Index, QFileInfo(path).fileName() + QStringLiteral(": ") + why);
    const int pos = fieldPos(file->keyField);
    if (pos == 0 || m_hdr.fields[pos - 1].type != u'C')
        return setError(DbfErrorCode::Index, QFileInfo(path).fileName() + QStringLiteral(": ") + file->keyField);
    if (!flush())
        return false;
    m_index = std::make_unique<DbfIndex>(std::move(*file));
    m_indexPath = path;
    // The keys come from the table itself; the file is brought up to date when they differ.
    if (!rebuildIndex(!m_readOnly)) {
        m_index.reset();
        return false;
    }
    return true;
}

bool DbfTable::setOrder(int order)
{
    if (order < 0 || order > (m_index ? 1 : 0))
        return setError(DbfErrorCode::Index, QString::number(order));
    m_order = order;
    return true;
}

bool DbfTable::seek(const QString &key)
{
    if (m_fd < 0)
        return setError(DbfErrorCode::NotOpen, m_label);
    clearStatus();
    m_found = false;
    if (!m_index || m_order == 0)
        return setError(DbfErrorCode::Index, QStringLiteral("sıralama seçilmedi"));
    if (!flush() || !refreshCount())
        return false;
    m_bof = false;
    qsizetype p = m_index->seek(Cp1254Codec::encode(key));
    while (p >= 0 && p < m_index->entries.size() && hidden(m_index->entries[p].recNo)) {
        ++p;
        if (p < m_index->entries.size() && !m_index->entries[p].key.startsWith(Cp1254Codec::encode(key)))
            p = -1;
    }
    if (p < 0 || p >= m_index->entries.size()) {
        positionEof();
        return false;
    }
    positionAt(m_index->entries[p].recNo);
    m_found = !m_status;
    return m_found;
}

QVariant DbfTable::orderKeyVal()
{
    if (m_fd < 0 || !m_index || m_order == 0 || m_eof)
        return {};
    const int pos = fieldPos(m_index->keyField);
    if (pos == 0)
        return {};
    return fieldGet(pos).toString().leftJustified(m_index->keyLength, u' ', true);
}

bool DbfTable::setDeleted(bool hide)
{
    const bool previous = g_hideDeleted;
    g_hideDeleted = hide;
    return previous;
}

bool DbfTable::deletedHidden()
{
    return g_hideDeleted;
}

} // namespace vexo
