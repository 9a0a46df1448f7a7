#pragma once

#include <QDialog>
#include <QIcon>

class QLabel;
class QPushButton;

namespace vexo {

// The "Hakkında..." box: the program's name and version, its maker and its rights line. The OK
// button ends it with 1.
class VXOHAKKINDA : public QDialog
{
    Q_OBJECT

public:
    explicit VXOHAKKINDA(QWidget *owner);

    void PBTAMAM() { done(1); }

    // The dialog's texts by field name ("FIXEDTEXT1" ... "FIXEDTEXT9"), for tests.
    QLabel *field(const QString &name) const;
    QPushButton *okButton() const { return m_ok; }

private:
    QPushButton *m_ok = nullptr;
};

// The about box, modal and centred over its owner; the main window's and the editors' about command.
void showAboutBox(QWidget *owner);

// The program's icon, the picture "VXOMAIN".
QIcon vxoMainIcon();

} // namespace vexo
