#include "matrix/yeni_dosya_window.h"

#include "controls/edit_subclasses.h"
#include "controls/picture_button.h"
#include "platform/message_sink.h"
#include "resources/resource_library.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace vexo {

YENIDOSYAWINDOW::YENIDOSYAWINDOW(QWidget *owner)
    : QDialog(owner)
{
    setWindowTitle(QStringLiteral("Yeni..."));
    setWindowIcon(ResourceLibrary::icon(QStringLiteral("VXOMAIN")));
    setModal(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(191, 191, 255));
    setPalette(pal);
    setAutoFillBackground(true);

    m_box = new QGroupBox(QStringLiteral("Yeni bir veri dosyası adı giriniz:"), this);
    m_box->setFont(QFont(QStringLiteral("Microsoft Sans Serif"), 10));
    m_name = new QVSLE(m_box);
    m_name->setMaxLength(65);
    m_name->setFont(font());
    auto *inner = new QVBoxLayout(m_box);
    inner->addWidget(m_name);

    m_ok = pictureButton(this, QStringLiteral("VXOOK2"), QStringLiteral("Tamam"), QSize(24, 24), QSize(40, 36));
    m_ok->setDefault(true);
    m_cancel = pictureButton(this, QStringLiteral("VXOIPTAL2"), QStringLiteral("İptal"), QSize(24, 24), QSize(40, 36));
    m_cancel->setAutoDefault(false);
    connect(m_ok, &QPushButton::clicked, this, &YENIDOSYAWINDOW::PBTAMAM);
    connect(m_cancel, &QPushButton::clicked, this, &YENIDOSYAWINDOW::PBIPTAL);

    auto *buttons = new QVBoxLayout;
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(m_box, 1);
    layout->addLayout(buttons);
    const QFontMetrics fm(font());
    resize(qRound(280 * fm.averageCharWidth() / 4.0), qRound(78 * fm.height() / 8.0));
    m_name->setFocus();
}

void YENIDOSYAWINDOW::PBTAMAM()
{
    const QString name = m_name->text().trimmed();
    if (name.isEmpty()) {
        showMessage(this, QStringLiteral("Uyarı..."), QStringLiteral("Dosya adı girilmedi..."),
                    MB_OK | MB_ICONINFORMATION);
        m_name->setFocus();
        return;
    }
    CDOSYA = name;
    done(1);
}

void YENIDOSYAWINDOW::PBIPTAL()
{
    CDOSYA.clear();
    done(0);
}

void YENIDOSYAWINDOW::reject()
{
    PBIPTAL();
}

} // namespace vexo
