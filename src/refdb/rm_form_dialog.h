#pragma once
// The form "Referans Matris Yem Maddesi Yazımı" over one record of the reference-matrix editor. It
// works on a copy; the editor takes the hand-back (handBack()) after the dialog closed.
#include "controls/browser_owner.h"
#include "controls/cancel_owner.h"
#include "refdb/rm_form.h"
#include "refdb/rm_form_rules.h"

#include <QDialog>
#include <QLineEdit>

#include <memory>

class QComboBox;
class QLineEdit;
class QMenu;
class QPushButton;

namespace vexo {

class BARRAYSERVER;
class BCLASSBROWSER;
class QVSLE;

// One item of the form's context menu "&Yazım" (an empty text is a separator).
struct FormMenuItem
{
    int id = 0;
    const char *text = "";
    const char *command = "";
    const char *description = "";
};
const QList<FormMenuItem> &formContextMenuItems();

class ReferenceIngredientForm : public QDialog, private BrowserOwner, public CancelOwner
{
    Q_OBJECT
public:
    ReferenceIngredientForm(QWidget *owner, const RmFormInput &input);
    ~ReferenceIngredientForm() override;

    // The hand-back after "Kaydet" (or Yes to the closing question) with a change; nothing otherwise.
    std::optional<RmFormHandBack> handBack() const;

    void PBKAYDET();
    void PBIPTAL() override;
    // The closing question; false when it was cancelled and the form stays open.
    bool SONKONT();
    void DOKAYDET();
    void DOIPTAL();
    void FDELETE();

    bool LYYKAYDET = false;
    bool YYCHANGE = false;
    QList<int> AYYDECIM;
    QString CYYESKI;
    bool RESULT = true;
    // The name refusals give the price field.
    static QString priceName();
    // Whether Enter moves the focus to the next field (on while a top field has the focus).
    bool keyboardNavigation() const { return m_keyMode; }

    QLineEdit *KOD = nullptr;
    QVSLE *YM_ADI = nullptr;
    QLineEdit *FIATI = nullptr;
    QComboBox *CB_GRUB = nullptr;
    BCLASSBROWSER *BROWSER = nullptr;
    QPushButton *PBKAYDET_ = nullptr;
    QPushButton *PBIPTAL_ = nullptr;
    QMenu *contextMenu() const { return m_menu; }
    BARRAYSERVER *server() const { return m_server.get(); }
    const QList<FormNutrientRow> &rows() const { return m_rows; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void reject() override;

private:
    void fill(const RmFormInput &input);
    void COLUMNFORMAT();
    void fitColumnWidths();
    void fieldGotFocus(QWidget *field);
    void fieldLostFocus(QWidget *field, Qt::FocusReason reason);
    // A group typed into the combo's field that differs from the record's counts as a change.
    void noteTypedGroup();
    // Before the form closes: the field still being typed in counts as if it had been left.
    void takeTypedFields();
    bool valueCellEditable(int recNo) const;
    void finish(int result);

    std::shared_ptr<BARRAYSERVER> m_server;
    QList<FormNutrientRow> m_rows;
    RmFormHandBack m_handBack;
    QMenu *m_menu = nullptr;
    bool m_keyMode = false;
    bool m_closing = false;
    bool m_shown = false;
    QString m_groupAtOpen;
};

} // namespace vexo
