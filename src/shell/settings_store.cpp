#include "shell/settings_store.h"

#include "platform/dbf_filespec.h"
#include "problem/app_globals.h"
#include "problem/dbserverr.h"
#include "problem/file_ops.h"
#include "problem/messages.h"
#include "problem/system_queries.h"
#include "shell/shell_globals.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace vexo {

namespace {

bool standardEraser(const QString &path)
{
    return SFDELETE(path) && !QFileInfo::exists(path);
}

std::function<bool(const QString &)> &eraser()
{
    static std::function<bool(const QString &)> e = standardEraser;
    return e;
}

} // namespace

void setSettingsFileEraser(std::function<bool(const QString &path)> e)
{
    eraser() = e ? std::move(e) : std::function<bool(const QString &)>(standardEraser);
}

DbfStructure REGFREECONTROL::GETDBFSTRUCT()
{
    return {
        {QStringLiteral("VKpath"), u'C', 100, 0}, {QStringLiteral("VKlstrt"), u'C', 1, 0},
        {QStringLiteral("VKlatip"), u'C', 2, 0},  {QStringLiteral("VKldlg"), u'C', 1, 0},
        {QStringLiteral("VKlogo"), u'C', 1, 0},   {QStringLiteral("VKrmdo"), u'C', 1, 0},
        {QStringLiteral("VKScrPos"), u'C', 20, 0}, {QStringLiteral("VKkvtt"), u'C', 1, 0},
        {QStringLiteral("VKtpdf"), u'C', 1, 0},
    };
}

REGFREECONTROL::REGFREECONTROL(const QString &folder, const QString &name, const QString &key)
    : m_key(key)
    , m_path(QDir(folder).filePath(name + QStringLiteral(".VSF")))
{
    // Without a program folder the name alone would put the store wherever the process happens to be.
    if (folder.trimmed().isEmpty()) {
        MESS2(fileName() + QStringLiteral(" dosyası oluşturulamadı..."));
        m_ready = 0;
        return;
    }
    // A file with the wrong fields is made again once; when even the new file is wrong, or the old
    // one cannot be erased, the store gives up instead of going round for ever.
    for (int rebuilds = 0;; ++rebuilds) {
        if (!FileSpec(m_path).find() && !DBFFILECREATE()) {
            m_ready = 0;
            return;
        }
        if (!DATAFILEOPEN()) {
            m_ready = 0;
            return;
        }
        if (m_table->fCount() == int(GETDBFSTRUCT().size()))
            break;
        m_table->close();
        m_table.reset();
        if (rebuilds > 0 || !eraser()(m_path)) {
            MESS2(fileName() + QStringLiteral(" dosyası silinip yeniden oluşturulamadı..!"));
            m_ready = 0;
            return;
        }
    }
    if (m_table->lastRec() == 0)
        m_table->APPEND();
    if (m_table->lastRec() == 0) {
        m_ready = 0;
        KAPAT();
    }
}

REGFREECONTROL::~REGFREECONTROL()
{
    KAPAT();
}

QString REGFREECONTROL::fileName() const
{
    return QFileInfo(m_path).fileName();
}

bool REGFREECONTROL::DBFFILECREATE()
{
    DbfFileSpec spec(m_path);
    if (!spec.create(GETDBFSTRUCT())) {
        MESS2(fileName() + QStringLiteral(" dosyası oluşturulamadı..."));
        return false;
    }
    return true;
}

bool REGFREECONTROL::DATAFILEOPEN()
{
    FileSpec spec(m_path);
    if (!spec.find()) {
        MESS2(fileName() + QStringLiteral(" dosyası yok..!"));
        return false;
    }
    m_path = spec.fullPath();
    if (spec.attributes().contains(u'R'))
        FACLEARRO(m_path);
    auto table = std::make_unique<DBSERVERR>(m_path, false, false);
    if (table->status() || !table->isOpen()) {
        const QString why = table->status() ? table->status()->text() : QString();
        MESS2(fileName() + QStringLiteral(" veri dosyası açılamadı! : ") + why);
        return false;
    }
    m_table = std::move(table);
    return true;
}

void REGFREECONTROL::KAPAT()
{
    if (!m_table)
        return;
    m_table->commit();
    m_table->close();
    m_table.reset();
}

QString REGFREECONTROL::GETSTR(const QString &field)
{
    if (!m_table)
        return {};
    const int pos = m_table->fieldPos(field);
    if (pos == 0 || !m_table->goTop() || m_table->eof())
        return {};
    return m_table->fieldGet(pos).toString().trimmed();
}

void REGFREECONTROL::PUTSTR(const QString &field, const QString &value, bool scramble)
{
    if (!m_table)
        return;
    const int pos = m_table->fieldPos(field);
    if (pos == 0 || !m_table->goTop() || m_table->eof())
        return;
    m_table->fieldPut(pos, scramble ? CRYPTX(value, m_key, true) : value);
}

QStringList REGFREECONTROL::GETSTRS(const QStringList &fields)
{
    QStringList values;
    for (const QString &f : fields)
        values.append(GETSTR(f));
    return values;
}

void REGFREECONTROL::PUTSTRS(const QStringList &fields, const QStringList &values, const QList<bool> &scramble)
{
    for (qsizetype i = 0; i < fields.size(); ++i)
        PUTSTR(fields.at(i), values.value(i), scramble.value(i, false));
}

QList<QPair<QString, QString>> REGFREECONTROL::GETVTABLE()
{
    QList<QPair<QString, QString>> pairs;
    for (const DbfField &f : GETDBFSTRUCT())
        pairs.append({f.name, GETSTR(f.name)});
    return pairs;
}

QString readSetting(const QString &field)
{
    REGFREECONTROL store(appGlobals().CPROGDIZIN, kSettingsStoreName, kSettingsStoreKey);
    return store.RESULT() ? store.GETSTR(field) : QString();
}

bool writeSetting(const QString &field, const QString &value)
{
    REGFREECONTROL store(appGlobals().CPROGDIZIN, kSettingsStoreName, kSettingsStoreKey);
    if (store.RESULT() == 0)
        return false;
    store.PUTSTR(field, value);
    store.KAPAT();
    return true;
}

namespace {

QString flag(bool on)
{
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace

bool STARTLOGONCONT(bool on)
{
    if (!writeSetting(QStringLiteral("VKldlg"), flag(on)))
        return false;
    shellGlobals().LACILISGIRIS = on;
    return true;
}

bool STARTLOGOSHOWCONT(bool on)
{
    if (!writeSetting(QStringLiteral("VKlogo"), flag(on)))
        return false;
    shellGlobals().LACILISLOGO = on;
    return true;
}

bool STARTUPTIPCONT(bool on)
{
    if (!writeSetting(QStringLiteral("VKlstrt"), flag(on)))
        return false;
    shellGlobals().LACILISTUYO = on;
    return true;
}

bool ACTMATKAYCONT(bool on)
{
    return writeSetting(QStringLiteral("VKrmdo"), flag(on));
}

bool RTEXTORPDF(bool pdf)
{
    return writeSetting(QStringLiteral("VKtpdf"), flag(pdf));
}

} // namespace vexo
