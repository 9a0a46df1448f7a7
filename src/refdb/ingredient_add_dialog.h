#pragma once

#include "controls/browser_owner.h"
#include "refdb/tick_list_dialog.h"

#include <QHash>
#include <QList>
#include <QStringList>

#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vexo {

class BARRAYSERVER;
class SSEARCH_BBROWSER;

// The form of the add-ingredients dialog: its controls and their texts.
class DTWSENSITIVESEARCH_ : public TickListDialog
{
    Q_OBJECT
public:
    explicit DTWSENSITIVESEARCH_(QWidget *owner);

    QComboBox *CBGROUPS = nullptr;
    QLineEdit *SEARCHFIELD = nullptr;
    QPushButton *SEARCHBUTTON = nullptr; // "Ara"
    SSEARCH_BBROWSER *BROWSER = nullptr;
    QPushButton *PBHSEC_ = nullptr;
    QPushButton *PBHKALDIR_ = nullptr;
    QPushButton *PBEKLE_ = nullptr;
    QPushButton *PBIPTAL_ = nullptr;
    QLabel *FT_ACIKLAMA = nullptr;

protected:
    BrowserOwner m_gridOwner;
};

// "Yem Maddesi Ekle": lists the reference matrix's ingredients of one group with a tick column and a
// type-ahead search on the names, and appends the ticked ones to the open problem.
class DATADLGSENSITIVESEARCH : public DTWSENSITIVESEARCH_
{
    Q_OBJECT
public:
    // `room`: how many ingredients the caller can still take (negative: the problem's limit alone).
    explicit DATADLGSENSITIVESEARCH(QWidget *owner, int room = -1);
    ~DATADLGSENSITIVESEARCH() override;

    // False when the reference matrix could not be opened (the user was told); the dialog is then
    // not to be shown.
    bool opened() const { return m_opened; }
    quint32 NRESULT = 0;

    void FILLGYEMMAD();
    bool SEARCHOPEN(int column);
    void SEARCH();
    bool SEARCHCLOSE();
    void PBHSEC();
    void PBHKALDIR();
    void PBEKLE();
    bool CHKSTATUS();
    bool SONKONT() override;
    void SERVERCLOSE();
    bool searchOpen() const;

private:
    bool EVENTHANDLER(QObject *control, QEvent *event);

    QList<quint32> m_ASECKAYIT;
    int m_room = -1;
    bool m_LYENIARAMA = false;
    bool m_opened = false;
    QHash<QString, QString> m_units; // the definitions' units by abbreviation
};

} // namespace vexo
