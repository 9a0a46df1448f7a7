// The updater window's transfers: the get-update command with its up-to-date test and download, and
// the remote and local file commands no control reaches.
#include "updater/ftp_win.h"

#include "platform/message_sink.h"
#include "updater/my_list_view.h"
#include "updater/transfers.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QProgressBar>

namespace vexo {

using namespace Qt::StringLiterals;

namespace {

void box(const QString &caption, const QString &text, unsigned style = MB_OK)
{
    showMessage(nullptr, caption, text, style);
}

} // namespace

TransferView FTPWIN::transferView()
{
    QPointer<FTPWIN> self(this);
    TransferView view;
    view.status = [self](const QString &text) {
        if (self)
            self->setFTPSTATUS(text);
    };
    // A size not known shows the bar busy, with no share done.
    view.barShown = [self](int maximum) {
        if (!self)
            return;
        if (maximum > 0) {
            self->FTPBAR()->setRange(1, maximum);
            self->FTPBAR()->setValue(1);
        } else {
            self->FTPBAR()->setRange(0, 0);
        }
        self->FTPBAR()->show();
    };
    // One step a block, the last short block included, as the bar counted reads; the window's events
    // run between blocks, and a closed window aborts the transfer.
    view.barStep = [self] {
        if (!self || self->m_aborted)
            return false;
        QProgressBar *b = self->FTPBAR();
        if (b->maximum() > 0)
            b->setValue(qMin(b->maximum(), b->value() + 1));
        QCoreApplication::processEvents();
        return self && !self->m_aborted;
    };
    view.barReset = [self] {
        if (!self)
            return;
        if (self->FTPBAR()->maximum() == 0)
            self->FTPBAR()->setMaximum(1); // busy no more
        self->FTPBAR()->reset();
    };
    return view;
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
        QString text = u"Programdan çıktıktan sonra, <"_s + QDir::toNativeSeparators(CSETUPDIR_())
            + u"> dizinine geçip,"_s + u"\r\n"_s
            + u"indirilen <Setup> programını çalıştırarak programı yeniden kurunuz..."_s;
        // Where no size was named the file may have come cut short: say so, and where the copy it
        // replaced is kept.
        if (!m_session->lastSizeChecked()) {
            text += u"\r\n\r\nSunucu dosyanın boyunu bildirmediği için dosyanın tam inip inmediği denetlenemedi..."_s;
            const QFileInfo kept(earlierCopyPath(QDir(m_localDirPath).filePath(file)));
            if (kept.isFile())
                text += u"\r\nÖnceki kopya <"_s + kept.fileName() + u"> adıyla saklandı..."_s;
        }
        box(u"Durum..."_s, text, MB_OK | MB_ICONINFORMATION);
    } else {
        RAISEFTPERROR();
    }
}

bool FTPWIN::GETLOWLEVEL(const QString &file, qint64 size)
{
    if (!m_session)
        return false;
    // The session writes beside the target and replaces an earlier copy only with a complete file,
    // so the earlier copy is not erased first.
    QPointer<FTPWIN> self(this);
    bool ok = false;
    {
        Busy busy(this);
        ok = vexo::GETLOWLEVEL(*m_session, m_localDirPath, file, size, transferView());
        if (!self)
            return false;
    }
    return stillWanted() && ok;
}

// ---- remote commands

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
    QPointer<FTPWIN> self(this);
    bool ok = false;
    {
        Busy busy(this);
        ok = vexo::PUTLOWLEVEL(*m_session, m_localDirPath, file, size, transferView());
        if (!self)
            return false;
    }
    return stillWanted() && ok;
}

void FTPWIN::FTPDELETEFILE()
{
    if (m_busy || !remoteCommandAllowed(m_connected, m_session.get()))
        return;
    const QString file = CURRENTREMOTEFILE();
    if (file.isEmpty())
        return;
    if (deleteRemoteFile(*m_session, file))
        FILLFILEBOX_();
    else
        RAISEFTPERROR();
}

void FTPWIN::FTPREMOVEDIR()
{
    if (m_busy || !remoteCommandAllowed(m_connected, m_session.get()))
        return;
    const QString dir = CURRENTREMOTEFILE(true);
    if (dir.isEmpty())
        return;
    if (removeRemoteDir(*m_session, dir))
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
    if (createRemoteDir(*m_session, dir))
        FILLFILEBOX_();
    else
        RAISEFTPERROR();
}

void FTPWIN::REMOVEDIR()
{
    if (m_busy)
        return;
    const QString dir = CURRENTLOCALFILE(true);
    if (!dir.isEmpty() && removeLocalFolder(m_localDirPath, dir))
        FILLLOCALBOX_();
}

void FTPWIN::CREATEDIR()
{
    if (m_busy)
        return;
    const QString dir = GETDIRNAME(m_localFiles);
    if (!dir.isEmpty() && createLocalFolder(m_localDirPath, dir))
        FILLLOCALBOX_();
}

QString FTPWIN::GETDIRNAME(const QList<ListingEntry> &listing) const
{
    return vexo::GETDIRNAME(listing);
}

} // namespace vexo
