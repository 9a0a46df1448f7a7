#include "classes/timed_method.h"

#include <QMetaMethod>

namespace vexo {

bool JSTIMEDMETHOD::ISTIMETOSEND()
{
    if (!m_on)
        return false;
    ++m_ticks;
    if (elapsed() < m_frequency - kTickSeconds / 2)
        return false;
    m_ticks = 0;
    return true;
}

JSTIMERCONTAINER::JSTIMERCONTAINER(QObject *parent) : QObject(parent)
{
    m_timer.setInterval(kTickMs);
    connect(&m_timer, &QTimer::timeout, this, &JSTIMERCONTAINER::RECEIVETIMER);
    m_timer.start();
}

JSTIMERCONTAINER::~JSTIMERCONTAINER()
{
    AXIT();
}

void JSTIMERCONTAINER::AXIT()
{
    m_timer.stop();
}

bool JSTIMERCONTAINER::REGISTERCLIENT(QObject *client, const QString &method, std::optional<double> frequency,
                                      std::optional<bool> on)
{
    if (!client || m_entries.size() >= kMaxRegistrations)
        return false;
    JSTIMEDMETHOD record;
    if (!method.isEmpty())
        record.setMETHODNAME(method);
    if (frequency)
        record.setTIMERFREQUENCY(*frequency);
    if (on)
        record.setONOFF(*on);
    m_entries.append({client, record});
    return true;
}

int JSTIMERCONTAINER::GETOBJECTELEMENT(QObject *client, const QString &method) const
{
    for (qsizetype i = 0; i < m_entries.size(); ++i)
        if (client && m_entries[i].client == client && m_entries[i].record.METHODNAME() == method)
            return int(i) + 1;
    return 0;
}

bool JSTIMERCONTAINER::UNREGISTERCLIENT(QObject *client, const JSTIMEDMETHOD &record)
{
    const int at = GETOBJECTELEMENT(client, record.METHODNAME());
    if (at == 0)
        return false;
    m_entries.removeAt(at - 1);
    return true;
}

void JSTIMERCONTAINER::ENABLETIMER(QObject *client, const QString &method, bool on)
{
    if (const int at = GETOBJECTELEMENT(client, method))
        m_entries[at - 1].record.setONOFF(on);
}

double JSTIMERCONTAINER::GETCOUNTDOWN(QObject *client, const QString &method) const
{
    const int at = GETOBJECTELEMENT(client, method);
    return at ? m_entries[at - 1].record.COUNTDOWN() : 0.0;
}

static bool hasInvokable(const QObject *client, const QString &method)
{
    const QMetaObject *meta = client->metaObject();
    const int index = meta->indexOfMethod(QMetaObject::normalizedSignature((method + QStringLiteral("()")).toLatin1()));
    if (index < 0)
        return false;
    const QMetaMethod m = meta->method(index);
    return m.methodType() == QMetaMethod::Method || m.methodType() == QMetaMethod::Slot;
}

// The length is read anew at every step: a removal shortens the walk and the entry that moves up is
// visited on the same tick.
void JSTIMERCONTAINER::RECEIVETIMER()
{
    for (qsizetype i = 0; i < m_entries.size();) {
        if (!m_entries[i].record.ISTIMETOSEND()) {
            ++i;
            continue;
        }
        QObject *client = m_entries[i].client;
        const QString method = m_entries[i].record.METHODNAME();
        if (client && hasInvokable(client, method)) {
            ++i;
            QMetaObject::invokeMethod(client, method.toLatin1().constData(), Qt::DirectConnection);
        } else {
            m_entries.removeAt(i);
        }
    }
}

} // namespace vexo
