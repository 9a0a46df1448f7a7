#include "refdb/qv_folder_dialog.h"

#include "controls/picture_button.h"
#include "editfields/file_sle.h"
#include "platform/dialog_units.h"
#include "problem/window_placement.h"
#include "refdb/reference_backup.h"
#include "resources/resource_library.h"

#include <QPushButton>

namespace vexo {

namespace {

const QString kCaption = QStringLiteral("RM Dosyası (dBF) Yedekleme/Alma");

} // namespace

QVFOLDERDIALOGWINDOW::QVFOLDERDIALOGWINDOW(QWidget *owner, const QVariant &extra)
    : QDialog(owner)
{
    setObjectName(QStringLiteral("QVFOLDERDIALOGWINDOW"));
    setWindowTitle(kCaption);
    setWindowIcon(ResourceLibrary::icon(QStringLiteral("VXOMAIN")));
    setModal(true);
    QFont small = font();
    small.setPointSize(8);
    setFont(small);
    setFixedSize(dluRect(font(), 0, 0, 268, 59).size());

    m_path = new PBFILESLE(this, dluRect(font(), 8, 11, 256, 12));
    m_path->setObjectName(QStringLiteral("SLEYEDDIZ"));
    const QRect ok = dluRect(font(), 208, 29, 24, 22);
    const QRect cancel = dluRect(font(), 236, 29, 24, 22);
    m_ok = pictureButton(this, QStringLiteral("VXOOK2"), QStringLiteral("Tamam"), QSize(24, 24), ok.size());
    m_ok->setObjectName(QStringLiteral("PBTAMAM"));
    m_ok->move(ok.topLeft());
    m_ok->setDefault(true);
    m_cancel = pictureButton(this, QStringLiteral("VXOIPTAL2"), QStringLiteral("İptal"), QSize(24, 24),
                             cancel.size());
    m_cancel->setObjectName(QStringLiteral("PBIPTAL"));
    m_cancel->move(cancel.topLeft());
    connect(m_ok, &QPushButton::clicked, this, &QVFOLDERDIALOGWINDOW::PBTAMAM);
    connect(m_cancel, &QPushButton::clicked, this, &QVFOLDERDIALOGWINDOW::PBIPTAL);

    POSTINIT(extra);
}

void QVFOLDERDIALOGWINDOW::POSTINIT(const QVariant &extra)
{
    QString name;
    bool withCaption = false;
    if (extra.typeId() == QMetaType::QString) {
        name = extra.toString();
    } else if (extra.typeId() == QMetaType::QStringList || extra.typeId() == QMetaType::QVariantList) {
        const QStringList list = extra.toStringList();
        if (list.size() != 2)
            return; // any other argument leaves the field as the field sets itself up
        name = list.at(0);
        withCaption = true;
        setWindowTitle(list.at(1));
    } else {
        return;
    }
    const QString start = proposedBackupFolder();
    m_path->NDIALOGTYPE = 2;
    m_path->setTextValue(name.isEmpty() ? start : start + u'/' + name);
    m_path->XFILTER = QStringList{QStringLiteral("*.DBF"), QStringLiteral("*.*")};
    m_path->SDBFNAME = name;
    if (withCaption) {
        m_path->XFILTERDESC = QStringList{QStringLiteral("Veritabanı Dosyaları"), QStringLiteral("Tüm Dosyalar")};
        m_path->SFDIALOGCAPTION = QStringLiteral("VEXO_Zud 2.5 RM Dosyası Yedekli Dizini Seçiniz");
    } else {
        m_path->SFDIALOGCAPTION = QStringLiteral("RM Dosyasını Yedeklemek/Almak İstediğiniz Dizini Seçiniz:");
    }
}

void QVFOLDERDIALOGWINDOW::PBTAMAM()
{
    if (m_path->text().isEmpty()) {
        m_path->setFocus();
        return;
    }
    SFFTXTVAL = m_path->text();
    done(1);
}

void QVFOLDERDIALOGWINDOW::PBIPTAL()
{
    done(0);
}

QString QVFOLDERDIALOGWINDOW::run()
{
    QVMOVEWINDOW(this);
    exec();
    return SFFTXTVAL;
}

} // namespace vexo
