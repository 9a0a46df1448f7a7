#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <optional>

namespace vexo {

// One registration of a timed call: the method sent, how often, and whether it is switched on.
//
// Frequencies are seconds: every 100 ms tick adds 0.1 to the elapsed count of a registration that is
// switched on, and the method falls due once the count reaches the frequency (1.0: once a second; 0
// or less: on every tick).
class JSTIMEDMETHOD
{
public:
    static constexpr double kTickSeconds = 0.1;

    QString METHODNAME() const { return m_method; }
    JSTIMEDMETHOD &setMETHODNAME(const QString &name)
    {
        m_method = name;
        return *this;
    }
    double TIMERFREQUENCY() const { return m_frequency; }
    double setTIMERFREQUENCY(double f) { return m_frequency = f; }
    bool ONOFF() const { return m_on; }
    bool setONOFF(bool on) { return m_on = on; }
    double COUNTDOWN() const { return m_on ? m_frequency - elapsed() : 0.0; }
    // One tick: grows the count and tells whether the method is due, starting the count again if so.
    bool ISTIMETOSEND();

private:
    // Counted in whole ticks so that ten ticks make exactly one second.
    double elapsed() const { return m_ticks * kTickSeconds; }

    QString m_method = QStringLiteral("JSTIMEREVENT");
    double m_frequency = 1.0;
    bool m_on = true;
    qint64 m_ticks = 0;
};

// Calls invokable methods of other objects at intervals, on the thread that created it. Each
// container ticks on its own 100 ms timer and walks only its own registrations. A client that has
// gone, or that has no invokable method of the registered name, is dropped when its method falls due.
class JSTIMERCONTAINER : public QObject
{
    Q_OBJECT
public:
    static constexpr int kTickMs = 100;
    static constexpr int kMaxRegistrations = 0xFFFF;

    explicit JSTIMERCONTAINER(QObject *parent = nullptr);
    ~JSTIMERCONTAINER() override;

    // Empty name, negative frequency or missing switch: the registration's defaults. False for a null
    // client or a full list.
    bool REGISTERCLIENT(QObject *client, const QString &method = {}, std::optional<double> frequency = {},
                        std::optional<bool> on = {});
    bool UNREGISTERCLIENT(QObject *client, const JSTIMEDMETHOD &record);
    void ENABLETIMER(QObject *client, const QString &method, bool on);
    double GETCOUNTDOWN(QObject *client, const QString &method) const;
    // 1-based position of the first registration of that very client and method; 0 when none.
    int GETOBJECTELEMENT(QObject *client, const QString &method) const;
    int registrations() const { return int(m_entries.size()); }
    void RECEIVETIMER();
    void AXIT();
    bool timerActive() const { return m_timer.isActive(); }

private:
    struct Entry
    {
        QPointer<QObject> client;
        JSTIMEDMETHOD record;
    };
    QList<Entry> m_entries;
    QTimer m_timer;
};

} // namespace vexo
