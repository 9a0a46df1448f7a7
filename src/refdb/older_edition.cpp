#include "refdb/older_edition.h"

#include "controls/shell_host.h"
#include "platform/dbf_filespec.h"
#include "platform/dbf_table.h"
#include "platform/message_sink.h"
#include "problem/app_globals.h"
#include "problem/messages.h"
#include "problem/reference_tables.h"
#include "problem/system_queries.h"
#include "refdb/file_pair_replace.h"
#include "refdb/qv_folder_dialog.h"
#include "refdb/reference_backup.h"

#include <QDir>
#include <QFileInfo>

#include <filesystem>

namespace vexo {

namespace {

struct Definition
{
    int num;
    QString name;
    QString abbreviation;
    QString unit;
};

void fail(QWidget *owner, const QString &text)
{
    ERRMESS(owner, QStringLiteral("Hata..."), text);
}

// Creates a table and fills it; a failed create, open or append answers false.
bool writeTable(const QString &path, const DbfStructure &fields, const QList<QList<QVariant>> &rows)
{
    QFile::remove(path);
    if (!DbfFileSpec(path).create(fields))
        return false;
    DbfTable table(path, false, false);
    if (!table.isOpen())
        return false;
    for (const QList<QVariant> &row : rows) {
        if (!table.append())
            return false;
        for (int i = 0; i < row.size(); ++i) {
            if (row.at(i).isValid() && !table.fieldPut(i + 1, row.at(i)))
                return false;
        }
    }
    return table.commit();
}

QString parentFolder(const QString &path)
{
    return QFileInfo(path).absolutePath();
}

bool sameFolder(const QString &a, const QString &b)
{
    std::error_code ec;
    const bool same = std::filesystem::equivalent(a.toStdString(), b.toStdString(), ec);
    return !ec && same;
}

} // namespace

bool VKAR25_DONUS(QWidget *owner, const QString &olderPath)
{
    DbfTable older;
    if (!older.open(olderPath, true, true)) {
        fail(owner, QStringLiteral("VEXO_Zud 2.5 veritabanı açılamadı!"));
        return false;
    }
    const int kmo = older.fieldPos(QStringLiteral("KMO"));
    if (older.fieldPos(QStringLiteral("YM_ADI")) <= 0 || kmo <= 0) {
        // Without its name and dry-matter columns it is no older-edition matrix.
        fail(owner, QStringLiteral("Seçili dosya VEXO_Zud 2.5 RM dosyası değil!"));
        return false;
    }

    // Definitions: "KM" first, then one per older nutrient column numbered by its record; KMO's goes.
    QList<Definition> definitions{{1, QStringLiteral("Kuru Madde"), QStringLiteral("KM"), QStringLiteral("%")}};
    older.goTop();
    for (int n = 5; n <= older.fCount(); ++n) {
        const int num = int(definitions.size()) + 1;
        const QString unit = older.eof() ? QString() : older.fieldGet(n).toString().left(11);
        definitions.append({num, QStringLiteral("Yazılacak..."), older.fieldName(n), unit});
    }
    QStringList abbreviations;
    QList<QList<QVariant>> definitionRows;
    for (const Definition &d : definitions) {
        if (d.abbreviation.trimmed() == u"KMO")
            continue;
        abbreviations << d.abbreviation;
        definitionRows.append({d.num, d.name, d.abbreviation, d.unit, 4});
    }
    DbfStructure definitionFields = nutrientDefinitionStructure();
    definitionFields.last().width = 5; // DECIM as the conversion has always written it

    // The matrix in the layout the definitions give, KOD wide enough for any number of rows.
    DbfStructure matrixFields = referenceLayoutFromAbbreviations(abbreviations);
    matrixFields.first().width = 5;
    QList<QList<QVariant>> matrixRows;
    bool first = true;
    for (older.goTop(); !older.eof(); older.skip()) {
        if (first && older.fieldGet(QStringLiteral("YM_ADI")).toString().trimmed() == u"BIRIM") {
            first = false;
            continue;
        }
        first = false;
        QList<QVariant> row;
        for (const DbfField &f : matrixFields) {
            if (f.name == u"KOD")
                row << int(matrixRows.size()) + 1;
            else if (f.name == u"KM")
                row << older.fieldGet(kmo).toString().left(f.width);
            else if (const int pos = older.fieldPos(f.name); pos > 0)
                row << older.fieldGet(pos).toString().left(f.width);
            else
                row << QVariant();
        }
        matrixRows.append(row);
    }
    older.close();

    const QString work = QDir(appGlobals().CVERIKOK).filePath(QStringLiteral("Temp_Data"));
    QDir().mkpath(work);
    const QString newDefinitions = QDir(work).filePath(kNutrientDefinitionFile);
    const QString newMatrix = QDir(work).filePath(QStringLiteral("NEWMAT.DBF"));
    const auto cleanUp = [&] {
        QFile::remove(newDefinitions);
        QFile::remove(newMatrix);
    };
    if (!writeTable(newDefinitions, definitionFields, definitionRows)) {
        cleanUp();
        fail(owner, QStringLiteral("BM kontrol dosyası oluşturma başarısız..."));
        return false;
    }
    if (!writeTable(newMatrix, matrixFields, matrixRows)) {
        cleanUp();
        fail(owner, QStringLiteral("Yeni RM dosyasına veriler aktarılamadı!"));
        return false;
    }
    const QString root = appGlobals().CVERIKOK;
    const PairReplaceResult result =
        replaceFilePair({newMatrix, newDefinitions},
                        {FileSpec(QDir(root).filePath(kReferenceMatrixFile)).fullPath(),
                         FileSpec(QDir(root).filePath(kNutrientDefinitionFile)).fullPath()});
    cleanUp();
    if (!result.ok()) {
        fail(owner, QStringLiteral("Dosya kopyalama başarısız..."));
        return false;
    }
    loadNutrientDecimals();
    showMessage(owner, QStringLiteral("Bilgi..."), QStringLiteral("Veritabanı dönüşümü başarıyla uygulandı..."),
                MB_ICONINFORMATION);
    return true;
}

bool convertChosenOlderTable(QWidget *owner, const QString &chosen)
{
    ShellHost *host = shellHost();
    if (!owner && host)
        owner = host->mainWindow();
    if (chosen.isEmpty() || !QDir::isAbsolutePath(chosen))
        return false;
    if (sameFolder(parentFolder(chosen), appGlobals().CVERIKOK)) {
        showMessage(owner, QStringLiteral("Uyarı..."), QStringLiteral("Program dizininden farklı bir dizin seçilmedi!"),
                    MB_ICONINFORMATION);
        return false;
    }
    const QString older = FileSpec(chosen).fullPath();
    if (!QFileInfo(older).isFile()) {
        showMessage(owner, QStringLiteral("Uyarı..."), QStringLiteral("Seçili dizinde VEXO_Zud 2.5 RM dosyası yok!"),
                    MB_ICONINFORMATION);
        return false;
    }
    if (host && !host->CLOSEWINDOWSEXIST())
        return false;
    VKAR25_DONUS(owner, older);
    return true;
}

bool VKAR25_DONUS_COMMAND()
{
    ShellHost *host = shellHost();
    QVFOLDERDIALOGWINDOW dialog(host ? host->mainWindow() : nullptr,
                                QStringList{QStringLiteral("MATNRC.DBF"), QStringLiteral("VEXO_Zud 2.5 Veritabanı Dönüşümü")});
    const QString chosen = dialog.run();
    VXODEFAULTS();
    return convertChosenOlderTable(nullptr, chosen);
}

} // namespace vexo
