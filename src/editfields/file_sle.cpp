#include "editfields/file_sle.h"

#include "platform/file_dialogs.h"

#include <QDir>

namespace vexo {

QString pickedFolderText(const QString &folder, const QString &keptName)
{
    if (keptName.isEmpty())
        return folder;
    if (folder.endsWith(u'/') || folder.endsWith(QDir::separator()))
        return folder + keptName;
    return folder + u'/' + keptName;
}

QString fileChooserFilter(const QVariant &patterns, const QVariant &descriptions)
{
    if (!patterns.isValid() || patterns.isNull())
        return QStringLiteral("All FIles (*.*)");
    const QStringList list = patterns.toStringList();
    const QStringList texts = descriptions.toStringList();
    QStringList filters;
    for (qsizetype i = 0; i < list.size(); ++i) {
        const QString text = i < texts.size() ? texts.at(i) : QString();
        filters << (text.isEmpty() ? list.at(i) : text + QStringLiteral(" (") + list.at(i) + u')');
    }
    return filters.join(QStringLiteral(";;"));
}

FILESLE::FILESLE(QWidget *owner, const QRect &geometry)
    : RIGHTSLE(owner, geometry)
{
    setObjectName(QStringLiteral("FILESLE"));
}

void FILESLE::MOUSEBUTTONDOUBLECLICK()
{
    QString picked;
    if (NDIALOGTYPE == 2) {
        const QString folder = fileDialogs().folder(this, SFDIALOGCAPTION, QString());
        if (!folder.isEmpty())
            picked = pickedFolderText(folder, SDBFNAME);
    } else {
        const QString filter = fileChooserFilter(XFILTER, XFILTERDESC);
        QWidget *owner = parentWidget();
        picked = NDIALOGTYPE == 1 ? fileDialogs().openFile(owner, QString(), text(), filter)
                                  : fileDialogs().saveFile(owner, QString(), text(), filter);
    }
    if (!picked.isEmpty())
        setTextValue(picked);
}

void FILESLE::mouseDoubleClickEvent(QMouseEvent *)
{
    MOUSEBUTTONDOUBLECLICK();
}

PBFILESLE::PBFILESLE(QWidget *owner, const QRect &geometry)
    : FILESLE(owner, geometry)
{
    setObjectName(QStringLiteral("PBFILESLE"));
    if (owner)
        setPartnerButton(new FILEPB(owner, this));
}

FILEPB::FILEPB(QWidget *owner, FILESLE *partner)
    : WMBITMAPBUTTON(owner, QStringLiteral("IBM_MAGNIFUP"), QStringLiteral("IBM_MAGNIFDN"))
    , m_partner(partner)
{
    setObjectName(QStringLiteral("FILEPB"));
    connect(this, &QPushButton::clicked, this, [this] {
        if (m_partner && !m_partner->isReadOnly())
            m_partner->MOUSEBUTTONDOUBLECLICK();
    });
}

} // namespace vexo
