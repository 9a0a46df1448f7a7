#pragma once

#include <QByteArray>
#include <QString>

#include <sys/types.h>

namespace vexo {

// The temporary files this program writes beside a file while it replaces it.
//
// Every such file is named "." + the target's name + ".vexo-tmp-" + six letters or digits (for
// example ".BROILER.VKD.vexo-tmp-Ab12Cd"), a marker no other program uses, and is flock-held by its
// maker from the moment it has its name until it is renamed over the target or removed. A file
// left behind by a maker that died (a kill, a power cut) is removed by the next replacement of the
// same target, but only when it has the marker and the target's name, nobody holds it, it belongs
// to the current user and it is a regular file. Everything else beside the target (other programs'
// copies such as rsync's ".NAME.Ab12Cd", a user's ".NAME.yedek1", another user's files) is never
// touched.

// The marker that separates the target's name from the six random characters.
inline constexpr char kOwnTempMarker[] = ".vexo-tmp-";

// Whether `fileName` (a name without a folder) is one of our temporaries of the file named
// `targetName`, or a temporary of such a temporary (a save into a file that was itself being made).
bool isOwnTempName(const QString &fileName, const QString &targetName);

// Removes the temporaries of `target` that nobody holds (see above). The answer is how many went.
int sweepOwnTempFiles(const QString &target);

// Creates a new empty temporary beside `target` (after sweeping the target's leftovers) and holds
// it with flock(`lockOperation`: LOCK_EX or LOCK_SH) from the moment it has its name. The file is
// created with `mode` under the umask. The answer is the open descriptor (close-on-exec) with the
// file's name in *path, or -1 with errno set.
int createOwnTempFile(const QString &target, QByteArray *path, int lockOperation, mode_t mode = 0600);

// One temporary, removed when the object goes unless it was renamed over its target or given away.
class OwnTempFile
{
public:
    enum class Hold { Exclusive, Shared };

    OwnTempFile() = default;
    OwnTempFile(const OwnTempFile &) = delete;
    OwnTempFile &operator=(const OwnTempFile &) = delete;
    OwnTempFile(OwnTempFile &&other) noexcept;
    OwnTempFile &operator=(OwnTempFile &&other) noexcept;
    ~OwnTempFile();

    // A new empty temporary beside `target`; check isOpen(), errorString() says why not.
    static OwnTempFile create(const QString &target, Hold hold = Hold::Exclusive, mode_t mode = 0600);
    // A second name beside `target` for the target's own file (a hard link), held from the moment it
    // exists through a shared lock on the file. Not open when the folder takes no links or someone
    // holds the target exclusively; the caller then keeps a copy in a create()d temporary.
    static OwnTempFile linkTo(const QString &target);

    bool isOpen() const { return m_fd >= 0; }
    int fd() const { return m_fd; }
    QString path() const;
    const QByteArray &nativePath() const { return m_path; }
    // Why the last step failed, in the system's words (empty after a success).
    const QString &errorString() const { return m_error; }

    // Writes all the bytes at the end of what was written; every write is checked.
    bool write(const QByteArray &bytes);
    // Syncs the file, renames it over `target` in one step and syncs the folder. Afterwards the file
    // is the target's and is let go (closed); on failure it stays a held temporary.
    bool renameOver(const QString &target);
    // Removes the file and lets it go.
    void remove();
    // Gives the descriptor, still holding the lock, to the caller and forgets the file without
    // removing it (the caller has put it in place).
    [[nodiscard]] int release();

private:
    bool fail(int err);

    int m_fd = -1;
    QByteArray m_path;
    QString m_error;
};

} // namespace vexo
