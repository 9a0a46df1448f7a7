#include "scripted_messages.h"


namespace vexo::test {

ScriptedMessages::ScriptedMessages()
{
    setMessageSink(this);
}

ScriptedMessages::~ScriptedMessages()
{
    setMessageSink(nullptr);
}

MessageAnswer ScriptedMessages::show(const MessageRequest &request)
{
    m_shown.append(request);
    if (request.buttons() == MB_OK)
        return m_answers.isEmpty() ? MessageAnswer::Ok : m_answers.dequeue();
    if (!m_answers.isEmpty())
        return m_answers.dequeue();
    ++m_unexpected;
    return request.buttons() == MB_YESNO ? MessageAnswer::No : MessageAnswer::Cancel;
}

void ScriptedMessages::tones(const QList<Tone> &sequence)
{
    m_tones.append(sequence);
}

ManualClock::ManualClock()
    : m_now(QDate(2026, 3, 14), QTime(9, 26, 53))
{
    setClock(this);
}

ManualClock::~ManualClock()
{
    setClock(nullptr);
}

void ManualClock::sleepMs(int ms)
{
    ++m_sleeps;
    advance(ms);
}

void ManualClock::advance(qint64 ms)
{
    m_mono += ms;
    m_now = m_now.addMSecs(ms);
}

ScriptedFileDialogs::ScriptedFileDialogs()
{
    setFileDialogs(this);
}

ScriptedFileDialogs::~ScriptedFileDialogs()
{
    setFileDialogs(nullptr);
}

QString ScriptedFileDialogs::next(const QString &caption)
{
    m_captions.append(caption);
    return m_answers.isEmpty() ? QString() : m_answers.dequeue();
}

QString ScriptedFileDialogs::openFile(QWidget *, const QString &caption, const QString &, const QString &)
{
    return next(caption);
}

QString ScriptedFileDialogs::saveFile(QWidget *, const QString &caption, const QString &, const QString &)
{
    return next(caption);
}

QString ScriptedFileDialogs::folder(QWidget *, const QString &caption, const QString &)
{
    return next(caption);
}

QString ScriptedFileDialogs::saveFileWithFilter(QWidget *, const QString &caption, const QString &path,
                                                const QStringList &filters, int &chosen)
{
    m_lastPath = path;
    m_lastFilters = filters;
    chosen = m_filters.isEmpty() ? 1 : m_filters.dequeue();
    return next(caption);
}

} // namespace vexo::test
