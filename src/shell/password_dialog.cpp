#include "shell/password_dialog.h"

#include "controls/balloon_tip.h"
#include "controls/edit_subclasses.h"
#include "platform/dialog_units.h"
#include "problem/messages.h"
#include "problem/turkish_text.h"
#include "resources/resource_library.h"
#include "shell/logon_dialog.h"
#include "shell/shell_globals.h"

#include <QEvent>
#include <QLabel>
#include <QPushButton>

namespace vexo {

NewPasswordSession::NewPasswordSession(const QString &loggedOnUser, bool addMode)
    : m_server(std::make_unique<KSERVER>())
    , m_addMode(addMode)
{
    if (!tableOpen())
        return;
    if (m_server->seekUser(loggedOnUser)) {
        // The logon keeps the whole stored name, so only that record is the user's.
        m_userFound = TRUPPER(m_server->KULL_ID()).trimmed() == TRUPPER(loggedOnUser).trimmed();
        m_userRecord = m_server->recNo();
    }
}

NewPasswordSession::~NewPasswordSession() = default;

bool NewPasswordSession::tableOpen() const
{
    return m_server && m_server->isOpen() && !m_server->status();
}

bool NewPasswordSession::currentPasswordMatches(const QString &typed)
{
    if (!tableOpen() || !m_userFound || !m_server->goTo(m_userRecord))
        return false;
    return passwordMatches(typed, m_server->PASSWORD());
}

bool NewPasswordSession::nameTaken(const QString &name)
{
    const QString key = TRUPPER(name);
    m_server->goTop();
    if (!m_server->seekUser(key))
        return false;
    // Every name that begins with the typed one counts, except the user's own record when renaming.
    for (; !m_server->eof() && m_server->KULL_ID().startsWith(key); m_server->skip(1)) {
        if (m_addMode || m_server->recNo() != m_userRecord)
            return true;
    }
    return false;
}

NewPasswordSession::Check NewPasswordSession::commit(QWidget *owner, const QString &current,
                                                     const QString &newPassword, const QString &retyped,
                                                     const QString &newName)
{
    if (!tableOpen() || !m_userFound) {
        UYARI(owner, QString(), QStringLiteral("Oturum açan kullanıcının kaydı bulunamadı!"));
        return Check::UserNotFound;
    }
    if (!currentPasswordMatches(current))
        return Check::CurrentPassword;
    if (newPassword.isEmpty())
        return Check::NewPassword;
    if (TRUPPER(newPassword) != TRUPPER(retyped))
        return Check::Retype;
    if (newName.trimmed().isEmpty())
        return Check::NewName;
    if (nameTaken(newName)) {
        showMessage(owner, QStringLiteral("Uyarı..."), QStringLiteral("Aynı isimde bir kullanıcı var!"),
                    MB_OK | MB_ICONINFORMATION);
        return Check::NameTaken;
    }
    const bool placed = m_addMode ? m_server->APPEND() : m_server->goTo(m_userRecord);
    if (!placed || !m_server->fieldPut(QStringLiteral("PASSWORD"), TRUPPER(newPassword))
        || !m_server->fieldPut(QStringLiteral("KULL_ID"), TRUPPER(newName)) || !m_server->commit()) {
        ERRMESS(owner, QString(), QStringLiteral("Koruma dosyasına yazılamadı... :")
                                      + (m_server->status() ? m_server->status()->text() : QString()));
        return Check::WriteFailed;
    }
    close();
    return Check::Written;
}

void NewPasswordSession::close()
{
    if (m_server) {
        m_server->close();
        m_server.reset();
    }
}

NEWPASSWORDDIALOG::NEWPASSWORDDIALOG(QWidget *owner, const QString &caption, bool addMode)
    : QDialog(owner)
    , m_session(shellGlobals().CAKTIFKULLANICI, addMode)
{
    setWindowTitle(caption);
    setWindowIcon(ResourceLibrary::icon(QStringLiteral("VXOTOD")));
    QFont font(QStringLiteral("MS Shell Dlg"), 8);
    font.setStyleHint(QFont::SansSerif);
    setFont(font);
    auto dlu = [&](int x, int y, int w, int h) { return dluRect(font, x, y, w, h); };
    setFixedSize(dlu(0, 0, 236, 92).size());

    auto label = [&](const char *text, QRect r) {
        auto *l = new QLabel(QString::fromUtf8(text), this);
        l->setGeometry(r);
    };
    auto field = [&](QRect r, bool masked, bool upper, const QString &tip) {
        auto *f = new QVSLE(this);
        f->setGeometry(r);
        f->setMaxLength(kUserFieldWidth); // the table keeps 20 characters
        f->setToolTip(tip);
        if (masked)
            f->setEchoMode(QLineEdit::Password);
        if (upper)
            forceTurkishUpperCase(f);
        f->installEventFilter(this);
        return f;
    };
    label("Mevcut parolayı gir.....:", dlu(8, 7, 73, 12));
    m_current = field(dlu(84, 7, 75, 11), true, false, QStringLiteral("Aktif parolayı gir"));
    label("Yeni parola gir............:", dlu(8, 25, 73, 11));
    m_new = field(dlu(84, 25, 111, 11), true, true, QStringLiteral("Yeni kullanıcı parolasını gir"));
    label("Yeni parolayı tekrar gir:", dlu(8, 44, 73, 11));
    m_retype = field(dlu(84, 44, 111, 11), true, true, QStringLiteral("Yeni kullanıcı parolasını tekrar gir"));
    m_user = field(dlu(84, 62, 111, 11), false, false, QStringLiteral("Yeni kullanıcı adını gir"));
    label("Yeni kullanıcı adı gir....:", dlu(8, 62, 72, 11));

    m_ok = new QPushButton(this);
    m_ok->setGeometry(dlu(204, 22, 24, 22));
    m_ok->setIcon(ResourceLibrary::icon(QStringLiteral("VXOOK2")));
    m_ok->setIconSize(m_ok->size() * 2 / 3);
    m_ok->setToolTip(QStringLiteral("Tamam"));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(this);
    m_cancel->setGeometry(dlu(204, 48, 24, 22));
    m_cancel->setIcon(ResourceLibrary::icon(QStringLiteral("VXOIPTAL2")));
    m_cancel->setIconSize(m_cancel->size() * 2 / 3);
    m_cancel->setToolTip(QStringLiteral("İptal"));
    connect(m_ok, &QPushButton::clicked, this, &NEWPASSWORDDIALOG::PBTAMAM);
    connect(m_cancel, &QPushButton::clicked, this, &NEWPASSWORDDIALOG::PBIPTAL);

    const QRect lockRect = dlu(176, 3, 20, 19);
    auto lock = [&](const QString &picture) {
        auto *l = new QLabel(this);
        l->setGeometry(lockRect);
        l->setAlignment(Qt::AlignCenter);
        const int side = std::min(lockRect.width(), lockRect.height());
        l->setPixmap(ResourceLibrary::icon(picture).pixmap(side, side));
        return l;
    };
    m_locked = lock(QStringLiteral("LOCKEDBITMAP"));
    m_unlocked = lock(QStringLiteral("UNLOCKEDBITMAP"));
    connect(m_current, &QLineEdit::textChanged, this, &NEWPASSWORDDIALOG::currentPasswordEdited);

    showLock(false);
    m_current->setFocus();
}

bool NEWPASSWORDDIALOG::lockOpen() const
{
    return !m_unlocked->isHidden();
}

void NEWPASSWORDDIALOG::showLock(bool open)
{
    m_unlocked->setHidden(!open);
    m_locked->setHidden(open);
}

void NEWPASSWORDDIALOG::currentPasswordEdited(const QString &text)
{
    if (text.isEmpty())
        return;
    const bool match = m_session.currentPasswordMatches(text);
    showLock(match);
    if (match)
        m_new->setFocus();
}

bool NEWPASSWORDDIALOG::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::FocusIn)
        return QDialog::eventFilter(watched, event);
    auto refocus = [](QWidget *w) { QMetaObject::invokeMethod(w, qOverload<>(&QWidget::setFocus), Qt::QueuedConnection); };
    if (watched == m_current) {
        showLock(false);
        for (QVSLE *f : {m_current, m_new, m_retype, m_user}) {
            const QSignalBlocker block(f);
            f->clear();
        }
        showBalloonTip(m_current, QStringLiteral("Mevcut parolayı giriniz!"));
    } else if (watched == m_new) {
        if (m_current->text().isEmpty()) {
            refocus(m_current);
            return false;
        }
        showBalloonTip(m_new, QStringLiteral("Yeni parolayı giriniz!"));
    } else if (watched == m_retype) {
        if (m_new->text().isEmpty()) {
            refocus(m_new);
            return false;
        }
        showBalloonTip(m_retype, QStringLiteral("Yeni parolayı tekrar giriniz!"));
    } else if (watched == m_user) {
        if (m_retype->text().isEmpty()) {
            refocus(m_retype);
            return false;
        }
        showBalloonTip(m_user, QStringLiteral("Yeni kullanıcı adı giriniz!"));
    } else {
        return QDialog::eventFilter(watched, event);
    }
    if (!lockOpen() && watched != m_current)
        refocus(m_current);
    return false;
}

void NEWPASSWORDDIALOG::PBTAMAM()
{
    using Check = NewPasswordSession::Check;
    switch (m_session.commit(this, m_current->text(), m_new->text(), m_retype->text(), m_user->text())) {
    case Check::Written: done(1); return;
    case Check::CurrentPassword: m_current->setFocus(); return;
    case Check::NewPassword:
    case Check::Retype: m_new->setFocus(); return;
    case Check::NewName:
    case Check::NameTaken: m_user->setFocus(); return;
    case Check::UserNotFound:
    case Check::WriteFailed: return;
    }
}

void NEWPASSWORDDIALOG::PBIPTAL()
{
    m_session.close();
    done(0);
}

void NEWPASSWORDDIALOG::reject()
{
    PBIPTAL();
}

void CHANGEUANDP(QWidget *owner)
{
    NEWPASSWORDDIALOG dialog(owner, QStringLiteral("Ad ve Parola Değiştir"), false);
    dialog.exec();
}

void ADDNEWUSER(QWidget *owner)
{
    NEWPASSWORDDIALOG dialog(owner, QStringLiteral("Yeni Kullanıcı Ekle"), true);
    dialog.exec();
}

} // namespace vexo
