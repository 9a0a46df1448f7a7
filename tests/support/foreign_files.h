#pragma once
// Files that other programs and other people keep beside a file, several named much like the
// program's own temporaries of it: no operation of the program (an opening, a save, a backup, a
// sweep of leftovers) may remove or change any of them.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringList>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vexo::test {

class ForeignFiles
{
public:
    // Another user, for the files given away when the test runs as the superuser.
    static constexpr uid_t kOtherUser = 1234;

    // Makes the files in `folder` beside the file named `target`.
    ForeignFiles(const QString &folder, const QString &target) : m_folder(folder)
    {
        const QString dot = u'.' + target;
        const QString marked = dot + QStringLiteral(".vexo-tmp-");
        const QStringList plain = {
            dot + QStringLiteral(".Ab12Cd"),           // rsync's transfer copy
            dot + QStringLiteral(".yedek1"),           // the user's own backup
            QStringLiteral(".notes1"),                 // the user's notes
            dot + QStringLiteral(".part"),             // a browser's download
            target + QStringLiteral(".vexo-tmp-Ab12Cd"), // not hidden
            marked + QStringLiteral("Ab12C"),          // one character short
            marked + QStringLiteral("Ab12Cd7"),        // one character more
            marked + QStringLiteral("Ab-2Cd"),         // not a letter or digit
            QStringLiteral(".BASKA.VKD.vexo-tmp-Ab12Cd"), // another file's
        };
        for (const QString &name : plain)
            make(name);
        if (::geteuid() == 0) {
            // Another user's copies in a shared folder, one of them with our marker.
            for (const QString &name : {dot + QStringLiteral(".Zz99Zz"), marked + QStringLiteral("Zz99Zz")}) {
                make(name);
                if (::chown(native(name).constData(), kOtherUser, kOtherUser) == 0)
                    m_otherUsers << name;
            }
        }
        // A marked copy whose writer is at work: it holds the copy.
        const QString held = marked + QStringLiteral("He1dCp");
        make(held);
        m_heldFd = ::open(native(held).constData(), O_RDONLY | O_CLOEXEC);
        if (m_heldFd >= 0)
            ::flock(m_heldFd, LOCK_SH | LOCK_NB);
        // Marked names that are no regular file: a link (to a file of its own), a pipe, a folder.
        make(QStringLiteral("linked.txt"));
        m_link = marked + QStringLiteral("L1nkTo");
        QFile::link(QStringLiteral("linked.txt"), path(m_link));
        m_names << m_link;
        m_pipe = marked + QStringLiteral("P1peXy");
        ::mkfifo(native(m_pipe).constData(), 0600);
        m_names << m_pipe;
        m_folderName = marked + QStringLiteral("D1rXyz");
        QDir().mkdir(path(m_folderName));
        m_names << m_folderName;
    }
    ~ForeignFiles()
    {
        if (m_heldFd >= 0)
            ::close(m_heldFd);
    }
    ForeignFiles(const ForeignFiles &) = delete;
    ForeignFiles &operator=(const ForeignFiles &) = delete;

    QStringList names() const { return m_names; }
    bool othersMade() const { return !m_otherUsers.isEmpty(); }

    // Empty when every file is there as it was made; otherwise what went or changed.
    QString damage() const
    {
        QStringList damaged;
        for (const QString &name : m_names) {
            struct stat st = {};
            if (::lstat(native(name).constData(), &st) != 0) {
                damaged << name + QStringLiteral(" is gone");
                continue;
            }
            bool same = true;
            if (name == m_link)
                same = S_ISLNK(st.st_mode)
                       && QDir::cleanPath(QFile::symLinkTarget(path(name)))
                              == QDir::cleanPath(QFileInfo(path(QStringLiteral("linked.txt"))).absoluteFilePath());
            else if (name == m_pipe)
                same = S_ISFIFO(st.st_mode);
            else if (name == m_folderName)
                same = S_ISDIR(st.st_mode);
            else
                same = S_ISREG(st.st_mode) && contents(name) == name.toUtf8()
                       && (st.st_uid == kOtherUser) == m_otherUsers.contains(name);
            if (!same)
                damaged << name + QStringLiteral(" changed");
        }
        return damaged.join(QStringLiteral(", "));
    }

private:
    QString path(const QString &name) const { return m_folder + u'/' + name; }
    QByteArray native(const QString &name) const { return QFile::encodeName(path(name)); }
    QByteArray contents(const QString &name) const
    {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void make(const QString &name)
    {
        QFile f(path(name));
        if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            f.write(name.toUtf8());
        m_names << name;
    }

    QString m_folder;
    QStringList m_names;
    QStringList m_otherUsers;
    QString m_link;
    QString m_pipe;
    QString m_folderName;
    int m_heldFd = -1;
};

} // namespace vexo::test
