#pragma once

#include "problem/name_match.h"

#include <QDialog>
#include <QList>
#include <QPair>
#include <QStringList>

class QComboBox;
class QLabel;
class QPushButton;

namespace vexo {

// The name-matching dialog: asks what a problem name with no counterpart on the reference side
// stands for. It only asks; the caller changes the problem. Result 1 with NSELECTED (position in the
// caller's list, from 1), 2 to skip the name, 0 to cancel.
class CB_HSEC : public QDialog
{
    Q_OBJECT
public:
    CB_HSEC(QWidget *owner, const QString &missingName, const QStringList &choices);

    quint32 NSELECTED = 0;

    // A true value removes the cancel button, so the user can only match or skip.
    void setIPTAL(bool noCancel);

    void PBTAMAM();
    void PB_ATLA();
    void PBIPTAL();

    QComboBox *combo() const { return m_combo; }
    QLabel *prompt() const { return m_prompt; }
    QPushButton *okButton() const { return m_ok; }
    QPushButton *skipButton() const { return m_skip; }
    QPushButton *cancelButton() const { return m_cancel; }
    // The caller's positions in the order the list shows them.
    QList<int> shownPositions() const;

protected:
    void reject() override; // Escape and the title bar cancel
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QList<QPair<int, QString>> m_ASECENEK;
    QLabel *m_prompt = nullptr;
    QComboBox *m_combo = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_skip = nullptr;
    QPushButton *m_cancel = nullptr;
    int m_picked = -1; // the entry the user picked from the list
};

// The real dialog behind the matching seam; the program installs one at start-up.
class DialogNameMatcher : public NameMatcher
{
public:
    NameMatchAnswer choose(QWidget *owner, const QString &caption, const QString &name,
                           const QStringList &candidates) override;
};

} // namespace vexo
