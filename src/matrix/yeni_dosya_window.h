#pragma once

#include "controls/cancel_owner.h"

#include <QDialog>

class QGroupBox;
class QPushButton;

namespace vexo {

class QVSLE;

// YENIDOSYAWINDOW, "Yeni...": asks the name of a new problem file. Result 1 with the trimmed name in
// CDOSYA, or 0 with an empty CDOSYA.
class YENIDOSYAWINDOW : public QDialog, public CancelOwner
{
    Q_OBJECT
public:
    explicit YENIDOSYAWINDOW(QWidget *owner);

    QString CDOSYA;

    void PBTAMAM();
    void PBIPTAL() override;

    QVSLE *DOSYAADILINE() const { return m_name; }
    QPushButton *okButton() const { return m_ok; }
    QPushButton *cancelButton() const { return m_cancel; }
    QGroupBox *groupBox() const { return m_box; }

protected:
    void reject() override;

private:
    QVSLE *m_name = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
    QGroupBox *m_box = nullptr;
};

} // namespace vexo
