#pragma once

#include "platform/dbf_field.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace vexo {

class DBSERVERR;

// The settings store's name and key, the same for every user of the store.
inline const QString kSettingsStoreName = QStringLiteral("VEXO_Rir26");
inline const QString kSettingsStoreKey = QStringLiteral("kovrel3m");

// The program's settings in a one-record table "<name>.VSF" in the program folder, in place of the
// registry. A store is opened for one read or write and closed right after it; it holds the file
// exclusively meanwhile. Every user checks RESULT() first and does nothing else when it is 0.
class REGFREECONTROL
{
public:
    REGFREECONTROL(const QString &folder, const QString &name, const QString &key);
    ~REGFREECONTROL();
    REGFREECONTROL(const REGFREECONTROL &) = delete;
    REGFREECONTROL &operator=(const REGFREECONTROL &) = delete;

    // 1 while the store is usable, 0 otherwise.
    int RESULT() const { return m_ready; }

    // The field's text without blanks around it; empty for a blank field or a name that is no field.
    QString GETSTR(const QString &field);
    // Writes the field of the record (cut to its width); a name that is no field is ignored. Nothing is
    // on disk before KAPAT.
    void PUTSTR(const QString &field, const QString &value, bool scramble = false);
    QStringList GETSTRS(const QStringList &fields);
    void PUTSTRS(const QStringList &fields, const QStringList &values, const QList<bool> &scramble);
    QList<QPair<QString, QString>> GETVTABLE();

    // The nine fields, in their order.
    static DbfStructure GETDBFSTRUCT();
    bool DBFFILECREATE();
    bool DATAFILEOPEN();
    // Writes the pending changes and closes the table; nothing when none is held.
    void KAPAT();

    const QString &filePath() const { return m_path; }

private:
    QString fileName() const;

    QString m_key;
    int m_ready = 1;
    std::unique_ptr<DBSERVERR> m_table;
    QString m_path;
};

// How a store with the wrong fields is erased before it is made again; tests put one that fails here.
// An empty function puts the standard one back.
void setSettingsFileEraser(std::function<bool(const QString &path)> eraser);

// The option writers of the main window: each stores "1" or "0" in its field and answers false, having
// written nothing, when the store cannot be opened.
bool STARTLOGONCONT(bool on);    // VKldlg, then LACILISGIRIS
bool STARTLOGOSHOWCONT(bool on); // VKlogo, then LACILISLOGO
bool STARTUPTIPCONT(bool on);    // VKlstrt, then LACILISTUYO
bool ACTMATKAYCONT(bool on);     // VKrmdo
bool RTEXTORPDF(bool pdf);       // VKtpdf

// One setting read or written through a store opened for just that (the program folder's store).
QString readSetting(const QString &field);
bool writeSetting(const QString &field, const QString &value);

} // namespace vexo
