#include "refdb/nutrient_rows.h"

#include "platform/atomic_file.h"
#include "platform/dbf_filespec.h"
#include "platform/dbf_table.h"
#include "problem/file_ops.h"
#include "platform/message_sink.h"
#include "problem/dbserverr.h"
#include "problem/messages.h"
#include "problem/number_text.h"
#include "problem/reference_tables.h"

#include <QFile>
#include <QFileInfo>

namespace vexo {

namespace {

const QString kWarning = QStringLiteral("Uyarı...");
constexpr int kName = 2, kAbbreviation = 3, kUnit = 4, kDecimals = 5;

QString padded(const QString &text, int width)
{
    return text.trimmed().isEmpty() ? QString(width, u' ') : text;
}

} // namespace

NutrientDefinitionRows::NutrientDefinitionRows(std::shared_ptr<BARRAYSERVER> server, QWidget *owner)
    : m_server(std::move(server)), m_owner(owner)
{
}

ServerFields NutrientDefinitionRows::definitionFields()
{
    ServerFields out;
    for (const DbfField &f : nutrientDefinitionStructure())
        out.append({f.name, f.type, f.width, f.decimals});
    return out;
}

std::shared_ptr<BARRAYSERVER> NutrientDefinitionRows::loadDefinitions()
{
    DbfTable::setDeleted(true);
    if (!QFileInfo::exists(nutrientDefinitionPath()) && !CREATEDATAFILE())
        return nullptr;
    if (!BMDATAFOPEN())
        return nullptr;
    ReferenceTables &r = referenceTables();
    DBSERVERR &t = *r.OBMDESCDBF;
    ServerRows rows;
    for (t.goTop(); !t.eof(); t.skip()) {
        ServerRow row;
        for (int i = 1; i <= t.fCount(); ++i)
            row.append(t.fieldGet(i));
        rows.append(row);
    }
    t.close();
    r.OBMDESCDBF.reset();
    auto server = std::make_shared<BARRAYSERVER>(definitionFields(), rows);
    server->GOTOP();
    return server;
}

void NutrientDefinitionRows::info(const QString &caption, const QString &text) const
{
    showMessage(m_owner, caption, text, MB_OK | MB_ICONINFORMATION);
}

QString NutrientDefinitionRows::abbreviationAt(int row) const
{
    return m_server->textAt(row, kAbbreviation).trimmed();
}

bool NutrientDefinitionRows::appendRow()
{
    for (int i = 0; i < 3; ++i) {
        if (m_server->APPEND()) {
            m_server->FIELDPUT(1, double(m_server->RECNO()));
            return true;
        }
    }
    return false;
}

void NutrientDefinitionRows::renumberFrom(int row)
{
    for (int r = row; r <= m_server->LASTREC(); ++r) {
        m_server->GOTO(r);
        m_server->FIELDPUT(1, double(r));
    }
}

bool NutrientDefinitionRows::PBEKLE()
{
    const bool added = BMEKLE();
    if (added)
        LBOSKAY = true;
    return added;
}

bool NutrientDefinitionRows::BMEKLE()
{
    if (!usable())
        return false;
    for (int r = 1; r <= m_server->LASTREC(); ++r) {
        if (abbreviationAt(r).isEmpty()) {
            m_server->GOTO(r);
            info(kWarning, kAddFailed);
            return false;
        }
    }
    if (!appendRow()) {
        info(kWarning, kAddFailed);
        return false;
    }
    return true;
}

bool NutrientDefinitionRows::INSBLNKREC()
{
    if (!usable() || m_server->LASTREC() == 0)
        return false;
    const int n = std::min(m_server->RECNO(), m_server->LASTREC());
    LBOSKAY = true;
    // One row is added at the end first; only then do the rows from n on move down by one, so a
    // refused append leaves every row where it was.
    if (!appendRow()) {
        m_server->GOTO(n);
        info(kWarning, kInsertFailed);
        return true;
    }
    for (int r = m_server->LASTREC(); r > n; --r) {
        for (int f = kName; f <= kDecimals; ++f) {
            const QVariant above = m_server->valueAt(r - 1, f);
            m_server->GOTO(r);
            m_server->FIELDPUT(f, above);
        }
        m_server->FIELDPUT(1, double(r));
    }
    m_server->GOTO(n);
    for (const ServerField &f : m_server->fields().mid(kName - 1))
        m_server->FIELDPUT(f.name, BARRAYSERVER::blankValue(f));
    m_server->FIELDPUT(1, double(n));
    return true;
}

bool NutrientDefinitionRows::BMDELETE()
{
    if (!usable() || m_server->LASTREC() == 0 || m_server->eof())
        return false;
    if (showMessage(m_owner, kWarning, kDeleteQuestion, MB_YESNO | MB_ICONQUESTION) != MessageAnswer::Yes)
        return false;
    const bool defined = !abbreviationAt(m_server->RECNO()).isEmpty();
    if (defined
        && showMessage(m_owner, kWarning, kDeleteColumnQuestion, MB_YESNO | MB_ICONQUESTION) != MessageAnswer::Yes)
        return false;
    const int n = m_server->RECNO();
    const QString abbreviation = abbreviationAt(n);
    if (!DODELETE())
        return false;
    if (defined) {
        BMCHANGE = true;
        ALAN3DEG = true;
        m_deletedColumns.append(abbreviation);
    }
    if (n > m_server->LASTREC()) {
        m_server->GOTO(m_server->LASTREC());
    } else {
        renumberFrom(n);
        m_server->GOTO(n);
    }
    return true;
}

bool NutrientDefinitionRows::DODELETE()
{
    if (!usable() || m_server->eof())
        return false;
    return m_server->DELETE() && m_server->PACK();
}

bool NutrientDefinitionRows::ALANSEEK(const QString &abbreviation)
{
    const QString wanted = abbreviation.trimmed();
    for (int r = 1; r <= m_server->LASTREC(); ++r) {
        if (abbreviationAt(r) == wanted) {
            m_server->GOTO(r);
            return true;
        }
    }
    m_server->GOTO(m_server->LASTREC() + 1);
    return false;
}

void NutrientDefinitionRows::BMSSEC()
{
    if (!usable() || m_server->eof())
        return;
    const QString c = abbreviationAt(m_server->RECNO());
    if (c == QStringLiteral("AGIRLIK") || c == QStringLiteral("KM")) {
        info(kWarning, c + kReservedSuffix);
        return;
    }
    NSECKAY = m_server->RECNO();
    kaydirEnabled = true;
}

void NutrientDefinitionRows::BMSKAYDIR()
{
    if (!usable() || NSECKAY < 1 || NSECKAY > m_server->LASTREC())
        return;
    const int t = m_server->RECNO();
    if (t == NSECKAY) {
        kaydirEnabled = false;
        return;
    }
    const int rowsBefore = m_server->LASTREC();
    if (!INSBLNKREC() || m_server->LASTREC() == rowsBefore)
        return; // the insert was refused and said so
    if (t < NSECKAY)
        ++NSECKAY;
    for (int f = kName; f <= kDecimals; ++f) {
        const QVariant v = m_server->valueAt(NSECKAY, f);
        m_server->GOTO(t);
        m_server->FIELDPUT(f, v);
    }
    m_server->GOTO(NSECKAY);
    DODELETE();
    renumberFrom(std::min(NSECKAY, m_server->LASTREC()));
    m_server->GOTO(t > NSECKAY ? t - 1 : t);
    kaydirEnabled = false;
    BMCHANGE = true;
    ALAN3DEG = true;
}

void NutrientDefinitionRows::BOSKAYSIL()
{
    if (usable()) {
        const int current = m_server->RECNO();
        bool any = false;
        for (int r = 1; r <= m_server->LASTREC(); ++r) {
            if (abbreviationAt(r).isEmpty()) {
                m_server->GOTO(r);
                any = m_server->DELETE() || any;
            }
        }
        if (any)
            m_server->PACK();
        m_server->GOTO(std::clamp(current, 1, std::max(1, m_server->LASTREC())));
    }
    LBOSKAY = false;
}

QStringList NutrientDefinitionRows::dialogValues() const
{
    const int n = m_server->RECNO();
    const double decimals = m_server->valueAt(n, kDecimals).toDouble();
    return {padded(m_server->textAt(n, kName), 25), padded(m_server->textAt(n, kAbbreviation), 15),
            padded(m_server->textAt(n, kUnit), 11),
            decimals == 0 ? QString(5, u' ') : QString::number(qRound(decimals)).rightJustified(5, u' ')};
}

bool NutrientDefinitionRows::applyDialog(int row, const NutrientDialogResult &d)
{
    if (d.result != 1)
        return false;
    if (d.LADEG) {
        if (ALANSEEK(d.SKISALTMA)) {
            info(kWarning, kAbbreviationTaken);
            return false;
        }
        m_server->GOTO(row);
        m_server->FIELDPUT(kAbbreviation, d.SKISALTMA);
        ALAN3DEG = true;
        BMCHANGE = true; // the new column's definition must reach the table the rebuild reads
    }
    if (d.LBDEG) {
        m_server->GOTO(row);
        m_server->FIELDPUT(kName, d.SBMADI);
        m_server->FIELDPUT(kUnit, d.SBRIM);
        m_server->FIELDPUT(kDecimals, d.SDESIM.trimmed().toDouble());
        BMCHANGE = true;
    }
    m_server->GOTO(row);
    return true;
}

bool NutrientDefinitionRows::BMKAYDI()
{
    if (!BMDATAFOPEN())
        return false;
    ReferenceTables &r = referenceTables();
    const DbfStructure structure = r.OBMDESCDBF->dbStruct();
    const QString path = r.OBMDESCDBF->path();
    r.OBMDESCDBF->close();
    r.OBMDESCDBF.reset();
    // The rows become a whole new table beside the old one, which then replaces it in one rename.
    const QString built = path + QStringLiteral(".new");
    DbfFileSpec made(built);
    bool ok = made.create(structure);
    QString why;
    if (!ok && made.status())
        why = made.status()->text();
    if (ok) {
        DbfTable t(built, false, false);
        ok = !t.status();
        for (const ServerRow &row : m_server->DATA()) {
            ok = ok && t.append();
            for (int f = 0; ok && f < t.fCount() && f < row.size(); ++f)
                ok = t.fieldPut(f + 1, row[f]);
        }
        ok = ok && t.commit();
        if (!ok && t.status())
            why = t.status()->text();
    }
    FileSpec file(built);
    ok = ok && file.copy(path);
    if (!ok && why.isEmpty() && file.status())
        why = file.status()->text();
    SFDELETE(built);
    if (!ok) {
        if (why.trimmed().isEmpty())
            why = QStringLiteral("%1 yazılamadı").arg(QFileInfo(built).fileName());
        ERRMESS(m_owner, QString(), QStringLiteral("Besin maddesi tanımları yazılamadı! : ") + why);
        return false;
    }
    BMCHANGE = false;
    return true;
}

bool NutrientDefinitionRows::KAYDET(const RebuildFault &fault)
{
    const QString defsPath = nutrientDefinitionPath();
    QByteArray before;
    QString unread; // why the definitions could not be kept for putting back
    {
        QFile f(defsPath);
        if (f.open(QIODevice::ReadOnly))
            before = f.readAll();
        if (f.error() != QFileDevice::NoError)
            unread = f.errorString();
    }
    const bool wrote = BMCHANGE;
    if (BMCHANGE && !BMKAYDI())
        return false;
    if (ALAN3DEG) {
        if (!rebuildReferenceMatrixFromDefinitions(m_owner, fault, before, m_deletedColumns)) {
            // The definitions go back to what the matrix was built from, so the two stay a pair.
            if (wrote) {
                BMCHANGE = true;
                QString why = unread;
                const bool putBack = unread.isEmpty() && writeFileAtomically(defsPath, before, &why);
                if (!putBack) {
                    if (why.isEmpty())
                        why = QStringLiteral("%1 yazılamadı").arg(kNutrientDefinitionFile);
                    ERRMESS(m_owner, QString(), kPutBackFailed + QStringLiteral(" : ") + why);
                }
            }
            return false;
        }
        ALAN3DEG = false;
        m_deletedColumns.clear();
    }
    if (wrote)
        info(QStringLiteral("Bilgi..."), kSaved);
    return true;
}

bool NutrientDefinitionRows::SONKONT(const RebuildFault &fault)
{
    if (LBOSKAY)
        BOSKAYSIL();
    if (!BMCHANGE)
        return true;
    switch (askSaveBeforeClosing(m_owner, kWarning, kSaveQuestion)) {
    case MessageAnswer::Yes:
        return KAYDET(fault);
    case MessageAnswer::No:
        return true;
    default:
        return false; // the editor stays open with its changes
    }
}

bool NutrientDefinitionRows::PBKAYDET(const RebuildFault &fault)
{
    if (LBOSKAY)
        BOSKAYSIL();
    return KAYDET(fault);
}

} // namespace vexo
