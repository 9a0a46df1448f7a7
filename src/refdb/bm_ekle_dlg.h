#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

class QLineEdit;
class QPushButton;

namespace vexo {

// The abbreviation as the matrix column's name: trimmed, cut to 10 characters, punctuation, blanks
// and double quotes as "_", Turkish letters plain, upper case.
QString normaliseAbbreviation(const QString &text);
// Why an abbreviation cannot be a column name of a table (empty when it can).
QString abbreviationProblem(const QString &abbreviation);
// The number of decimal places as typed: a whole number 0 to 4, else refused (false).
bool decimalsAccepted(const QString &text);

inline const QString kDecimalsRefused = QStringLiteral("Desimal hane sayısı 0 ile 4 arasında bir tam sayı olmalıdır!");
inline const QString kAbbreviationRefused = QStringLiteral("Girilen kısaltma Referans Matriste alan adı olamaz!");

// The property dialog of one nutrient definition: name, abbreviation, unit, decimal places. Enter
// moves the focus to the next field. An abbreviation it opens with is locked; an empty one may be
// written, at most 10 characters. Result 1 when OK ended it with a change the user made.
class BM_EKLE_DLG : public QDialog
{
    Q_OBJECT
public:
    BM_EKLE_DLG(QWidget *owner, const QStringList &values);

    QString SBMADI;
    QString SBRIM;
    QString SDESIM;
    QString SKISALTMA;
    bool LADEG = false;
    bool LBDEG = false;
    int RESULT = 0;

    void PB_OK();
    void PB_IPTAL();
    // The name of field 0 to 3 as its label gives it, for the words that refuse an entry.
    static QString fieldName(int i);

    QLineEdit *SLE_BMADI = nullptr;
    QLineEdit *SLE_KISALTMA = nullptr;
    QLineEdit *SLE_BRIM = nullptr;
    QLineEdit *SLE_DESIM = nullptr;
    QPushButton *okButton = nullptr;
    QPushButton *cancelButton = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void reject() override;

private:
    void normalise(QLineEdit *field);
    // Tells the user why OK was refused and puts the focus on the field to mend.
    void refuse(QLineEdit *field, const QString &why);

    QString m_lastDecimals; // the number of places the field goes back to when a typed one is refused
    // A typed number of places was refused since the last typing: the OK that follows at once (a
    // click on OK leaves the field first) ends nothing, so the refusal is seen.
    bool m_decimalsRefused = false;
};

} // namespace vexo
