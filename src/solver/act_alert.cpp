#include "solver/act_alert.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vexo {

ACTALERT::ACTALERT(QWidget *owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setWindowTitle(QStringLiteral("İşlemler yürütülüyor! Lütfen bekleyiniz..."));
    setModal(false);
    m_counter = new QLabel(QStringLiteral("Hazırlanıyor..."), this);
    m_counter->setAlignment(Qt::AlignCenter);
    QFont f(QStringLiteral("Microsoft Sans Serif"), 11);
    m_counter->setFont(f);
    m_stop = new QPushButton(QStringLiteral("Durdur"), this);
    m_stop->setAutoDefault(false);
    connect(m_stop, &QPushButton::clicked, this, &ACTALERT::PBDURDUR);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_counter, 1);
    layout->addWidget(m_stop, 0, Qt::AlignHCenter);
    // 251 by 40 dialog units.
    const QFontMetrics fm(font());
    setMinimumSize(qRound(251 * fm.averageCharWidth() / 4.0), qRound(40 * fm.height() / 8.0));
    m_count = 0;
}

void ACTALERT::COUNTER()
{
    ++m_count;
    m_counter->setText(QStringLiteral("iterasyon: ") + QString::number(m_count));
    YIELD();
}

bool ACTALERT::YIELD()
{
    QCoreApplication::processEvents();
    return true;
}

void ACTALERT::PBDURDUR()
{
    LDURDUR = true;
}

void ACTALERT::closeEvent(QCloseEvent *event)
{
    event->ignore();
}

} // namespace vexo
