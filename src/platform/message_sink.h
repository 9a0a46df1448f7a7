#pragma once

#include <QList>
#include <QPointer>
#include <QString>
#include <QWidget>

namespace vexo {

// The platform's message-box style word: button bits in the low nibble, icon bits above them.
enum MessageStyle : unsigned {
    MB_OK = 0x00,
    MB_OKCANCEL = 0x01,
    MB_ABORTRETRYIGNORE = 0x02,
    MB_YESNOCANCEL = 0x03,
    MB_YESNO = 0x04,
    MB_RETRYCANCEL = 0x05,
    MB_ICONSTOP = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONEXCLAMATION = 0x30,
    MB_ICONINFORMATION = 0x40,
    MB_DEFBUTTON2 = 0x100,
};

// The button the user pressed, numbered as the platform numbers them.
enum class MessageAnswer { Ok = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

struct MessageRequest
{
    QPointer<QWidget> owner;
    QString caption;
    QString text;
    unsigned style = MB_OK;

    unsigned buttons() const { return style & 0x0F; }
    unsigned icon() const { return style & 0xF0; }
};

// One tone of the platform's Tone operation: a frequency in Hz and a duration in ticks of 1/18 s.
struct Tone
{
    int frequency = 0;
    int ticks = 0;
    bool operator==(const Tone &) const = default;
};

// Every message box, question and tone of the program passes through one sink. The program installs
// the sink that shows QMessageBoxes; tests install one that answers from a script and records.
class MessageSink
{
public:
    virtual ~MessageSink() = default;
    virtual MessageAnswer show(const MessageRequest &request) = 0;
    virtual void tones(const QList<Tone> &sequence) = 0;
};

// Shows real message boxes (modal, with the owner as parent) and beeps.
class QtMessageSink : public MessageSink
{
public:
    MessageAnswer show(const MessageRequest &request) override;
    void tones(const QList<Tone> &sequence) override;
};

// The answer of a box that nobody sees: No to a question, Cancel to OK/Cancel and Retry/Cancel, OK
// otherwise (headless runs answer with it).
MessageAnswer unattendedAnswer(const MessageRequest &request);

MessageSink &messageSink();
// Installs a sink (not owned); nullptr puts the QtMessageSink back.
void setMessageSink(MessageSink *sink);

MessageAnswer showMessage(QWidget *owner, const QString &caption, const QString &text, unsigned style);
void playTones(const QList<Tone> &sequence);

} // namespace vexo
