#pragma once

#include <QByteArray>
#include <QEvent>
#include <QHash>
#include <QIcon>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <QWidget>

#include <memory>
#include <optional>

class QSystemTrayIcon;

namespace vexo {

// The notification-area icon record the tray object keeps and hands to the backend with every
// command, with the members the object writes.
struct NotifyIconRecord
{
    static constexpr quint32 NIF_MESSAGE = 1;
    static constexpr quint32 NIF_ICON = 2;
    static constexpr quint32 NIF_TIP = 4;
    static constexpr int TipSize = 128;

    quint32 cbSize = 0;
    QPointer<QWidget> hWnd;    // null stands for the handle 0
    quint32 uID = 0;           // never written
    quint32 uFlags = 0;
    quint32 uCallbackMessage = 0;
    QIcon hIcon;
    QByteArray szTip = QByteArray(TipSize, '\0'); // Windows-1254 bytes, NUL-terminated

    // The tool-tip as the record holds it: up to the first NUL.
    QString tip() const;
};

enum class TrayCommand { Add = 0, Modify = 1, Delete = 2 };

// Where the notification-area commands go. The program uses the desktop's tray; tests record.
class TrayBackend
{
public:
    virtual ~TrayBackend() = default;
    // The answer is the desktop's; the tray object ignores it.
    virtual bool notify(TrayCommand command, const NotifyIconRecord &record) = 0;
};

// The desktop's notification area through QSystemTrayIcon, one icon per (window, identifier). A
// click on an icon reaches its window as a TrayCallbackEvent posted to the window's event queue.
class QtTrayBackend : public TrayBackend
{
public:
    QtTrayBackend();
    ~QtTrayBackend() override;
    bool notify(TrayCommand command, const NotifyIconRecord &record) override;
    // The icon shown for a window and identifier, or null (for tests).
    QSystemTrayIcon *iconFor(const QWidget *window, quint32 id) const;

private:
    struct Shown;
    QList<Shown *> m_shown;
};

TrayBackend &trayBackend();
// Installs a backend (not owned); nullptr puts the desktop's back.
void setTrayBackend(TrayBackend *backend);

// The mouse message an activation of the icon stands for (0 for none).
quint32 trayMouseMessage(int activationReason);

// The callback message an owner window receives for mouse activity on its icon: the icon identifier
// as wParam and the mouse message (WM_LBUTTONUP 0x202, WM_LBUTTONDBLCLK 0x203, WM_RBUTTONUP 0x205,
// WM_MBUTTONUP 0x208) as lParam.
class TrayCallbackEvent : public QEvent
{
public:
    TrayCallbackEvent(quint32 message, quintptr wParam, qintptr lParam)
        : QEvent(eventType()), m_message(message), m_wParam(wParam), m_lParam(lParam)
    {
    }
    static QEvent::Type eventType();
    quint32 message() const { return m_message; }
    quintptr wParam() const { return m_wParam; }
    qintptr lParam() const { return m_lParam; }

private:
    quint32 m_message;
    quintptr m_wParam;
    qintptr m_lParam;
};

// One icon with a tool-tip in the notification area on behalf of an owner window; it follows every
// change of its icon, tool-tip, window or callback message at once while shown.
class JOVTRAYOBJECT25
{
public:
    static constexpr quint32 DefaultMessage = 0x8002;

    // A missing icon takes the window's, a missing tool-tip the window's caption, a message that is
    // not a number 0x8002.
    JOVTRAYOBJECT25(QWidget *window, const QVariant &icon = QVariant(), const QVariant &toolTip = QVariant(),
                    const QVariant &message = QVariant());
    ~JOVTRAYOBJECT25();
    JOVTRAYOBJECT25(const JOVTRAYOBJECT25 &) = delete;
    JOVTRAYOBJECT25 &operator=(const JOVTRAYOBJECT25 &) = delete;

    void SHOW();
    void HIDE();
    void REFRESH();
    void DESTROY();
    void AXIT() { DESTROY(); }

    QWidget *WINDOW() const { return m_window; }
    QWidget *setWINDOW(QWidget *window);
    QWidget *OWNER() const { return m_window; }
    QWidget *setOWNER(QWidget *window) { return setWINDOW(window); }
    std::optional<QIcon> ICON() const { return m_icon; }
    // A non-null QIcon shows; anything else clears the icon.
    std::optional<QIcon> setICON(const QVariant &icon);
    QString TOOLTIP() const { return m_toolTip; }
    // A string shows (its first 63 characters); anything else clears the tool-tip.
    QString setTOOLTIP(const QVariant &toolTip);
    quint32 MESSAGE() const { return m_message; }
    quint32 setMESSAGE(const QVariant &message);
    bool ISVISIBLE() const { return m_visible; }

    // The record, null once destroyed.
    const NotifyIconRecord *record() const { return m_record.get(); }

private:
    QPointer<QWidget> m_window;
    std::optional<QIcon> m_icon;
    QString m_toolTip;
    std::unique_ptr<NotifyIconRecord> m_record;
    bool m_visible = false;
    quint32 m_message = 0;
};

} // namespace vexo
