#pragma once

#include "controls/cancel_owner.h"
#include "solver/report_data_form.h"

#include <QDialog>

class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace vexo {

class QVSLE;

// KYPARMGIR_WIN, "Rapor Verileri": asks the report's data and its type and format before an
// interactive solve delivers. A thin window over ReportDataForm, which holds the rules.
class KYPARMGIR_WIN : public QDialog, public CancelOwner
{
    Q_OBJECT
public:
    explicit KYPARMGIR_WIN(QWidget *owner, ReportDataForm &form);

    void PBTAMAM();
    void PBIPTAL() override;

    QVSLE *field(ReportDataForm::Field f) const { return m_fields[f]; }
    QRadioButton *RB_DETAY() const { return m_detay; }
    QRadioButton *RB_OZET() const { return m_ozet; }
    QRadioButton *RB_TEKST() const { return m_tekst; }
    QRadioButton *RB_PDF() const { return m_pdf; }
    QPushButton *okButton() const { return m_ok; }
    QPushButton *cancelButton() const { return m_cancel; }

protected:
    void reject() override; // Escape and the title bar cancel
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void BUTTONCLICK(QRadioButton *clicked);
    void showRadios();
    QRect dlu(int x, int y, int w, int h) const;

    ReportDataForm &m_form;
    QVSLE *m_fields[ReportDataForm::FIELD_COUNT] = {};
    QRadioButton *m_detay = nullptr;
    QRadioButton *m_ozet = nullptr;
    QRadioButton *m_tekst = nullptr;
    QRadioButton *m_pdf = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
};

} // namespace vexo
