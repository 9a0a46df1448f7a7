// The updater window's transfers: the get-update command with its up-to-date test and download, and
// the remote and local file commands no control reaches.
#include "updater/ftp_win.h"

#include "platform/message_sink.h"
#include "updater/my_list_view.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QProgressBar>

namespace vexo {

using namespace Qt::StringLiterals;

namespace {

constexpr qint64 kBlock = 2500;

void box(const QString &caption, const QString &text, unsigned style = MB_OK)
{
    showMessage(nullptr, caption, text, style);
}

} // namespace

InetSession::Progress FTPWIN::blockProgress(qint64 size)
{
    QProgressBar *bar = FTPBAR();
    bar->setRange(1, int(qMin<qint64>(size / kBlock + 2, std::numeric_limits<int>::max())));
    bar->reset();
    bar->setValue(1);
    bar->show();
    QPointer<FTPWIN> self(this);
    // One step a block, the last short block included, as the bar counted reads.
    return [self](qint64) {
        if (!self || self->m_aborted)
            return false;
        QProgressBar *b = self->FTPBAR();
        b->setValue(qMin(b->maximum(), b->value() + 1));
        QCoreApplication::processEvents();
        return self && !self->m_aborted;
    };
}

bool FTPWIN::GUNCELMI(QString &message)
{
    UpToDateInput in;
    in.localListHasRows = LOCALBOX()->rowCount() > 0;
    // The program's own file is looked for by its exact name; on this system it need not end in ".EXE".
    in.programFolderExes = listLocalFolder(programFolderOfFile(), u"*"_s);
    in.progFile = QFileInfo(CPROGFILE_()).fileName();
    in.remoteRow = FILEBOX()->currentRow();
    if (in.remoteRow)
        in.remoteRow->date = FILEBOX()->GETITEMDATE();
    in.setupFolderExes = listLocalFolder(CSETUPDIR_(), u"*"_s);
    in.setupFile = CSETUPFILE_();
    in.setupFolder = CSETUPDIR_();
    const UpToDate answer = vexo::GUNCELMI(in);
    if (answer.upToDate)
        message = answer.message;
    return answer.upToDate;
}

void FTPWIN::FTPGETFILE()
{
    if (m_busy)
        return;
    if (!m_connected) {
        box(u"Hata..."_s, u"Bağlantı kurulamadı..."_s);
        return;
    }
    QString message;
    if (GUNCELMI(message)) {
        box(u"Uyarı..."_s, message.isEmpty() ? u"Programınız güncel..."_s : message);
        return;
    }
    qint64 size = 0;
    const QString file = CURRENTREMOTEFILE(false, &size);
    // Only the setup file ever lands in the local folder: no other name from the server becomes a path.
    if (file.isEmpty() || file != CSETUPFILE_())
        return;
    QPointer<FTPWIN> self(this);
    const bool ok = GETLOWLEVEL(file, size);
    if (!self || m_aborted)
        return;
    if (ok) {
        FILLLOCALBOX_();
        box(u"Durum..."_s,
            u"Programdan çıktıktan sonra, <"_s + QDir::toNativeSeparators(CSETUPDIR_()) + u"> dizinine geçip,"_s
                + u"\r\n"_s + u"indirilen <Setup> programını çalıştırarak programı yeniden kurunuz..."_s,
            MB_OK | MB_ICONINFORMATION);
    } else {
        RAISEFTPERROR();
    }
}

bool FTPWIN::GETLOWLEVEL(const QString &file, qint64 size)
{
    if (!m_session)
        return false;
    setFTPSTATUS(u"Dosya alınıyor ..."_s);
    // The session writes beside the target and replaces an earlier copy only with a complete file,
    // so the earlier copy is not erased first.
    const QString target = QDir(m_localDirPath).filePath(file);
    QPointer<FTPWIN> self(this);
    bool ok = false;
    {
        Busy busy(this);
        ok = m_session->getFile(file, target, size, blockProgress(size));
        if (!self)
            return false;
    }
    FTPBAR()->reset();
    if (!stillWanted())
        return false;
    setFTPSTATUS(ok ? u"Dosya alındı"_s : u"Dosya "_s + file + u" alınamıyor"_s);
    return ok;
}

// ---- remote commands

namespace {

bool remoteCommandAllowed(bool connected, const InetSession *session)
{
    if (!connected || !session) {
        box(u"Hata..."_s, u"Bağlantı kurulamadı..."_s);
        return false;
    }
    if (session->isHttp()) {
        box(u"Uyarı..."_s, u"HTTP ile işlem mümkün değil..."_s);
        return false;
    }
    return true;
}

QString unbracketed(const QString &name)
{
    return name.size() >= 2 ? name.mid(1, name.size() - 2) : QString();
}

} // namespace

void FTPWIN::FTPPUTFILE()
{
    if (m_busy || !remoteCommandAllowed(m_connected, m_session.get()))
        return;
    qint64 size = 0;
    const QString file = CURRENTLOCALFILE(false, &size);
    if (file.isEmpty())
        return;
    QPointer<FTPWIN> self(this);
    const bool ok = PUTLOWLEVEL(file, size);
    if (!self || m_aborted)
        return;
    if (ok)
        FILLFILEBOX_();
    else
        RAISEFTPERROR();
}

bool FTPWIN::PUTLOWLEVEL(const QString &file, qint64 size)
{
    if (!m_session)
        return false;
    const QString local = QDir(m_localDirPath).filePath(file);
    const QFileInfo info(local);
    if (!info.isFile() || !info.isReadable())
        return false;
    setFTPSTATUS(u"Dosya gönderiliyor ..."_s);
    QPointer<FTPWIN> self(this);
    bool ok = false;
    {
        Busy busy(this);
        ok = m_session->putFile(local, file, blockProgress(size));
        if (!self)
            return false;
    }
    FTPBAR()->reset();
    if (!stillWanted())
        return false;
    // A failed write is a failed upload.
    setFTPSTATUS(ok ? u"Dosya gönderildi!"_s : u"Dosya gönderilemedi!"_s);
    return ok;
}

void FTPWIN::FTPDELETEFILE()
{
    if (m_busy || !remoteCommandAllowed(m_connected, m_session.get()))
        return;
    const QString file = CURRENTREMOTEFILE();
    if (file.isEmpty())
        return;
    if (m_session->DeleteFile(file))
        FILLFILEBOX_();
    else
        RAISEFTPERROR();
}

void FTPWIN::FTPREMOVEDIR()
{
    if (m_busy || !remoteCommandAllowed(m_connected, m_session.get()))
        return;
    const QString dir = unbracketed(CURRENTREMOTEFILE(true));
    if (dir.isEmpty())
        return;
    if (m_session->RemoveDir(dir))
        FILLFILEBOX_();
    else
        RAISEFTPERROR();
}

void FTPWIN::FTPCREATEDIR()
{
    if (m_busy || !remoteCommandAllowed(m_connected, m_session.get()))
        return;
    const QString dir = GETDIRNAME(m_remoteFiles);
    if (dir.isEmpty())
        return;
    if (m_session->CreateDir(dir))
        FILLFILEBOX_();
    else
        RAISEFTPERROR();
}

void FTPWIN::REMOVEDIR()
{
    if (m_busy)
        return;
    const QString dir = unbracketed(CURRENTLOCALFILE(true));
    // The parent row names no folder of the list.
    if (dir.isEmpty() || dir == u"." || dir == u"..")
        return;
    if (QDir(m_localDirPath).rmdir(dir))
        FILLLOCALBOX_();
}

void FTPWIN::CREATEDIR()
{
    if (m_busy)
        return;
    const QString dir = GETDIRNAME(m_localFiles);
    if (dir.isEmpty())
        return;
    if (QDir(m_localDirPath).mkdir(dir))
        FILLLOCALBOX_();
}

QString FTPWIN::GETDIRNAME(const QList<ListingEntry> &) const
{
    return {}; // no name is asked for, so the create commands do nothing
}

} // namespace vexo
