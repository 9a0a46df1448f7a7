#pragma once

#include <QDialog>
#include <QVariant>

class QPushButton;

namespace vexo {

class PBFILESLE;

// Asks for the folder of a reference-database backup. The extra argument is a text (a file name kept
// with the chosen folder, usually empty) or a list {file name, dialog caption}. SFFTXTVAL holds the
// confirmed path; it stays empty when the dialog ends any other way than through "Tamam".
class QVFOLDERDIALOGWINDOW : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kPathId = 100;

    QVFOLDERDIALOGWINDOW(QWidget *owner, const QVariant &extra);

    QString SFFTXTVAL;

    PBFILESLE *SLEYEDDIZ() const { return m_path; }
    QPushButton *okButton() const { return m_ok; }
    QPushButton *cancelButton() const { return m_cancel; }

    void PBTAMAM();
    void PBIPTAL();
    // Centres the dialog over its owner, shows it modally and returns SFFTXTVAL.
    QString run();

private:
    void POSTINIT(const QVariant &extra);

    PBFILESLE *m_path = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
};

} // namespace vexo
