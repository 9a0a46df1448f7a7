#pragma once

#include "controls/cancel_owner.h"

#include <QDialog>

class QPushButton;

namespace vexo {

class PADWIN;
class QVSLE;

// "Sayfa Marjı": the left margin and the right edge of the text in inches, for the pad's paragraph
// indents. OK stores both in the pad (in twips) and ends the dialog with 1; Cancel ends it with 0.
class MARGINDIALOG : public QDialog, public CancelOwner
{
    Q_OBJECT
public:
    explicit MARGINDIALOG(PADWIN *owner);

    QVSLE *DCSLELM() const { return m_left; }
    QVSLE *DCSLERM() const { return m_right; }
    QPushButton *okButton() const { return m_ok; }
    QPushButton *cancelButton() const { return m_cancel; }

    // The names a refusal gives the two fields.
    static QString leftName();
    static QString rightName();

    void POSTINIT();
    void PBOK();
    void PBCANCEL();
    void PBIPTAL() override { PBCANCEL(); }

protected:
    void reject() override { PBCANCEL(); }

private:
    PADWIN *m_owner;
    QVSLE *m_left = nullptr;
    QVSLE *m_right = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
    QString m_lastLeft;
    QString m_lastRight;
};

} // namespace vexo
