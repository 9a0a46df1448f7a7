#include "problem/reference_tables.h"

#include "platform/dbf_filespec.h"
#include "platform/path_case.h"
#include "problem/app_globals.h"
#include "problem/dbserverr.h"
#include "problem/file_ops.h"
#include "problem/messages.h"
#include "problem/number_text.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace vexo {

ReferenceTables &referenceTables()
{
    static ReferenceTables tables;
    return tables;
}

ReferenceNumberReader::ReferenceNumberReader(QString table)
    : m_table(std::move(table))
{
}

QString ReferenceNumberReader::noted(const QString &ingredient, const QString &column, const QString &stored)
{
    m_faults.append(QStringLiteral("%1 - %2: \"%3\"").arg(ingredient.trimmed(), column.trimmed(), stored.trimmed()));
    return emptyNumberText();
}

QString ReferenceNumberReader::price(const QString &ingredient, const QString &stored)
{
    const std::optional<QString> text = tablePriceText(stored);
    return text ? *text : noted(ingredient, QStringLiteral("FIATI"), stored);
}

QString ReferenceNumberReader::content(const QString &ingredient, const QString &column, const QString &stored)
{
    return content(ingredient, column, stored, nutrientDecimals(column.trimmed()));
}

QString ReferenceNumberReader::content(const QString &ingredient, const QString &column, const QString &stored,
                                       int decimals)
{
    const std::optional<QString> text = tableContentText(stored, decimals);
    return text ? *text : noted(ingredient, column, stored);
}

QString ReferenceNumberReader::number(const QString &row, const QString &column, const QString &stored,
                                      const std::function<QString(const QString &, bool *)> &typed)
{
    const std::optional<QString> text = tableNumberText(stored, typed);
    return text ? *text : noted(row, column, stored);
}

QString ReferenceNumberReader::faultText() const
{
    return noNumberCellsText(
        QStringLiteral("%1 tablosunda sayı olmayan değerler var; bunlar değersiz (boş) alındı:").arg(m_table), m_faults);
}

void ReferenceNumberReader::tell(QWidget *owner)
{
    if (m_faults.isEmpty())
        return;
    UYARI(owner, QStringLiteral("Uyarı..."), faultText());
    m_faults.clear();
}

QString referenceMatrixPath()
{
    return existingPathIgnoringCase(QDir(appGlobals().CVERIKOK).filePath(kReferenceMatrixFile));
}

QString nutrientDefinitionPath()
{
    return existingPathIgnoringCase(QDir(appGlobals().CVERIKOK).filePath(kNutrientDefinitionFile));
}

namespace {

bool openReference(const QString &path, const QString &fileName, std::unique_ptr<DBSERVERR> &into)
{
    if (!QFileInfo::exists(path)) {
        showMessage(nullptr, QStringLiteral("Uyarı..."), fileName + QStringLiteral(" dosyası yok..!"),
                    MB_OK | MB_ICONINFORMATION);
        return false;
    }
    if (FileSpec(path).attributes().contains(u'R'))
        FACLEARRO(path);
    into = std::make_unique<DBSERVERR>(path, false, false, QStringLiteral("DBFCDX"));
    if (into->status()) {
        const QString error = into->status()->text();
        into.reset();
        MESS2(fileName + QStringLiteral(" veri dosyası açılamadı! : ") + error);
        return false;
    }
    into->goTop();
    return true;
}

} // namespace

bool RMDATAFOPEN()
{
    return openReference(referenceMatrixPath(), kReferenceMatrixFile, referenceTables().ORMDBF);
}

bool BMDATAFOPEN()
{
    return openReference(nutrientDefinitionPath(), kNutrientDefinitionFile, referenceTables().OBMDESCDBF);
}

void closeReferenceTables()
{
    ReferenceTables &r = referenceTables();
    if (r.ORMDBF)
        r.ORMDBF->close();
    r.ORMDBF.reset();
    if (r.OBMDESCDBF)
        r.OBMDESCDBF->close();
    r.OBMDESCDBF.reset();
}

DbfStructure HKM_STRCREATE()
{
    static const char *const nutrients[] = {
        "KM", "HP", "SHP", "BY-P", "HY", "HS", "HK", "ME_KA", "ME_BB", "NB", "TSBM", "NEL", "KALSIYUM",
        "TFOSFOR", "FFOSFOR", "SODYUM", "POTASYUM", "KLOR", "DEMIR", "MAGNEZYUM", "MANGANEZ", "SULFUR",
        "BAKIR", "SELENYUM", "CINKO", "FOLIKASIT", "PANTASIT", "LINASIT", "BIYOTIN", "KOLIN", "NIASIN",
        "VITB6", "VITB12", "VITE", "ARGININ", "RFLAVIN", "THIAMIN", "GLISIN", "SERIN", "HISTIDIN",
        "ISOLOSIN", "LOSIN", "LIZIN", "METIONIN", "SISTIN", "MET+SIST", "FALANIN", "TYROZIN", "FENATYRO",
        "TRIONIN", "TRIPTOFAN", "VALIN",
    };
    DbfStructure fields = {
        {QStringLiteral("KOD"), u'N', 5, 0},
        {QStringLiteral("YM_ADI"), u'C', 25, 0},
        {QStringLiteral("FIATI"), u'C', 11, 0},
        {QStringLiteral("GRUBU"), u'C', 11, 0},
    };
    for (const char *name : nutrients)
        fields.append({QString::fromLatin1(name), u'C', 11, 0});
    return fields;
}

DbfStructure nutrientDefinitionStructure()
{
    return {
        {QStringLiteral("NUM"), u'N', 3, 0},     {QStringLiteral("NAME"), u'C', 30, 0},
        {QStringLiteral("ABRRE"), u'C', 15, 0},  {QStringLiteral("UNIT"), u'C', 11, 0},
        {QStringLiteral("DECIM"), u'N', 3, 0},
    };
}

DbfStructure referenceLayoutFromAbbreviations(const QStringList &abbreviations)
{
    DbfStructure fields = {
        {QStringLiteral("KOD"), u'N', 3, 0},
        {QStringLiteral("YM_ADI"), u'C', 25, 0},
        {QStringLiteral("FIATI"), u'C', 11, 0},
        {QStringLiteral("GRUBU"), u'C', 11, 0},
    };
    for (const QString &stored : abbreviations) {
        const QString name = stored.trimmed();
        const bool taken = std::any_of(fields.cbegin(), fields.cend(),
                                       [&](const DbfField &f) { return f.name == name; });
        if (!name.isEmpty() && !taken)
            fields.append({name, u'C', 11, 0});
    }
    return fields;
}

DbfStructure referenceLayoutFromDefinitions()
{
    if (!BMDATAFOPEN())
        return {};
    ReferenceTables &r = referenceTables();
    DBSERVERR &t = *r.OBMDESCDBF;
    QStringList abbreviations;
    for (t.goTop(); !t.eof(); t.skip())
        abbreviations.append(t.fieldGet(QStringLiteral("ABRRE")).toString());
    t.close();
    r.OBMDESCDBF.reset();
    return referenceLayoutFromAbbreviations(abbreviations);
}

bool RMAT_CREATE(QWidget *owner)
{
    const QString path = QDir(appGlobals().CVERIKOK).filePath(kReferenceMatrixFile);
    DbfFileSpec spec(path);
    if (!spec.create(HKM_STRCREATE())) {
        ERRMESS(owner, QString(), QStringLiteral("Referans matris dosyası (MATNRC6.DBF) oluşturulamadı!"));
        return false;
    }
    DBSERVERR table(path, false, false, QStringLiteral("DBFCDX"));
    if (table.status()) {
        ERRMESS(owner, QString(),
                QStringLiteral("Referans matris dosyası (MATNRC6.DBF) açılamadı! : ") + table.status()->text());
        return false;
    }
    if (!table.append()) {
        table.close();
        ERRMESS(owner, QString(), QStringLiteral("RM dosyasına akyıt ekleme başarısız!"));
        return false;
    }
    table.fieldPut(QStringLiteral("KOD"), double(table.recNo()));
    table.commit();
    table.close();
    return true;
}

void GETBMDESC()
{
    if (!BMDATAFOPEN())
        return;
    ReferenceTables &r = referenceTables();
    r.ABMDESC.clear();
    DBSERVERR &t = *r.OBMDESCDBF;
    for (t.goTop(); !t.eof(); t.skip()) {
        const QString abbreviation = t.fieldGet(QStringLiteral("ABRRE")).toString().trimmed();
        if (abbreviation.isEmpty())
            continue;
        r.ABMDESC.append({t.fieldGet(QStringLiteral("NUM")).toInt(), abbreviation,
                          t.fieldGet(QStringLiteral("DECIM")).toInt()});
    }
    t.close();
    r.OBMDESCDBF.reset();
}

void loadNutrientDecimals()
{
    if (QFileInfo::exists(nutrientDefinitionPath()))
        GETBMDESC();
}

int nutrientDecimals(const QString &abbreviation)
{
    for (const NutrientDecimals &d : referenceTables().ABMDESC) {
        if (d.abbreviation == abbreviation)
            return d.decimals;
    }
    return 4;
}

} // namespace vexo
