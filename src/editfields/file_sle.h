#pragma once

#include "editfields/right_sle.h"
#include "editfields/wm_bitmap_button.h"

#include <QVariant>

namespace vexo {

// The text a picked folder gives the field: the folder alone, or the folder and the kept file name
// with exactly one separator between them.
QString pickedFolderText(const QString &folder, const QString &keptName);
// The chooser filter text for one pattern or a list of patterns with their descriptions; no pattern
// gives the default "All FIles (*.*)".
QString fileChooserFilter(const QVariant &patterns, const QVariant &descriptions);

// A field whose double click opens a chooser (through fileDialogs()) and takes the chosen path:
// NDIALOGTYPE 1 a file to open, 2 a folder, any other value a file to save. A cancelled chooser
// leaves the text as it was. The settings are read afresh at every pick.
class FILESLE : public RIGHTSLE
{
    Q_OBJECT
public:
    explicit FILESLE(QWidget *owner = nullptr, const QRect &geometry = QRect());

    QString SDBFNAME;
    qint32 NDIALOGTYPE = 1;
    QString SFDIALOGCAPTION;
    QVariant XFILTER;
    QVariant XFILTERDESC;

    // Opens the chooser; also in a read-only field.
    void MOUSEBUTTONDOUBLECLICK();

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;
};

// A file field with its magnifier button at its right; the field is 30 pixels narrower for it.
class PBFILESLE : public FILESLE
{
    Q_OBJECT
public:
    explicit PBFILESLE(QWidget *owner = nullptr, const QRect &geometry = QRect());
};

// The magnifier button of a file field: a click picks unless the field is read-only.
class FILEPB : public WMBITMAPBUTTON
{
    Q_OBJECT
public:
    static constexpr int kId = 10102;
    FILEPB(QWidget *owner, FILESLE *partner);
    FILESLE *OSLE() const { return m_partner; }

private:
    QPointer<FILESLE> m_partner;
};

} // namespace vexo
