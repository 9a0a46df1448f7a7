#pragma once

#include "controls/browser_owner.h"
#include "controls/named_owner.h"

#include <QDialog>
#include <QList>
#include <QString>

#include <memory>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vexo {

class BARRAYSERVER;
class BCLASSBROWSER;
class JOVBITMAPBUTTON;

// Enables or disables the Close command of a window's title bar (its close box); nothing for a
// missing window.
void SYSTEMMENUCLOSE(QWidget *window, bool enable = true);

// GRUP_ATAMA_DLG: the group of one ingredient just added to the problem, chosen from the group names
// ("Tamam", result 1) or none ("Atla", result 2). Only its two buttons end it: no close box, and
// Escape does nothing.
class GRUP_ATAMA_DLG : public QDialog, public NamedCommandOwner
{
    Q_OBJECT
public:
    GRUP_ATAMA_DLG(QWidget *owner, const QString &ingredient);

    void PBTAMAM();
    void PBATLA();

    QLabel *FT_YMAD = nullptr;
    QComboBox *CB_GSEC = nullptr;
    JOVBITMAPBUTTON *BTAMAM = nullptr;
    QPushButton *BATLA = nullptr;
    // The chosen group's position in the group names (from 1), 0 when none.
    unsigned NSELECTED = 0;

protected:
    void reject() override {}
    void closeEvent(QCloseEvent *event) override;
};

// Asks the group of an ingredient: the chosen group (from 1), or 0 for none.
int askIngredientGroup(QWidget *owner, const QString &ingredient);

// GRUP_BELIR_DLG: the members of a group, and a new group's name. `existing` is the row number and
// name of an existing group; without it the dialog defines a new group. Results: RESULT (1 after a
// save), CGRPNAME (a new group's trimmed name), ANSELECTED (ticked ingredient positions, from 1).
class GRUP_BELIR_DLG : public QDialog
{
    Q_OBJECT
public:
    struct Existing
    {
        int row = 0;
        QString name;
    };
    GRUP_BELIR_DLG(QWidget *owner, std::optional<Existing> existing);
    ~GRUP_BELIR_DLG() override;

    void PBKAYDET();
    void PBIPTAL();
    void CHKSELECT();
    int GETTOTSELNO() const;
    bool CHKDEG(bool changed) { return m_changed = changed; }
    bool selectionChanged() const { return m_changed; }

    BCLASSBROWSER *BROWSER = nullptr;
    QPushButton *BKAYDET = nullptr;
    QPushButton *BIPTAL = nullptr;
    QLineEdit *SLE_GADI = nullptr;

    int RESULT = 0;
    QString CGRPNAME;
    QList<int> ANSELECTED;

protected:
    void closeEvent(QCloseEvent *event) override;
    void reject() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void GSELECTED(int n);
    // The question on leaving after changes; true when the dialog may end (not after Cancel).
    bool SONKONT();
    void DOKAYDET();
    void DOIPTAL();
    QList<int> ticked() const;

    BrowserOwner m_owner;
    std::shared_ptr<BARRAYSERVER> m_server;
    bool m_changed = false;
    bool m_newGroup = false;
    bool m_ending = false;
};

} // namespace vexo
