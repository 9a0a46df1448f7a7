#include "shell/logon_dialog.h"

#include "controls/balloon_tip.h"
#include "controls/edit_subclasses.h"
#include "platform/dialog_units.h"
#include "problem/turkish_text.h"
#include "resources/resource_library.h"

#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace vexo {

void forceTurkishUpperCase(QLineEdit *field)
{
    QObject::connect(field, &QLineEdit::textEdited, field, [field](const QString &text) {
        const QString upper = TRUPPER(text);
        if (upper != text) {
            const int pos = field->cursorPosition();
            field->setText(upper);
            field->setCursorPosition(pos);
        }
    });
}

LOGONDIALOG::LOGONDIALOG(QWidget *owner, const QString &caption)
    : QDialog(owner)
{
    setWindowTitle(caption.isEmpty() ? QStringLiteral("Giriş") : caption);
    setWindowIcon(ResourceLibrary::icon(QStringLiteral("PSWICO")));
    QFont font(QStringLiteral("MS Shell Dlg"), 8);
    font.setStyleHint(QFont::SansSerif);
    setFont(font);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(196, 196, 225));
    setPalette(pal);
    setAutoFillBackground(true);
    auto dlu = [&](int x, int y, int w, int h) { return dluRect(font, x, y, w, h); };
    setFixedSize(dlu(0, 0, 192, 59).size());

    auto *group = new QGroupBox(this);
    group->setGeometry(dlu(8, 1, 148, 47));
    auto *nameLabel = new QLabel(QStringLiteral("Kullanıcı adı:"), this);
    nameLabel->setGeometry(dlu(16, 11, 43, 11));
    m_name = new QVSLE(this);
    m_name->setGeometry(dlu(64, 11, 84, 11));
    auto *passwordLabel = new QLabel(QStringLiteral("Parola.........:"), this);
    passwordLabel->setGeometry(dlu(16, 29, 44, 11));
    m_password = new QVSLE(this);
    m_password->setGeometry(dlu(64, 29, 84, 11));
    m_password->setEchoMode(QLineEdit::Password);
    forceTurkishUpperCase(m_password);

    m_ok = new QPushButton(this);
    m_ok->setGeometry(dlu(160, 3, 24, 22));
    m_ok->setIcon(ResourceLibrary::icon(QStringLiteral("VXOOK2")));
    m_ok->setIconSize(m_ok->size() * 2 / 3);
    m_ok->setToolTip(QStringLiteral("Tamam"));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(this);
    m_cancel->setGeometry(dlu(160, 29, 24, 22));
    m_cancel->setIcon(ResourceLibrary::icon(QStringLiteral("VXOIPTAL2")));
    m_cancel->setIconSize(m_cancel->size() * 2 / 3);
    m_cancel->setToolTip(QStringLiteral("İptal"));
    connect(m_ok, &QPushButton::clicked, this, &LOGONDIALOG::PBTAMAM);
    connect(m_cancel, &QPushButton::clicked, this, &LOGONDIALOG::PBIPTAL);

    m_name->installEventFilter(this);
    m_password->installEventFilter(this);
    m_name->setFocus();
}

bool LOGONDIALOG::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn) {
        if (watched == m_name) {
            showBalloonTip(m_name, QStringLiteral("Kullanıcı adını giriniz!"));
        } else if (watched == m_password) {
            if (m_name->text().isEmpty())
                QMetaObject::invokeMethod(m_name, qOverload<>(&QWidget::setFocus), Qt::QueuedConnection);
            else
                showBalloonTip(m_password, QStringLiteral("Parolayı giriniz!"));
        }
    }
    return QDialog::eventFilter(watched, event);
}

void LOGONDIALOG::PBTAMAM()
{
    if (m_session.attempt(this, m_name->text(), m_password->text()) == LogonSession::Step::Finished) {
        done(1);
        return;
    }
    m_name->clear();
    m_password->clear();
    m_name->setFocus();
}

void LOGONDIALOG::PBIPTAL()
{
    m_session.cancel();
    done(0);
}

void LOGONDIALOG::reject()
{
    PBIPTAL();
}

std::optional<QString> runLogonDialog(QWidget *owner)
{
    LOGONDIALOG dialog(owner);
    dialog.exec();
    if (!dialog.LOGONOK())
        return std::nullopt;
    return dialog.LOGONID();
}

} // namespace vexo
