#pragma once

#include "platform/dbf_field.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <utility>

class QWidget;

namespace vexo {

// Rebuilding the reference matrix after its nutrient definitions changed: the new layout comes from
// the saved definitions, the new table is built in "Temp_Data" below the data root, filled from a
// copy of the live matrix by field name, checked against it and only then put in place of the live
// file. Whatever fails, the live matrix stays byte for byte as it was and nothing is left in
// "Temp_Data".

// The reference layout from the definitions (referenceLayoutFromAbbreviations) with KOD at the width
// a new matrix is created with (N 5), so a rebuild cuts no ingredient number.
DbfStructure withWideCode(DbfStructure layout);
DbfStructure matrixLayoutForAbbreviations(const QStringList &abbreviations);

// How many fields of the structure are named exactly (case included) the trimmed name.
int MASCAN(const DbfStructure &structure, const QString &name);

// The same read from the definitions table; empty when it cannot be opened (its opener told the
// user why).
DbfStructure RM_CREATESTRUCT();

QString rebuildFolder();      // <data root>/Temp_Data
QString newMatrixPath();      // <data root>/Temp_Data/NEWMAT.DBF
QString matrixCopyPath();     // <data root>/Temp_Data/MATNRC6.DBF

// The steps of a rebuild; a test names one to make it fail.
enum class RebuildStep { Create, Copy, OpenNew, OpenCopy, Append, Check, Replace };
using RebuildFault = std::function<bool(RebuildStep)>;

struct RebuildOutcome
{
    bool ok = false;
    QString message; // the information text to show; empty when there is nothing to say
};

// What a rebuild keeps of the tables as they were, when asked to.
struct RebuildKeep
{
    QByteArray definitions; // as for keepTablesBeforeRebuild
    QString folder;         // where they went, once the rebuild kept them
};

// The whole rebuild over a layout. An empty layout fails without a message. With `keep`, the copy of
// the live matrix is kept with the definitions (keepTablesBeforeRebuild) before the live matrix is
// replaced; a keep that fails, or a replacement that fails after it, changes nothing and leaves
// nothing.
RebuildOutcome rebuildReferenceMatrix(const DbfStructure &layout, const RebuildFault &fault = {},
                                      RebuildKeep *keep = nullptr);

// What a rebuild of the live matrix to `layout` would lose: each nutrient column that holds values
// and has no column of its name (letter case aside) in the layout, with how many values it holds;
// and the layout's nutrient columns that the live matrix lacks, which start empty.
struct RebuildLoss
{
    QList<std::pair<QString, int>> dropped;
    QStringList added;
};
RebuildLoss rebuildLoss(const DbfStructure &layout);
// The question put before a rebuild that would drop values.
QString rebuildLossQuestion(const RebuildLoss &loss);
// Keeps the tables as they were in a new folder "Temp_Data/Onceki_Tablolar_<n>": the matrix copy
// `matrixCopy` is moved there, and the definitions are written from `definitions` (the table's bytes;
// the file on disk when empty). Its path, or empty with the reason in *why; nothing is left behind
// when it fails.
QString keepTablesBeforeRebuild(const QString &matrixCopy, const QByteArray &definitions, QString *why);


// The rebuild from the saved definitions with its information box ("Bilgi...") owned by `owner`.
// When it would drop values (rebuildLoss), the user is asked first and may stop it (false, nothing
// changed), except when every such column is among `deletedColumns`, whose loss the user already
// confirmed; a rebuild that drops values keeps the tables as they were (`definitionsBefore`, see
// keepTablesBeforeRebuild) and its information names where.
bool rebuildReferenceMatrixFromDefinitions(QWidget *owner, const RebuildFault &fault = {},
                                           const QByteArray &definitionsBefore = {},
                                           const QStringList &deletedColumns = {});

inline const QString kRebuildCreateFailed = QStringLiteral("Yeni dosya oluşturulamıyor.");
inline const QString kRebuildCopyFailed = QStringLiteral("Dosya kopyalama hatası!");
inline const QString kRebuildOpenNewFailed = QStringLiteral("Yeni RM dosyası açılamıyor");
inline const QString kRebuildOpenCopyFailed = QStringLiteral("Mevcut RM dosyası açılamıyor");
inline const QString kRebuildAppendFailed = QStringLiteral("Yeni RM dosyasına veriler aktarılamadı");
inline const QString kRebuildLiveHeld = QStringLiteral("Önceki RM dosyası silinemedi!");
inline const QString kRebuildReplaceFailed = QStringLiteral("Dosya kopyalama başarısız!");
inline const QString kRebuildDone = QStringLiteral("Referans Matriste gerekli değişiklik yapıldı...");
inline const QString kRebuildKeepFailed = QStringLiteral("Önceki tablolar saklanamadı, Referans Matris değiştirilmedi! : ");

// The definitions table's layout and its creation with the first definition "Kuru Madde" / "KM" /
// "%" / 4. The failures are told with MESS2.
DbfStructure BM_CREATESTRUCT();
bool CREATEDATAFILE();

} // namespace vexo
