#include "matrix/alert.h"

#include "platform/clock.h"
#include "resources/resource_library.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QPointer>
#include <QVBoxLayout>

namespace vexo {

ALERT::ALERT(QWidget *owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setWindowTitle(QStringLiteral("İşlem Mesajı..."));
    setWindowIcon(ResourceLibrary::icon(QStringLiteral("VXOTOD")));
    setModal(false);
    ODCFT_MESS = new QLabel(QStringLiteral("Veriler okunuyor... Lütfen bekleyiniz"), this);
    ODCFT_MESS->setAlignment(Qt::AlignCenter);
    ODCFT_MESS->setFont(QFont(QStringLiteral("Microsoft Sans Serif"), 9));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(ODCFT_MESS);
    // 248 by 36 dialog units.
    const QFontMetrics fm(font());
    setMinimumSize(qRound(248 * fm.averageCharWidth() / 4.0), qRound(36 * fm.height() / 8.0));
}

QString ALERT::AMESS(const QString &text)
{
    ODCFT_MESS->setText(text);
    return text;
}

void ALERT::closeEvent(QCloseEvent *event)
{
    event->ignore();
}

struct AlertScope::Guard
{
    QPointer<ALERT> dialog;
};

AlertScope::AlertScope(QWidget *owner, const QString &text, int pauseMs)
    : m_guard(new Guard)
{
    m_guard->dialog = new ALERT(owner);
    if (!text.isEmpty())
        m_guard->dialog->AMESS(text);
    m_guard->dialog->show();
    QCoreApplication::processEvents();
    if (pauseMs > 0)
        clock().sleepMs(pauseMs);
}

AlertScope::~AlertScope()
{
    if (m_guard->dialog) {
        m_guard->dialog->hide();
        delete m_guard->dialog.data();
    }
    delete m_guard;
}

ALERT *AlertScope::dialog() const
{
    return m_guard->dialog.data();
}

} // namespace vexo
