#include "classes/tray_object.h"

#include "platform/cp1254_codec.h"

#include <QCoreApplication>
#include <QSystemTrayIcon>

namespace vexo {

QString NotifyIconRecord::tip() const
{
    const qsizetype end = szTip.indexOf('\0');
    return Cp1254Codec::decode(end < 0 ? szTip : szTip.left(end));
}

QEvent::Type TrayCallbackEvent::eventType()
{
    static const QEvent::Type type = QEvent::Type(QEvent::registerEventType());
    return type;
}

quint32 trayMouseMessage(int activationReason)
{
    switch (activationReason) {
    case QSystemTrayIcon::Trigger: return 0x0202;     // WM_LBUTTONUP
    case QSystemTrayIcon::DoubleClick: return 0x0203; // WM_LBUTTONDBLCLK
    case QSystemTrayIcon::Context: return 0x0205;     // WM_RBUTTONUP
    case QSystemTrayIcon::MiddleClick: return 0x0208; // WM_MBUTTONUP
    default: return 0;
    }
}

// ---- The desktop's tray ----

struct QtTrayBackend::Shown
{
    QPointer<QWidget> window;
    quint32 id = 0;
    quint32 message = 0;
    std::unique_ptr<QSystemTrayIcon> icon;
};

QtTrayBackend::QtTrayBackend() = default;

QtTrayBackend::~QtTrayBackend()
{
    qDeleteAll(m_shown);
}

QSystemTrayIcon *QtTrayBackend::iconFor(const QWidget *window, quint32 id) const
{
    for (Shown *s : m_shown)
        if (s->window == window && s->id == id)
            return s->icon.get();
    return nullptr;
}

bool QtTrayBackend::notify(TrayCommand command, const NotifyIconRecord &record)
{
    Shown *shown = nullptr;
    for (Shown *s : m_shown)
        if (s->window == record.hWnd && s->id == record.uID)
            shown = s;
    switch (command) {
    case TrayCommand::Add: {
        if (shown)
            return false;
        shown = new Shown;
        shown->window = record.hWnd;
        shown->id = record.uID;
        shown->icon = std::make_unique<QSystemTrayIcon>();
        m_shown.append(shown);
        QObject::connect(shown->icon.get(), &QSystemTrayIcon::activated, shown->icon.get(),
                         [shown](QSystemTrayIcon::ActivationReason reason) {
                             const quint32 mouse = trayMouseMessage(reason);
                             if (shown->window && mouse)
                                 QCoreApplication::postEvent(shown->window,
                                                             new TrayCallbackEvent(shown->message, shown->id, mouse));
                         });
        break;
    }
    case TrayCommand::Modify:
        if (!shown)
            return false;
        break;
    case TrayCommand::Delete:
        if (!shown)
            return false;
        m_shown.removeOne(shown);
        delete shown;
        return true;
    }
    shown->message = record.uCallbackMessage;
    if (record.uFlags & NotifyIconRecord::NIF_ICON)
        shown->icon->setIcon(record.hIcon);
    shown->icon->setToolTip((record.uFlags & NotifyIconRecord::NIF_TIP) ? record.tip() : QString());
    shown->icon->show();
    return true;
}

namespace {
TrayBackend *installedBackend = nullptr;
}

TrayBackend &trayBackend()
{
    if (installedBackend)
        return *installedBackend;
    static QtTrayBackend desktop;
    return desktop;
}

void setTrayBackend(TrayBackend *backend)
{
    installedBackend = backend;
}

// ---- The tray object ----

JOVTRAYOBJECT25::JOVTRAYOBJECT25(QWidget *window, const QVariant &icon, const QVariant &toolTip,
                                 const QVariant &message)
    : m_record(std::make_unique<NotifyIconRecord>())
{
    m_record->cbSize = 504;
    m_record->uFlags = NotifyIconRecord::NIF_MESSAGE | NotifyIconRecord::NIF_ICON | NotifyIconRecord::NIF_TIP;
    if (window)
        setWINDOW(window);
    const bool isIcon = icon.canConvert<QIcon>() && icon.metaType() == QMetaType::fromType<QIcon>();
    setICON(isIcon ? icon : (window ? QVariant::fromValue(window->windowIcon()) : QVariant()));
    const bool isText = toolTip.metaType() == QMetaType::fromType<QString>();
    setTOOLTIP(isText ? toolTip : (window ? QVariant(window->windowTitle()) : QVariant()));
    setMESSAGE(message);
}

JOVTRAYOBJECT25::~JOVTRAYOBJECT25()
{
    AXIT();
}

void JOVTRAYOBJECT25::SHOW()
{
    if (!m_record)
        return;
    if (m_visible) {
        trayBackend().notify(TrayCommand::Modify, *m_record);
    } else {
        trayBackend().notify(TrayCommand::Add, *m_record);
        m_visible = true;
    }
}

void JOVTRAYOBJECT25::HIDE()
{
    if (!m_record || !m_visible)
        return;
    trayBackend().notify(TrayCommand::Delete, *m_record);
    m_visible = false;
}

void JOVTRAYOBJECT25::REFRESH()
{
    if (m_visible)
        SHOW();
}

void JOVTRAYOBJECT25::DESTROY()
{
    if (!m_record)
        return;
    HIDE();
    m_record.reset();
}

QWidget *JOVTRAYOBJECT25::setWINDOW(QWidget *window)
{
    if (window) {
        m_window = window;
        if (m_record)
            m_record->hWnd = window;
    } else {
        HIDE();
        m_window = nullptr;
        if (m_record)
            m_record->hWnd = nullptr;
    }
    REFRESH();
    return m_window;
}

std::optional<QIcon> JOVTRAYOBJECT25::setICON(const QVariant &icon)
{
    if (icon.metaType() == QMetaType::fromType<QIcon>() && !icon.value<QIcon>().isNull()) {
        m_icon = icon.value<QIcon>();
        if (m_record) {
            m_record->uFlags |= NotifyIconRecord::NIF_ICON;
            m_record->hIcon = *m_icon;
        }
    } else {
        // The record keeps the old handle; only the flag says there is none.
        m_icon.reset();
        if (m_record)
            m_record->uFlags &= ~NotifyIconRecord::NIF_ICON;
    }
    REFRESH();
    return m_icon;
}

QString JOVTRAYOBJECT25::setTOOLTIP(const QVariant &toolTip)
{
    if (toolTip.metaType() == QMetaType::fromType<QString>()) {
        m_toolTip = toolTip.toString();
        if (m_record) {
            m_record->uFlags |= NotifyIconRecord::NIF_TIP;
            const QByteArray bytes = Cp1254Codec::encode(m_toolTip.left(63));
            m_record->szTip.replace(0, bytes.size(), bytes);
            m_record->szTip[bytes.size()] = '\0';
        }
    } else {
        m_toolTip.clear();
        if (m_record) {
            m_record->szTip[0] = '\0';
            m_record->uFlags &= ~NotifyIconRecord::NIF_TIP;
        }
    }
    REFRESH();
    return m_toolTip;
}

quint32 JOVTRAYOBJECT25::setMESSAGE(const QVariant &message)
{
    bool number = false;
    switch (message.typeId()) {
    case QMetaType::Int: case QMetaType::UInt: case QMetaType::Long: case QMetaType::ULong:
    case QMetaType::LongLong: case QMetaType::ULongLong: case QMetaType::Short: case QMetaType::UShort:
    case QMetaType::Double: case QMetaType::Float:
        number = true;
        break;
    default:
        break;
    }
    m_message = number ? static_cast<quint32>(message.toLongLong()) : DefaultMessage;
    if (m_record)
        m_record->uCallbackMessage = m_message;
    REFRESH();
    return m_message;
}

} // namespace vexo
