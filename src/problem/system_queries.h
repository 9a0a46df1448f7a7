#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>

class QWidget;

namespace vexo {

// True when the path is a folder the process could make its current folder. The current folder
// is never changed by the test.
bool ISDIR(const QString &path);
// Paths here have no drive letters: a drive text that is a native absolute path is ready when the
// volume holding it is mounted and ready; a Windows drive letter ("D", "D:\Veri") names no drive.
bool ISDRIVEREADY(const QString &drive);
// True when the volume holding the path is a network file system.
bool ISDRIVENETWORK(const QString &rootPath);
bool isNetworkFileSystemType(const QByteArray &type);

// A Windows special-folder number answered from the desktop's folders; empty when there is none.
QString JOVGETFOLDERPATH(int csidl);
// The user's documents folder, without a trailing separator.
QString MYDOCUMENTQV();
// The folder that stands in for the Windows folder: the system's configuration folder "/etc".
QString GETWINDOWSDIR();
// Makes the program folder the current folder again when it is set, exists and is not current.
// Paths have no drives here, and the current folder is also the default for file operations.
void VXODEFAULTS();

// True when the name is already held, by another process or by an earlier call in this one; the
// first caller holds it for the life of the process.
bool ISAPPRUNNING(const QString &name);

// The locale name the user chose for the program's language (LC_ALL, LC_MESSAGES, LANG in that
// order), and whether a locale name is Turkish ("tr", "tr_TR.UTF-8", "tr_TR@euro"...).
QString regionalLocaleName();
bool isTurkishLocaleName(const QString &locale);
// True when the regional language is Turkish; otherwise tells the user to choose it and answers false.
bool SYSCONFIG(QWidget *owner);

// Questions about old Windows versions and the 32-bit emulation layer: never the case here.
bool ISWIN98();
bool ISWINME();
bool ISWINXP();
bool IS64BITOS();

// Hexadecimal text of a value for dumps (upper-case digits): a text as STR2HEX; a floating-point
// value with a fraction or outside -2147483647..4294967295 as its 8 bytes (high word first, 16
// digits); any other value as its 32-bit word (8 digits, two's complement when negative).
QString VAL2HEX(const QVariant &value);
// Each Windows-1254 byte of the text as two hexadecimal digits and a blank.
QString STR2HEX(const QString &text);
QString STR2HEX(const QByteArray &bytes);
inline QString STR2HEX(const char *text) { return STR2HEX(QString::fromUtf8(text)); }

// A keyed byte shift over the Windows-1254 bytes of the text: byte i is shifted by key byte
// (i modulo the key's length), up to scramble and down to unscramble, both modulo 256, so
// unscrambling always gives the text back. An empty text gives an empty text; an empty key leaves
// the text as it is.
QString CRYPTX(const QString &text, const QString &key, bool scramble);

} // namespace vexo
