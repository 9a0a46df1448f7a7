#pragma once

#include "controls/cancel_owner.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace vexo {

class QVSLE;

// MBM_WIND, "Makro BM Yeni Değer Girişi": asks a macro nutrient's new value. CTXTVAL holds the
// present value until "Tamam" accepts a typed number (as an 11-character number text); a cancel hands
// the present value back.
class MBM_WIND : public QDialog, public CancelOwner
{
    Q_OBJECT
public:
    MBM_WIND(QWidget *owner, const QString &prompt, const QString &value);

    QString CTXTVAL;

    void PBTAMAM();
    void PBIPTAL() override;
    // The name refusals give the value.
    static QString valueName();

    QLabel *FIXEDTEXT1() const { return m_prompt; }
    QVSLE *MBM_EDIT() const { return m_edit; }
    QPushButton *okButton() const { return m_ok; }
    QPushButton *cancelButton() const { return m_cancel; }

protected:
    void reject() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Checks and normalises the typed value; a refused one puts the last value back (false).
    bool takeTyped();

    QString m_given;
    QString m_last; // the value the field goes back to when a typed one is refused
    // A typed value was refused on leaving the field and nothing was typed since: the OK that follows
    // at once (a click on OK leaves the field first) ends nothing, so the refusal is seen.
    bool m_refused = false;
    QLabel *m_prompt = nullptr;
    QVSLE *m_edit = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
};

} // namespace vexo
