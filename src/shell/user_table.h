#pragma once

#include "problem/dbserverr.h"

#include <QString>

class QWidget;

namespace vexo {

inline const QString kUserTableFile = QStringLiteral("KULLANICIID.DBF");
inline const QString kUserIndexFile = QStringLiteral("KULLIDX.CDX");
inline constexpr int kUserFieldWidth = 20;

// The user table's paths in the program folder.
QString userTablePath();
QString userIndexPath();

// Makes sure the user table and its index exist in the program folder: a missing table is created
// with the default account, a missing index is built from the table, the users kept. False after a
// failure it has reported.
bool KONTPWDBF();
// Creates the table (readable and writable by its owner only: it holds passwords), its index and the
// default account PLNV / KV47.
bool CREAPWDBF();

// The user table of the program folder, opened exclusively and writable, ordered by name when its
// index exists. status() tells whether the open failed.
class KSERVER : public DBSERVERR
{
public:
    KSERVER();

    QString KULL_ID();
    void KULL_ID(const QString &name);
    QString PASSWORD();
    void PASSWORD(const QString &password);

    // Seeks the first name, in index order, that begins with the text. A text that is empty or only
    // blanks finds nobody (it would otherwise find the first user).
    bool seekUser(const QString &name);
};

// The logon's password comparison: the typed text upper-cased the Turkish way and the stored one,
// both without blanks around them.
bool passwordMatches(const QString &typed, const QString &stored);

// The logon dialog's rules without its window: three attempts, each looked up in the user table.
class LogonSession
{
public:
    enum class Step { Finished, TryAgain };

    // One press of "Tamam" with the typed name and password. Messages go to the owner's boxes. Finished
    // after a good logon or the third failed attempt; LOGONOK tells which.
    Step attempt(QWidget *owner, const QString &name, const QString &password);
    void cancel();

    bool LOGONOK = false;
    QString LOGONID; // the stored name, 20 characters
    int NTRIES = 1;
};

} // namespace vexo
