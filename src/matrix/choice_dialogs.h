#pragma once

#include "controls/barray_server.h"
#include "controls/browser_owner.h"

#include <QDialog>
#include <QList>
#include <QStringList>

#include <memory>

class QLabel;
class QPushButton;

namespace vexo {

class CHOICE_BBROWSER;
class MTBOT_BBROWSER;

// Rows of the choice lists: the position as a right-aligned three-character text, then the item
// (the multiple choice puts its tick field CHK in front).
ServerFields choiceFields();
ServerFields markFields();
QList<QStringList> choiceRows(const QStringList &items);
ServerRows markRows(const QStringList &items);
// The ticked positions of the multiple choice's rows, ascending (read back from NUM).
QList<int> tickedPositions(const BARRAYSERVER &server);
// Ticks or unticks every row of the multiple choice.
void tickAll(BARRAYSERVER &server, bool on);

// BCHOICE: picks one item or none. NSELECTED is the chosen position after "Tamam", 0 otherwise.
class BCHOICE : public QDialog, public BrowserOwner
{
    Q_OBJECT
public:
    BCHOICE(QWidget *owner, const QString &caption, const QStringList &items);
    ~BCHOICE() override;

    int NSELECTED = 0;

    void CHKSELECT();
    int GETSELECTED() const;
    void PBTAMAM();
    void PBIPTAL();

    CHOICE_BBROWSER *BROWSER() const { return m_grid; }
    QPushButton *okButton() const { return m_ok; }
    QPushButton *cancelButton() const { return m_cancel; }

private:
    std::shared_ptr<BARRAYSERVER> m_server;
    CHOICE_BBROWSER *m_grid = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
};

// BMARKTOPBOT: ticks any number of items. ANSELECTED is the ticked positions, ascending, after
// "Tamam"; empty otherwise.
class BMARKTOPBOT : public QDialog, public BrowserOwner
{
    Q_OBJECT
public:
    BMARKTOPBOT(QWidget *owner, const QString &caption, const QStringList &items);
    ~BMARKTOPBOT() override;

    QList<int> ANSELECTED;

    void CHKSELECT();
    void PBTAMAM();
    void PBIPTAL();
    void PBHSEC();
    void PBHKALDIR();

    MTBOT_BBROWSER *BROWSER() const { return m_grid; }
    BARRAYSERVER *server() const { return m_server.get(); }
    QPushButton *allButton() const { return m_all; }
    QPushButton *noneButton() const { return m_none; }
    QPushButton *okButton() const { return m_ok; }
    QPushButton *cancelButton() const { return m_cancel; }

private:
    void setAll(bool on);

    std::shared_ptr<BARRAYSERVER> m_server;
    MTBOT_BBROWSER *m_grid = nullptr;
    QPushButton *m_all = nullptr;
    QPushButton *m_none = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
};

} // namespace vexo
