#pragma once
// The updater's transfers and remote commands without the window: the window hands in its status
// line and progress bar as callbacks and shows what these return.
#include "updater/inet_session.h"
#include "updater/listing.h"

#include <QList>
#include <QString>

#include <functional>

namespace vexo {

// The block a transfer moves between two steps of the progress bar.
constexpr qint64 kTransferBlock = 2500;
// The bar's range for a transfer of `size` bytes runs from 1 to this; 0 for a size not known
// (kUnknownSize), where the bar shows that it is busy instead.
int transferBarMaximum(qint64 size);

// What a transfer shows in the window. Every member may be empty.
struct TransferView
{
    std::function<void(const QString &text)> status; // the status line
    std::function<void(int maximum)> barShown;       // the bar shown with the range 1 to maximum; busy for 0
    std::function<bool()> barStep;                   // one block moved; false aborts (the window went)
    std::function<void()> barReset;                  // the bar back to 0 after the transfer
};

// The session's error as a box captioned "FTP hatası " + number (through the message seam) when
// the number is above 0 and the text is not empty; answers the number (0 without a session).
int RAISEFTPERROR(const InetSession *session);

// Downloads the remote file `name` of `size` bytes (as listed, kUnknownSize where the listing named
// none) from the session's current directory into localFolder + "/" + name. Status "Dosya alınıyor
// ..." and then "Dosya alındı" when exactly `size` bytes came without error (any number of bytes
// for an unknown size, within the session's limits; the session's lastSizeChecked then tells
// whether the reply named a size), otherwise "Dosya " + name + " alınamıyor" and false, the
// earlier copy left as it was and no temporary file behind; the session's error says why. A name
// holding a path separator, or "." or "..", is refused. Shows no box: the caller raises the
// session's error.
bool GETLOWLEVEL(InetSession &session, const QString &localFolder, const QString &name, qint64 size,
                 const TransferView &view);

// Uploads localFolder + "/" + name as `name` into the session's current directory. Status
// "Dosya gönderiliyor ...", then "Dosya gönderildi!" on success or "Dosya gönderilemedi!" and false
// when the local file cannot be read or the transfer fails (also part way). Shows no box.
bool PUTLOWLEVEL(InetSession &session, const QString &localFolder, const QString &name, qint64 size,
                 const TransferView &view);

// The test every remote command begins with: not connected, the box "Bağlantı kurulamadı..." /
// "Hata..."; an HTTP session, the box "HTTP ile işlem mümkün değil..." / "Uyarı..."; either way
// false. True when the command may go on.
bool remoteCommandAllowed(bool connected, const InetSession *session);

// The remote commands' session steps. `name` is the selected row's name, a folder's in brackets
// ("[name]"); an empty name does nothing and answers false with no error. On false with an error
// the caller raises it (RAISEFTPERROR); on true it refills the remote list.
bool deleteRemoteFile(InetSession &session, const QString &name);
bool removeRemoteDir(InetSession &session, const QString &bracketedName);
bool createRemoteDir(InetSession &session, const QString &name);

// The name for a new folder: none is asked for, so it is always empty and both create commands stop.
QString GETDIRNAME(const QList<ListingEntry> &listing);

// The local folder commands: remove localFolder + "/" + the bracketed row's name, or create a
// folder there. True when done (the caller then refills the local list); nothing is reported.
bool removeLocalFolder(const QString &localFolder, const QString &bracketedName);
bool createLocalFolder(const QString &localFolder, const QString &name);

} // namespace vexo
