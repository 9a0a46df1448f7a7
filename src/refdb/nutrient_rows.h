#pragma once

#include "controls/barray_server.h"
#include "refdb/matrix_rebuild.h"

#include <QString>
#include <QStringList>

#include <memory>

class QWidget;

namespace vexo {

// What the property dialog reports after it ended.
struct NutrientDialogResult
{
    int result = 0;
    bool LADEG = false;
    bool LBDEG = false;
    QString SBMADI, SKISALTMA, SBRIM, SDESIM;
};

// The rows of the nutrient-definition editor and every operation on them, without any window: the
// rows live in an array server (fields NUM, NAME, ABRRE, UNIT, DECIM) that the editor's grid shows.
// Messages and questions go through the message seam, owned by `owner`.
class NutrientDefinitionRows
{
public:
    NutrientDefinitionRows(std::shared_ptr<BARRAYSERVER> server, QWidget *owner = nullptr);

    // The definitions table read into rows, creating it with its first definition when missing;
    // null when it can neither be created nor opened (the user was told).
    static std::shared_ptr<BARRAYSERVER> loadDefinitions();
    static ServerFields definitionFields();

    BARRAYSERVER &server() { return *m_server; }
    std::shared_ptr<BARRAYSERVER> serverPtr() const { return m_server; }
    bool usable() const { return m_server && m_server->USED(); }

    bool BMCHANGE = false; // the definitions must be written
    bool ALAN3DEG = false; // the matrix's columns must be rebuilt
    bool LBOSKAY = false;  // blank rows were added
    int NSECKAY = 0;       // the row marked for moving
    bool kaydirEnabled = false;

    bool PBEKLE();
    bool BMEKLE();
    bool INSBLNKREC();
    // The two questions and the delete; true when a row went.
    bool BMDELETE();
    bool DODELETE();
    bool ALANSEEK(const QString &abbreviation);
    void BMSSEC();
    void BMSKAYDIR();
    void BOSKAYSIL();

    // The four texts the property dialog opens with for the current row.
    QStringList dialogValues() const;
    // Writes what the dialog reported into row `row`; false when the abbreviation was refused.
    bool applyDialog(int row, const NutrientDialogResult &d);

    // Writes the rows over the definitions table as a whole; false leaves it as it was.
    bool BMKAYDI();
    // The save: definitions, then the matrix when its columns changed. When the rebuild fails the
    // definitions file is put back as it was before this save and the flags stay set. True when
    // everything needed was saved.
    bool KAYDET(const RebuildFault &fault = {});
    // The closing check: blank rows go, changed definitions are offered for saving. False when the
    // editor has to stay open (the question cancelled, or the save failed).
    bool SONKONT(const RebuildFault &fault = {});
    // Save and close: blank rows go, then the save; false keeps the editor open.
    bool PBKAYDET(const RebuildFault &fault = {});

private:
    bool appendRow(); // up to three tries
    void renumberFrom(int row);
    QString abbreviationAt(int row) const;
    void info(const QString &caption, const QString &text) const;

    std::shared_ptr<BARRAYSERVER> m_server;
    QWidget *m_owner = nullptr;
    // The columns whose deletion the user confirmed since the last save: the rebuild asks no more
    // about their values.
    QStringList m_deletedColumns;
};

inline const QString kAddFailed = QStringLiteral("Kayıt ekleme başarısız...\r\n\r\nSonra tekrar deneyiniz!");
inline const QString kInsertFailed = QStringLiteral("Kayıt girme başarısız...\r\n\r\nSonra tekrar deneyiniz!");
inline const QString kAbbreviationTaken = QStringLiteral("Girilen besin maddesi Referans Matriste mevcut!");
inline const QString kDeleteQuestion = QStringLiteral("Seçili besin maddesi siliniyor!");
inline const QString kDeleteColumnQuestion =
    QStringLiteral("Seçili besin maddesi silinirse, bu alan\r\nReferans Matris'den de kaldırılacak!\r\n\r\n"
                   "Yaptığınız işten emin misisniz?");
inline const QString kReservedSuffix = QStringLiteral(" rezerve alan, kaydırmaya çalışmayınız...");
inline const QString kPutBackFailed =
    QStringLiteral("Besin maddesi tanımlarının önceki hali geri yazılamadı; tanımlar Referans Matris ile uyuşmuyor!");
inline const QString kSaved = QStringLiteral("Değişiklikler kaydedildi...");
inline const QString kSaveQuestion = QStringLiteral("Besin maddesi tanımları değişti.\n\nKaydetmek istiyor musunuz?");

} // namespace vexo
