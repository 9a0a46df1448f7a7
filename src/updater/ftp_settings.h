#pragma once

#include <QString>
#include <QStringList>

namespace vexo {

// The updater's settings file VXOFTP.INI: one "[FTP]" section with USER, PASSWORD (scrambled),
// DIRECTORY, SERVER, PROXY and USEHTTP.

// The updater's own reader. The header "[" + upper-case section + "]" is found case-sensitively in
// the raw file text; the section runs to the next "[" anywhere. Empty when anything is missing.
QString GETINISTRING(const QString &section, const QString &key, const QString &file);
// The text after the first plain occurrence of upper-case key (trailing blanks removed) + "=" up to
// the next CR LF, blanks kept; cDefault when the pattern does not occur.
QString GETSECTIONSETTING(const QString &text, const QString &key, const QString &defaultValue);
// Readers and the writer through the profile-style INIFILE.
QString GETINISTRINGX(const QString &section, const QString &key, const QString &file);
qint32 GETINIINT(const QString &section, const QString &key, const QString &file);
bool SETINISTRING(const QString &section, const QString &key, const QString &file, const QString &value);

// The six values USER, PASSWORD, DIRECTORY, SERVER, PROXY, USEHTTP in this order.
QStringList GETFTPSETUP(const QString &file);
// Fewer than two values: nothing is written, false. A missing file is first created as "[FTP]"
// (readable and writable by its owner only, and kept so after every write).
bool SETFTPSETUP(const QString &file, const QStringList &settings);

// The stored form of the password: the keyed Crypt, with "[" (which Crypt leaves alone and which
// would end the section for the reader) swapped with DEL, a character no password field holds.
// Its own inverse under one key.
QString scramblePassword(const QString &text, const QString &key);

// What the updater window shows and saves.
struct UpdaterFields
{
    QString user;
    QString password;
    QString directory;
    QString server;
    QString proxy;
    bool useHttp = false;
};

// The connection values the window starts from. Server and user come from the build (see README);
// tests point them at 127.0.0.1.
struct UpdaterBuiltins
{
    QString server;
    QString user;
    QString password;
    QString directory;
    QString setupDir;   // the download folder
    QString progFile;   // the running program's own file
    QString setupFile;  // the setup file looked for on the server
    QString pwdKey;

    // The build's values, with the download folder under the data root and the program file taken
    // from the running program.
    static UpdaterBuiltins fromBuild();
    UpdaterFields fields() const;
};

// Writes the fields over the file (the password scrambled, USEHTTP "1" or "0").
bool saveUpdaterSetup(const QString &file, const UpdaterFields &fields, const QString &pwdKey);
// Loads the fields (holding the built-ins) from an existing file; when user, password, directory or
// server differ from the fields, the fields are first written over the file and it is read again.
void readUpdaterSetup(const QString &file, UpdaterFields &fields, const QString &pwdKey);

} // namespace vexo
