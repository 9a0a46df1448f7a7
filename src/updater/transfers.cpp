#include "updater/transfers.h"

#include "platform/message_sink.h"

#include <QDir>

namespace vexo {

namespace {

void say(const TransferView &view, const QString &text)
{
    if (view.status)
        view.status(text);
}

// The progress a session reports, as steps of the window's bar.
InetSession::Progress barProgress(const TransferView &view)
{
    return [&view](qint64) { return view.barStep ? view.barStep() : true; };
}

bool plainName(const QString &name)
{
    return !name.isEmpty() && name != u"." && name != u".." && !name.contains(u'/') && !name.contains(u'\\');
}

// "[name]" without its brackets; empty for anything else and for the parent row.
QString unbracketed(const QString &name)
{
    if (name.size() < 3 || !name.startsWith(u'[') || !name.endsWith(u']'))
        return {};
    const QString inner = name.mid(1, name.size() - 2);
    return plainName(inner) ? inner : QString();
}

} // namespace

int transferBarMaximum(qint64 size)
{
    return size == kUnknownSize ? 0 : int(qMax<qint64>(size, 0) / kTransferBlock) + 2;
}

int RAISEFTPERROR(const InetSession *session)
{
    const int n = session ? session->Error() : 0;
    if (n > 0 && !session->ErrorMsg().isEmpty())
        showMessage(nullptr, QStringLiteral("FTP hatası ") + QString::number(n), session->ErrorMsg(), MB_OK);
    return n;
}

bool GETLOWLEVEL(InetSession &session, const QString &localFolder, const QString &name, qint64 size,
                 const TransferView &view)
{
    say(view, QStringLiteral("Dosya alınıyor ..."));
    bool ok = false;
    if (plainName(name)) {
        if (view.barShown)
            view.barShown(transferBarMaximum(size));
        ok = session.getFile(name, QDir(localFolder).filePath(name), size, barProgress(view));
        if (view.barReset)
            view.barReset();
    }
    say(view, ok ? QStringLiteral("Dosya alındı") : QStringLiteral("Dosya ") + name + QStringLiteral(" alınamıyor"));
    return ok;
}

bool PUTLOWLEVEL(InetSession &session, const QString &localFolder, const QString &name, qint64 size,
                 const TransferView &view)
{
    say(view, QStringLiteral("Dosya gönderiliyor ..."));
    bool ok = false;
    if (plainName(name)) {
        if (view.barShown)
            view.barShown(transferBarMaximum(size));
        ok = session.putFile(QDir(localFolder).filePath(name), name, barProgress(view));
        if (view.barReset)
            view.barReset();
    }
    say(view, ok ? QStringLiteral("Dosya gönderildi!") : QStringLiteral("Dosya gönderilemedi!"));
    return ok;
}

bool remoteCommandAllowed(bool connected, const InetSession *session)
{
    if (!connected || !session) {
        showMessage(nullptr, QStringLiteral("Hata..."), QStringLiteral("Bağlantı kurulamadı..."), MB_OK);
        return false;
    }
    if (session->isHttp()) {
        showMessage(nullptr, QStringLiteral("Uyarı..."), QStringLiteral("HTTP ile işlem mümkün değil..."), MB_OK);
        return false;
    }
    return true;
}

bool deleteRemoteFile(InetSession &session, const QString &name)
{
    return !name.isEmpty() && session.DeleteFile(name);
}

bool removeRemoteDir(InetSession &session, const QString &bracketedName)
{
    const QString dir = unbracketed(bracketedName);
    return !dir.isEmpty() && session.RemoveDir(dir);
}

bool createRemoteDir(InetSession &session, const QString &name)
{
    return !name.isEmpty() && session.CreateDir(name);
}

QString GETDIRNAME(const QList<ListingEntry> &)
{
    return {};
}

bool removeLocalFolder(const QString &localFolder, const QString &bracketedName)
{
    const QString dir = unbracketed(bracketedName);
    return !dir.isEmpty() && QDir(localFolder).rmdir(dir);
}

bool createLocalFolder(const QString &localFolder, const QString &name)
{
    return plainName(name) && QDir(localFolder).mkdir(name);
}

} // namespace vexo
