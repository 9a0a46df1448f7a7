#include "refdb/reference_backup.h"

#include "controls/command_registry.h"
#include "controls/shell_host.h"
#include "matrix/alert.h"
#include "platform/dbf_filespec.h"
#include "platform/message_sink.h"
#include "problem/app_globals.h"
#include "problem/messages.h"
#include "problem/reference_tables.h"
#include "problem/system_queries.h"
#include "refdb/file_pair_replace.h"
#include "refdb/older_edition.h"
#include "refdb/qv_folder_dialog.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include <filesystem>

namespace vexo {

namespace {

const QString kWorking = QStringLiteral("İşlemler yürütülüyor. Lütfen bekleyiniz...");
const QString kSameFolder = QStringLiteral("Farklı bir sürücü/klasör seçilmedi...");
constexpr int kNoticePauseMs = 500;

bool sameFile(const QString &a, const QString &b)
{
    std::error_code ec;
    const bool same = std::filesystem::equivalent(std::filesystem::path(a.toStdString()),
                                                  std::filesystem::path(b.toStdString()), ec);
    return !ec && same;
}

QString dataRoot()
{
    return appGlobals().CVERIKOK;
}

// The path of a file in a folder, an existing twin whose name differs only in case taken.
QString fileIn(const QString &folder, const QString &name)
{
    return FileSpec(QDir(folder).filePath(name)).fullPath();
}

QStringList filesIn(const QString &folder)
{
    QStringList paths;
    for (const QString &name : referenceFileSet())
        paths << fileIn(folder, name);
    return paths;
}

QString withSeparator(const QString &path)
{
    return path.endsWith(u'/') ? path : path + u'/';
}

QWidget *mainWindowOf(QWidget *owner)
{
    if (owner)
        return owner;
    ShellHost *host = shellHost();
    return host ? host->mainWindow() : nullptr;
}

// The folder dialog's answer, or an empty text when it was cancelled.
QString askFolder()
{
    QWidget *owner = mainWindowOf(nullptr);
    QVFOLDERDIALOGWINDOW dialog(owner, QString());
    const QString chosen = dialog.run();
    VXODEFAULTS();
    return chosen;
}

QString backupFailedText(const PairReplaceResult &result)
{
    const QString text = referenceFileSet().value(result.file) + QStringLiteral(" veritabanı dosyasını yedekleme başarısız...");
    return result.reason.isEmpty() ? text : text + QStringLiteral(" : ") + result.reason;
}

PairReplaceResult copyLiveTablesInto(const QString &folder)
{
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(folder.toStdString()), ec);
    if (ec) {
        return {0, PairReplaceResult::Step::Copy,
                QStringLiteral("%1 klasörü oluşturulamadı: %2")
                    .arg(QDir::toNativeSeparators(QDir::cleanPath(folder)), QString::fromStdString(ec.message()))};
    }
    return replaceFilePair(filesIn(dataRoot()), filesIn(folder));
}

// The date of a backup: the newest modification time of its files, as "dd.MM.yyyy HH:mm".
QString backupDateText(const QStringList &files)
{
    QDateTime newest;
    for (const QString &path : files) {
        const QDateTime modified = QFileInfo(path).lastModified();
        if (modified.isValid() && (!newest.isValid() || modified > newest))
            newest = modified;
    }
    return newest.isValid() ? newest.toString(QStringLiteral("dd.MM.yyyy HH:mm")) : QString();
}

QString shownFolder(const QString &folder)
{
    return QDir::toNativeSeparators(QDir::cleanPath(folder));
}

bool liveTablesPresent(QWidget *owner)
{
    const QStringList names = referenceFileSet();
    const QStringList live = filesIn(dataRoot());
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (!QFileInfo::exists(live.at(i))) {
            ERRMESS(owner, QStringLiteral("Hata..."), names.at(i) + QStringLiteral(" veritabanı dosyası yok..."));
            return false;
        }
    }
    return true;
}

// Finishes an interrupted change of the pair in the folder; false, told, when it cannot be finished.
bool finishInterruptedChange(QWidget *owner, const QString &folder)
{
    const PairRecovery recovery = finishInterruptedPairChange(folder);
    if (recovery.ok())
        return true;
    ERRMESS(owner, QStringLiteral("Hata..."),
            QStringLiteral("%1 klasöründeki referans veritabanı dosyalarının yarım kalan değişikliği "
                           "tamamlanamadı... : %2")
                .arg(shownFolder(folder), recovery.reason));
    return false;
}

} // namespace

QStringList referenceFileSet()
{
    return {kReferenceMatrixFile, kNutrientDefinitionFile};
}

QString proposedBackupFolder()
{
    return QDir(dataRoot()).filePath(QStringLiteral("VEXO_KData/RMD_Yed"));
}

QString spareBackupFolder()
{
    return QDir(dataRoot()).filePath(QStringLiteral("VEXO_TData/RMD_Yed"));
}

bool isLiveReferenceLocation(const QString &folder)
{
    if (sameFile(folder, dataRoot()))
        return true;
    const QStringList live = filesIn(dataRoot());
    const QStringList chosen = filesIn(folder);
    for (qsizetype i = 0; i < live.size(); ++i) {
        if (sameFile(live.at(i), chosen.at(i)))
            return true;
    }
    return false;
}

bool backupReferenceDatabase(QWidget *owner, const QString &chosen)
{
    owner = mainWindowOf(owner);
    if (chosen.isEmpty() || !QDir::isAbsolutePath(chosen))
        return false;
    if (!ISDRIVEREADY(chosen)) {
        MESS2(chosen + QStringLiteral(": sürücüsü hazır değil!\r\rHazırlayıp tekrar deneyiniz."));
        return false;
    }
    const QString folder = withSeparator(chosen);
    if (isLiveReferenceLocation(folder)) {
        showMessage(owner, QStringLiteral("Dikkat..."), kSameFolder, MB_ICONINFORMATION);
        return false;
    }
    if (!liveTablesPresent(owner))
        return false;
    PairReplaceResult result;
    {
        AlertScope notice(owner, kWorking, kNoticePauseMs);
        // The folder the dialog proposes is made on its first use; any other must exist already.
        const bool proposed = QDir::cleanPath(folder) == QDir::cleanPath(proposedBackupFolder());
        result = proposed ? copyLiveTablesInto(folder) : replaceFilePair(filesIn(dataRoot()), filesIn(folder));
    }
    VXODEFAULTS();
    if (!result.ok()) {
        ERRMESS(owner, QStringLiteral("Hata..."), backupFailedText(result));
        return false;
    }
    return true;
}

bool quickBackupReferenceDatabase(QWidget *owner)
{
    if (!liveTablesPresent(owner))
        return false;
    const PairReplaceResult result = copyLiveTablesInto(proposedBackupFolder());
    if (!result.ok()) {
        ERRMESS(owner, QStringLiteral("Hata..."), backupFailedText(result));
        return false;
    }
    return true;
}

bool restoreReferenceDatabase(QWidget *owner, const QString &chosen)
{
    owner = mainWindowOf(owner);
    if (chosen.trimmed().isEmpty() || !QDir::isAbsolutePath(chosen))
        return false;
    const QString folder = withSeparator(chosen);
    if (isLiveReferenceLocation(folder)) {
        showMessage(owner, QStringLiteral("Uyarı..."), kSameFolder, MB_ICONINFORMATION);
        return false;
    }
    // A backup into this folder that was cut short is finished before its pair is looked at.
    if (!finishInterruptedChange(owner, folder))
        return false;
    const QStringList names = referenceFileSet();
    const QStringList backup = filesIn(folder);
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (!QFileInfo(backup.at(i)).isFile()) {
            ERRMESS(owner, QStringLiteral("Hata..."),
                    names.at(i) + QStringLiteral(" veritabanı dosyası seçilen dizinde yok..."));
            return false;
        }
    }
    // The live tables are replaced only when the user agrees, knowing which backup it is.
    const QString where = shownFolder(folder);
    const QString date = backupDateText(backup);
    const QString question = QStringLiteral("Referans veritabanı dosyaları (%1) yedekten alınacak.\n\n"
                                            "Yedek klasörü: %2\nYedek tarihi: %3\n\n"
                                            "Kullanılan dosyalar bu yedekle değiştirilecek. Devam edilsin mi?")
                                 .arg(names.join(QStringLiteral(", ")), where, date);
    if (!askYesNo(owner, QStringLiteral("Uyarı..."), question, MB_ICONQUESTION | MB_DEFBUTTON2))
        return false;
    // An editor left open would later write its old rows over the restored tables.
    if (ShellHost *host = shellHost(); host && !host->CLOSEWINDOWSEXIST()) {
        host->setStatusText(QStringLiteral("Açık pencereler kapatılmadığı için yedekten alınmadı..."));
        return false;
    }
    PairReplaceResult result;
    {
        AlertScope notice(owner, kWorking, kNoticePauseMs);
        result = replaceFilePair(backup, filesIn(dataRoot()));
    }
    if (!result.ok()) {
        const QString failed = names.value(result.file) + QStringLiteral(" veritabanı dosyası yedekten kopyalanamadı...");
        ERRMESS(owner, QStringLiteral("Hata..."),
                result.reason.isEmpty() ? failed : failed + QStringLiteral(" : ") + result.reason);
        return false;
    }
    // The restored definitions may give nutrients other decimals than the ones the editors use.
    loadNutrientDecimals();
    showMessage(owner, QStringLiteral("Bilgi..."),
                QStringLiteral("Referans veritabanı dosyaları yedekten alındı.\n\nYedek klasörü: %1\nYedek tarihi: %2")
                    .arg(where, date),
                MB_OK | MB_ICONINFORMATION);
    return true;
}

bool finishInterruptedReferenceChanges(QWidget *owner)
{
    bool finished = true;
    for (const QString &folder : {dataRoot(), proposedBackupFolder()})
        finished = finishInterruptedChange(owner, folder) && finished;
    return finished;
}

bool RM_YEDEKLE()
{
    // Kept for the older edition's habits: the spare folder is made but nothing uses it.
    QDir().mkpath(spareBackupFolder());
    return backupReferenceDatabase(nullptr, askFolder());
}

bool RM_YEDEKTEN_AL()
{
    return restoreReferenceDatabase(nullptr, askFolder());
}

void installReferenceCommands()
{
    shellCommands().add(QStringLiteral("RM_YEDEKLE"), [] { RM_YEDEKLE(); });
    shellCommands().add(QStringLiteral("RM_YEDEKTEN_AL"), [] { RM_YEDEKTEN_AL(); });
    shellCommands().add(QStringLiteral("VKAR25_DONUS"), [] { VKAR25_DONUS_COMMAND(); });
}

} // namespace vexo
