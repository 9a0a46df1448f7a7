#pragma once
// The updater's internet session: one interface over FTP and HTTP, so the updater window never
// knows which it talks to, and tests can hand the window a scripted session.
#include "listing.h"

#include <QList>
#include <QString>

#include <functional>
#include <memory>

namespace vexo {

// The expected size of a download whose listing gave none.
inline constexpr qint64 kUnknownSize = -1;
// A download of unknown size stops past this many bytes (a setup file is a few tens of MB).
inline constexpr qint64 kUnknownSizeCeiling = qint64(512) * 1024 * 1024;
// A download of unknown size stops before it leaves less than this free in its folder.
inline constexpr qint64 kFreeSpaceReserve = qint64(16) * 1024 * 1024;

// Where a download whose size could not be checked keeps the copy it replaced, beside it:
// "<name>.onceki.<ext>" ("<name>.onceki" for a name without an extension).
QString earlierCopyPath(const QString &localPath);

class InetSession
{
public:
    // Told each stage a call passes (the stage numbers of session_status.h).
    using StatusHook = std::function<void(int stage)>;
    // Told the bytes moved so far after each block; answers false to abort the transfer. A block is
    // 2500 bytes; the last, short (possibly empty) block is told too, so a whole transfer of n bytes
    // makes n / 2500 + 1 calls.
    using Progress = std::function<bool(qint64 bytesDone)>;

    struct Limits
    {
        int connectTimeoutMs = 15000; // connecting to the server
        int lowSpeedSeconds = 30;     // a transfer moving no byte this long is given up
        qint64 unknownSizeCeiling = kUnknownSizeCeiling;
        // The bytes free in a folder, or below 0 when unknown; empty: the file system's figure.
        std::function<qint64(const QString &folder)> freeSpace;
    };

    virtual ~InetSession() = default;

    virtual bool isHttp() const = 0;

    // The proxy text as the user typed it; empty means no proxy whatever the environment says.
    virtual void setProxy(const QString &proxy) = 0;
    // `server` may carry ":port". The user and password never go into a URL.
    // Over HTTP the status hook is never called (the HTTP session shows no status texts).
    virtual bool ConnectRemote(const QString &server, const QString &user, const QString &password) = 0;
    virtual void CloseRemote() = 0;
    virtual bool SetCurDir(const QString &directory) = 0;
    // The remote current directory; empty when it cannot be read.
    virtual QString GetCurDir() = 0;
    // The entries of the current directory matching the mask (without regard to case). FTP lists the
    // directory; HTTP cannot, so there the mask must name one file (the setup file), which one HEAD
    // request looks up; a mask with wildcards lists nothing over HTTP.
    virtual QList<ListingEntry> Directory(const QString &mask) = 0;

    // Fetches `name` from the current directory into `localPath`. The bytes go to one of the
    // program's temporaries beside it (platform/own_temp_files.h), renamed over an earlier copy only
    // when exactly `expectedSize` bytes came and the transfer reported no error; otherwise the
    // earlier copy stays as it was and no temporary is left behind. A temporary of `localPath` that
    // a process left when it ended mid-download goes at the start; no other file beside it is
    // touched (a browser's "<name>.part" stays).
    // With `expectedSize` kUnknownSize (a listing that gave no size) the transfer stops past the
    // limits' ceiling, or before the folder's free space falls under kFreeSpaceReserve, with an
    // error naming the limit. A transfer the server ends without an error is then taken whatever its
    // length, but where the reply named no length either its size goes unchecked (lastSizeChecked):
    // the copy it replaces is kept at earlierCopyPath, unless a copy is kept there already. A
    // download whose size was checked removes the kept copy.
    virtual bool getFile(const QString &name, const QString &localPath, qint64 expectedSize,
                         const Progress &progress) = 0;
    // After a successful getFile: false when no size was named anywhere, so that a file the server
    // cut short could not be told from a whole one.
    virtual bool lastSizeChecked() const = 0;
    // Sends the local file as `name` into the current directory.
    virtual bool putFile(const QString &localPath, const QString &name, const Progress &progress) = 0;
    virtual bool DeleteFile(const QString &name) = 0;
    virtual bool CreateDir(const QString &name) = 0;
    virtual bool RemoveDir(const QString &name) = 0;

    // Asks the call running now to end at once, as an aborted transfer ends; made from the events
    // that run during a call (the window closing). Does nothing between calls.
    virtual void abortCall() {}

    // The number of the last failure (greater than 0 after one) and its text.
    virtual int Error() const = 0;
    virtual QString ErrorMsg() const = 0;
};

// MYFTP when `http` is false, MYHTTP otherwise, both over libcurl. `agent` is the user agent text.
std::unique_ptr<InetSession> makeInetSession(bool http, const QString &agent, InetSession::StatusHook status,
                                             InetSession::Limits limits = {});

} // namespace vexo
