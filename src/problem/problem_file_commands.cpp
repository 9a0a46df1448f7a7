#include "problem/problem_file_commands.h"

#include "platform/dbf_header.h"
#include "platform/file_attributes.h"
#include "platform/file_dialogs.h"
#include "platform/message_sink.h"
#include "platform/own_temp_files.h"
#include "problem/app_globals.h"
#include "problem/dbserverr.h"
#include "problem/file_names.h"
#include "problem/file_ops.h"
#include "problem/messages.h"
#include "problem/open_problem.h"
#include "problem/problem_file.h"
#include "problem/problem_loader.h"
#include "problem/problem_saver.h"
#include "problem/system_queries.h"
#include "problem/turkish_text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace vexo {

namespace {

const QString kError = QStringLiteral("Hata...");
const QString kWarning = QStringLiteral("Uyarı...");
constexpr int kCurrentFieldCount = 25;

void error(ProblemFileHost &host, const QString &text)
{
    ERRMESS(host.owner(), kError, text);
}

// A save that went through, but could not keep all of who may read or write the file.
void tellNarrowedRights(ProblemFileHost &host, const QString &file, const QString &narrowed)
{
    if (!narrowed.isEmpty())
        showMessage(host.owner(), kWarning, file + QStringLiteral(" kaydedildi, ancak ") + narrowed + u'.',
                    MB_OK | MB_ICONEXCLAMATION);
}

QString openPath()
{
    const OpenProblem &p = openProblem();
    return p.OPROBDBF ? p.OPROBDBF->path() : QString();
}

void closeTable()
{
    OpenProblem &p = openProblem();
    if (p.OPROBDBF) {
        p.OPROBDBF->close();
        p.OPROBDBF.reset();
    }
}

// A new, empty problem file in one of our temporaries beside the target (so that the final rename
// stays inside one file system), held from its creation; not open, after a message, when it cannot
// be made.
OwnTempFile newProblemFileBeside(QWidget *owner, const QString &target, mode_t mode = 0666)
{
    OwnTempFile part = OwnTempFile::create(target, OwnTempFile::Hold::Shared, mode);
    QByteArray bytes = DbfHeader::forStructure(DATAFILESTRUCT()).bytes();
    bytes += '\x1A';
    if (!part.isOpen() || !part.write(bytes)) {
        part.remove();
        // A disk without room is named as such.
        const QString full = diskFullText(QFileInfo(target).absolutePath(), qint64(bytes.size()));
        ERRMESS(owner, QString(),
                GETFILENAME(target) + QStringLiteral(" dosyası oluşturulamadı...")
                    + (full.isEmpty() ? QString() : QStringLiteral(" : ") + full));
    }
    return part;
}

// The file that a save as replaces, held open from before the copy is made, so that the copy takes
// the rights of the file it replaces even if the name changes meanwhile. Nothing when the name is
// free.
class ReplacedFile
{
public:
    explicit ReplacedFile(const QString &path)
        : m_path(QFile::encodeName(path))
        , m_fd(::open(m_path.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC))
    {
        if (m_fd >= 0 && ::fstat(m_fd, &m_st) != 0) {
            ::close(m_fd);
            m_fd = -1;
        }
    }
    ~ReplacedFile()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    ReplacedFile(const ReplacedFile &) = delete;
    ReplacedFile &operator=(const ReplacedFile &) = delete;

    // The mode a copy is made with: the file's, or that of any new file.
    mode_t mode() const { return m_fd >= 0 ? mode_t(m_st.st_mode & 0777) : mode_t(0666); }
    // Gives the copy the file's rights (copyFileRights); false with the reason when it may not take
    // the file's place, and in *narrowed what it could not keep although it may.
    bool giveRightsTo(const OwnTempFile &copy, QString *why, QString *narrowed) const
    {
        if (m_fd < 0)
            return true;
        const CopiedRights rights = copyFileRights(m_fd, m_path, copy.fd(), copy.nativePath());
        *narrowed = rights.narrowed;
        if (rights.refusal == CopiedRights::Refusal::None)
            return true;
        *why = QFile::decodeName(m_path) + QStringLiteral(": ") + rights.why;
        return false;
    }

private:
    QByteArray m_path;
    int m_fd = -1;
    struct stat m_st = {};
};

// The seven dirty flags, kept across a save that writes into another table.
struct DirtyFlags
{
    std::array<bool, 7> flags{};

    static std::array<bool *, 7> of(OpenProblem &p)
    {
        return {&p.LYMDEG, &p.LYMSTOKDEG, &p.LBMDEG, &p.LBMODEG, &p.LYMGDEG, &p.LAMATDEG, &p.LPRMDEG};
    }
    static DirtyFlags taken(OpenProblem &p)
    {
        DirtyFlags kept;
        const std::array<bool *, 7> live = of(p);
        for (size_t i = 0; i < live.size(); ++i)
            kept.flags[i] = *live[i];
        return kept;
    }
    void restore(OpenProblem &p) const
    {
        const std::array<bool *, 7> live = of(p);
        for (size_t i = 0; i < live.size(); ++i)
            *live[i] = flags[i];
    }
};

// Writes the whole problem in memory into another (empty) table, as the conversion does; the open
// table stays the open one. On failure the flags are as they were.
bool saveWholeProblemInto(std::unique_ptr<DBSERVERR> &table, QString *why)
{
    OpenProblem &p = openProblem();
    const DirtyFlags before = DirtyFlags::taken(p);
    std::swap(p.OPROBDBF, table);
    p.setAllDirty(true);
    const bool saved = PROBDBFUPDATE(why);
    std::swap(p.OPROBDBF, table);
    if (!saved)
        before.restore(p);
    return saved;
}

QStringList newProblemParameters()
{
    return {QStringLiteral("K"), QStringLiteral("1000.00"), QStringLiteral("Krş"), QStringLiteral("Kg"),
            QString(40, u' '), QString(40, u' '), QString(40, u' '), QString(11, u' ')};
}

} // namespace

QString problemCaption(const QString &path)
{
    const QString shown = PROBFILEDIR(path) == appGlobals().CVERIDIZIN ? GETFILENAME(path) : path;
    return QStringLiteral("VEXO_Zud 2.6 - ") + shown;
}

bool FILEOPEN(ProblemFileHost &host)
{
    const QString folder = appGlobals().CVERIDIZIN;
    const QString path = fileDialogs().openFile(host.owner(), QStringLiteral("Aç..."), folder,
                                                QStringLiteral("VEXO_Zud Veri Dosyası(*.VKD *.vkd)"));
    VXODEFAULTS();
    if (path.isEmpty())
        return false;
    return DOOPENFILE(host, path);
}

bool DOOPENFILE(ProblemFileHost &host, const QString &path)
{
    const bool newFile = host.LNEWFILE;
    host.LNEWFILE = false;
    if (path.isEmpty())
        return false;
    if (path.size() <= 3 || path.right(4).toUpper() != QStringLiteral(".VKD")) {
        error(host, GETFILENAME(path) + QStringLiteral(" dosyası bir VEXO_Zud 2.6 veri dosyası değil..."));
        return false;
    }
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile()) {
        error(host, GETFILENAME(path) + QStringLiteral(" dosyası bulunamıyor..."));
        return false;
    }
    OpenProblem &p = openProblem();
    if (p.isOpen()) {
        if (ISSAMEFILE(openPath(), path))
            return false;
        if (!FILECLOSE(host))
            return false;
    }
    FACLEARRO(path);
    if (!DATAFOPEN(host.owner(), path)) {
        host.MI_ENADISABLE();
        return false;
    }
    if (p.OPROBDBF->fCount() < kCurrentFieldCount) {
        if (!ESKIDDONUSTUR(host, path)) {
            closeTable();
            host.MI_ENADISABLE();
            error(host, QStringLiteral("Dosya dönüştürme başarısız..."));
            return false;
        }
        if (!DATAFOPEN(host.owner(), path)) {
            host.MI_ENADISABLE();
            return false;
        }
    }
    if (p.OPROBDBF->lastRec() == 0) {
        if (newFile) {
            p.APARMLIST = newProblemParameters();
            p.LPRMDEG = true;
            QString reason;
            if (!PROBDBFUPDATE(&reason))
                error(host, reason.isEmpty() ? QStringLiteral("Dosya kaydedilemedi...") : reason);
        }
    } else if (!AKTPRODIZOLUSTUR(host.owner())) {
        closeTable();
        host.MI_ENADISABLE();
        return false;
    } else {
        p.KAYITLICOZUM();
    }
    host.setCaption(problemCaption(path));
    host.MI_ENADISABLE();
    host.YM_GIRIS();
    host.OBFIRST();
    return true;
}

void YENIDOSYAGIR(ProblemFileHost &host)
{
    const std::optional<QString> typed = host.askNewFileName();
    if (!typed || typed->trimmed().isEmpty())
        return;
    QString name = typed->trimmed();
    if (name.size() > 4 && name.right(4).toUpper() == QStringLiteral(".VKD"))
        name.chop(4);
    name = CHRCONT(name) + QStringLiteral(".VKD");
    const QString path = appGlobals().CVERIDIZIN + QLatin1Char('/') + name;
    const bool exists = QFileInfo::exists(path);
    if (exists) {
        const QString question = GETFILENAME(path) + QStringLiteral(" dosyası mevcut!") +
                                 QStringLiteral("\n\nÜzerine yazılsın mı?");
        if (!askYesNo(host.owner(), kWarning, question, MB_ICONQUESTION))
            return;
        if (openProblem().isOpen() && ISSAMEFILE(openPath(), path)) {
            // The file is replaced by an empty one: its editors go first, then the table, unsaved.
            if (!host.closeEditors())
                return;
            closeTable();
            host.MI_ENADISABLE();
        }
    }
    // An open problem with changes is closed (its save question answered) before anything is deleted
    // or made: a close abandoned on that question leaves the folder as it was.
    if (openProblem().isOpen())
        host.WHOCHANGES();
    if (openProblem().isOpen() && openProblem().anyDirty() && !FILECLOSE(host))
        return;
    if (exists)
        SFDELETE(path);
    if (!DATAFILECREATE(host.owner(), path))
        return;
    host.LNEWFILE = true;
    DOOPENFILE(host, path);
}

bool FILECLOSE(ProblemFileHost &host)
{
    OpenProblem &p = openProblem();
    // The editors commit first, so the question below sees their edits; they stay open until the
    // answer, so a cancelled close leaves everything as it was.
    if (p.isOpen())
        host.WHOCHANGES();
    if (p.isOpen() && p.anyDirty()) {
        const QString question = GETFILENAME(openPath()) + QStringLiteral(" dosyasındaki veriler değişmiş.") +
                                 QStringLiteral("\n\nDeğişiklikleri kaydetmek istiyor musunuz?");
        const MessageAnswer answer = askSaveBeforeClosing(host.owner(), kWarning, question, MB_ICONQUESTION);
        if (answer == MessageAnswer::Cancel)
            return false;
        if (answer == MessageAnswer::Yes && !KAYDET(host))
            return false;
    }
    if (!host.closeEditors())
        return false;
    closeTable();
    host.MI_ENADISABLE();
    return true;
}

bool KAYDET(ProblemFileHost &host)
{
    if (!openProblem().isOpen())
        return false;
    host.WHOCHANGES();
    QString reason;
    if (PROBDBFUPDATE(&reason)) {
        tellNarrowedRights(host, GETFILENAME(openPath()), problemSaveNarrowedRights());
        return true;
    }
    if (problemFileChangedElsewhere()) {
        // Writing the whole problem over it would silently drop the other program's save; the user's
        // changes stay marked and can go into a file of their own.
        const QString question = reason + QStringLiteral("\n\nDeğişikliklerinizi kaybetmemek için şimdi "
                                                         "Farklı Kaydet ile başka bir adla kaydetmek ister misiniz?");
        return askYesNo(host.owner(), kWarning, question, MB_ICONEXCLAMATION) && FKAYDET(host);
    }
    error(host, reason.isEmpty() ? QStringLiteral("Dosya kaydedilemedi...") : reason);
    return false;
}

bool FKAYDET(ProblemFileHost &host)
{
    OpenProblem &p = openProblem();
    if (!p.isOpen())
        return false;
    const QString current = openPath();
    int filter = 1;
    const QString chosen = fileDialogs().saveFileWithFilter(
        host.owner(), QStringLiteral("Farklı Kaydet"), current,
        {QStringLiteral("VEXO_Zud Veri Dosyası (*.VKD)"), QStringLiteral("VEXO_Pro Veri Dosyası (*.VVD)")}, filter);
    VXODEFAULTS();
    const QString safe = chosen.isEmpty() ? QString() : SCHARFROMBASE(chosen);
    if (safe.isEmpty() || QFileInfo(safe).fileName().isEmpty()) {
        host.STATUSMESSAGE(QStringLiteral("Geçerli dosya adı girilmedi..."));
        return false;
    }
    const bool keepOpen = filter == 1;
    const QString target = SFILEBASE(safe) + (keepOpen ? QStringLiteral(".VKD") : QStringLiteral(".VVD"));
    // The open file is known by what it is, not by how its name is spelt: a name that now holds
    // another file (put there or changed by another program) is an existing file like any other, and
    // a name the open file left (moved, deleted) is free.
    if (p.OPROBDBF->holdsUnchangedFileAt(target)) {
        host.STATUSMESSAGE(QStringLiteral("Açık dosyayı kendi üzerine kaydetme teşbbüsü..."));
        return false;
    }
    if (QFileInfo::exists(target)) {
        const QString question = GETFILENAME(target) + QStringLiteral(" Dosyası mevcut!") +
                                 QStringLiteral("\n\nÜzerine yazılsın mı?");
        if (!askYesNo(host.owner(), kWarning, question, MB_ICONSTOP))
            return false;
    }
    // The open problem goes into its own file first. When that save fails for whatever reason (another
    // program changed, deleted or is saving the file, its disk is full, its folder takes no file, its
    // owner cannot be kept), the old file stays as it is and the new one is written whole from memory:
    // the edits are never stuck in a file that cannot take them.
    host.WHOCHANGES();
    QString reason;
    const bool fromMemory = !PROBDBFUPDATE(&reason);
    const DirtyFlags unsaved = DirtyFlags::taken(p);
    const qint64 needed = std::max<qint64>(QFileInfo(current).size(), 64 * 1024);

    // The copy is made complete under a temporary name and then renamed over the target, so an
    // existing file is replaced only by a whole copy.
    // A file replaced keeps who may read and write it: the copy is made with its mode and takes its
    // owner, group, access-control list and attributes before it takes its name.
    const ReplacedFile replaced(target);
    OwnTempFile part = newProblemFileBeside(host.owner(), target, replaced.mode());
    if (!part.isOpen())
        return false;
    const QString removeText = QStringLiteral("\r\n\r\nŞimdi bu dosyayı sileceğim. Sonra tekrar deneyiniz");
    QString narrowed;
    {
        // Shared, as the temporary's own lock is; on any failure the temporary goes with `part`.
        auto copy = std::make_unique<DBSERVERR>(part.path(), true, false, QStringLiteral("DBFCDX"));
        copy->setLabel(GETFILENAME(target)); // messages name the user's file, not the temporary
        if (copy->status()) {
            copy->close();
            error(host, QStringLiteral("Farklı kaydedilen dosya açılmadı...") + removeText + QLatin1Char('!'));
            return false;
        }
        reason.clear();
        bool appended = fromMemory ? saveWholeProblemInto(copy, &reason) : copy->appendDb(*p.OPROBDBF) && copy->commit();
        if (!appended && !fromMemory && copy->status())
            reason = copy->status()->text();
        if (appended && !replaced.giveRightsTo(part, &reason, &narrowed))
            appended = false;
        // Renamed while the table still holds it, so that the copy is never without its writer's lock.
        if (appended && !part.renameOver(target)) {
            appended = false;
            reason = part.errorString();
        }
        copy->close();
        if (!appended) {
            // A disk without room is named as such; any other cause with its own text.
            const QString full = diskFullText(QFileInfo(target).absolutePath(), needed);
            const QString cause = full.isEmpty() ? reason : full;
            error(host, QStringLiteral("Farklı kaydedilen dosyaya veriler aktarılamadı...")
                            + (cause.isEmpty() ? QString() : QStringLiteral(" : ") + cause) + removeText + QLatin1Char('.'));
            return false;
        }
    }
    host.STATUSMESSAGE(QStringLiteral("Dosya başarıyla farklı kaydedildi..."));
    tellNarrowedRights(host, GETFILENAME(target), narrowed);
    if (!keepOpen) {
        // The open file does not hold the changes that only the export received.
        unsaved.restore(p);
        return true;
    }
    if (!DATAFOPEN(host.owner(), target)) {
        if (!DATAFOPEN(host.owner(), current))
            host.MI_ENADISABLE();
        else
            unsaved.restore(p);
        return false;
    }
    host.setCaption(problemCaption(target));
    return true;
}

bool ESKIDDONUSTUR(ProblemFileHost &host, const QString &path)
{
    OpenProblem &p = openProblem();
    const bool loaded = AKTPRODIZOLUSTUR(host.owner());
    closeTable();
    if (!loaded)
        return false;
    const QString tempFolder = appGlobals().CVERIKOK + QStringLiteral("/Temp_Data");
    if (!QDir().mkpath(tempFolder)) {
        showMessage(host.owner(), kWarning,
                    QStringLiteral("Geçici dizin oluşturma başarısız... : ") + QString::fromLocal8Bit(std::strerror(errno)),
                    MB_OK | MB_ICONINFORMATION);
        return false;
    }
    const QString temp = tempFolder + QLatin1Char('/') + GETFILENAME(path);
    if (QFileInfo::exists(temp))
        SFDELETE(temp);
    if (!DATAFILECREATE(host.owner(), temp) || !DATAFOPEN(host.owner(), temp))
        return false;
    p.setAllDirty(true);
    const bool saved = KAYDET(host);
    closeTable();
    host.MI_ENADISABLE();
    if (!saved) {
        QFile::remove(temp);
        return false;
    }
    // The converted file replaces the original whole (written beside it and renamed over it); until
    // then the original stays as it was.
    if (!SFCOPY(temp, path)) {
        error(host, QStringLiteral("Dönüştürülen dosya yerine kopyalanamadı..."));
        return false;
    }
    QFile::remove(temp);
    return true;
}

} // namespace vexo
