#pragma once

#include "platform/clock.h"
#include "platform/file_dialogs.h"
#include "platform/message_sink.h"

#include <QList>
#include <QQueue>

namespace vexo::test {

// Installs itself as the message seam for its lifetime. Boxes with a single OK button answer Ok by
// themselves; a question takes the next scripted answer, and a question nobody scripted answers with
// its cancelling button and is recorded as unexpected, so no test ever waits on a modal box.
class ScriptedMessages : public MessageSink
{
public:
    ScriptedMessages();
    ~ScriptedMessages() override;

    void answer(MessageAnswer a) { m_answers.enqueue(a); }

    MessageAnswer show(const MessageRequest &request) override;
    void tones(const QList<Tone> &sequence) override;

    const QList<MessageRequest> &shown() const { return m_shown; }
    const QList<QList<Tone>> &toneLog() const { return m_tones; }
    int unexpectedQuestions() const { return m_unexpected; }
    int pendingAnswers() const { return static_cast<int>(m_answers.size()); }
    void clear() { m_shown.clear(); m_tones.clear(); }

private:
    QQueue<MessageAnswer> m_answers;
    QList<MessageRequest> m_shown;
    QList<QList<Tone>> m_tones;
    int m_unexpected = 0;
};

// A clock that stands still until told to move; sleeping moves it.
class ManualClock : public Clock
{
public:
    ManualClock();
    ~ManualClock() override;

    QDateTime now() const override { return m_now; }
    qint64 monotonicMs() const override { return m_mono; }
    void sleepMs(int ms) override;

    void setNow(const QDateTime &t) { m_now = t; }
    void advance(qint64 ms);
    int sleeps() const { return m_sleeps; }

private:
    QDateTime m_now;
    qint64 m_mono = 0;
    int m_sleeps = 0;
};

// File and folder choosers answered from a script; an unscripted call answers "cancelled".
class ScriptedFileDialogs : public FileDialogs
{
public:
    ScriptedFileDialogs();
    ~ScriptedFileDialogs() override;
    void answer(const QString &path) { m_answers.enqueue(path); }
    // The filter (from 1) the next save chooser with filters answers with; 1 when not scripted.
    void answerFilter(int filter) { m_filters.enqueue(filter); }
    QString openFile(QWidget *, const QString &caption, const QString &, const QString &) override;
    QString saveFile(QWidget *, const QString &caption, const QString &, const QString &) override;
    QString folder(QWidget *, const QString &caption, const QString &) override;
    QString saveFileWithFilter(QWidget *, const QString &caption, const QString &path, const QStringList &filters,
                               int &chosen) override;
    const QStringList &captions() const { return m_captions; }
    // What the last save chooser with filters was given.
    const QString &lastInitialPath() const { return m_lastPath; }
    const QStringList &lastFilters() const { return m_lastFilters; }

private:
    QString next(const QString &caption);
    QQueue<QString> m_answers;
    QQueue<int> m_filters;
    QStringList m_captions;
    QString m_lastPath;
    QStringList m_lastFilters;
};

} // namespace vexo::test
