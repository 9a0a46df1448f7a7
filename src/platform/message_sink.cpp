#include "platform/message_sink.h"

#include <QApplication>
#include <QMessageBox>

namespace vexo {

namespace {

MessageSink *g_sink = nullptr;

QMessageBox::Icon qtIcon(unsigned icon)
{
    switch (icon) {
    case MB_ICONSTOP: return QMessageBox::Critical;
    case MB_ICONQUESTION: return QMessageBox::Question;
    case MB_ICONEXCLAMATION: return QMessageBox::Warning;
    case MB_ICONINFORMATION: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

struct ButtonSet
{
    QList<QPair<QMessageBox::StandardButton, MessageAnswer>> buttons;
};

ButtonSet buttonSet(unsigned buttons)
{
    using SB = QMessageBox;
    switch (buttons) {
    case MB_OKCANCEL: return {{{SB::Ok, MessageAnswer::Ok}, {SB::Cancel, MessageAnswer::Cancel}}};
    case MB_ABORTRETRYIGNORE:
        return {{{SB::Abort, MessageAnswer::Abort}, {SB::Retry, MessageAnswer::Retry}, {SB::Ignore, MessageAnswer::Ignore}}};
    case MB_YESNOCANCEL:
        return {{{SB::Yes, MessageAnswer::Yes}, {SB::No, MessageAnswer::No}, {SB::Cancel, MessageAnswer::Cancel}}};
    case MB_YESNO: return {{{SB::Yes, MessageAnswer::Yes}, {SB::No, MessageAnswer::No}}};
    case MB_RETRYCANCEL: return {{{SB::Retry, MessageAnswer::Retry}, {SB::Cancel, MessageAnswer::Cancel}}};
    default: return {{{SB::Ok, MessageAnswer::Ok}}};
    }
}

} // namespace

MessageAnswer QtMessageSink::show(const MessageRequest &request)
{
    QMessageBox box(qtIcon(request.icon()), request.caption, request.text, QMessageBox::NoButton,
                    request.owner.data());
    const ButtonSet set = buttonSet(request.buttons());
    for (const auto &b : set.buttons)
        box.addButton(b.first);
    const int defaultIndex = (request.style & MB_DEFBUTTON2) && set.buttons.size() > 1 ? 1 : 0;
    box.setDefaultButton(set.buttons.at(defaultIndex).first);
    const int pressed = box.exec();
    for (const auto &b : set.buttons) {
        if (b.first == pressed)
            return b.second;
    }
    // Closing the box with Escape or the title bar counts as its cancelling button.
    if (request.buttons() == MB_YESNO)
        return MessageAnswer::No;
    return set.buttons.size() == 1 ? MessageAnswer::Ok : MessageAnswer::Cancel;
}

void QtMessageSink::tones(const QList<Tone> &sequence)
{
    // Qt can only ring the desktop's bell; one ring stands for the whole sequence.
    if (!sequence.isEmpty())
        QApplication::beep();
}

MessageAnswer unattendedAnswer(const MessageRequest &request)
{
    switch (request.buttons()) {
    case MB_YESNO:
    case MB_YESNOCANCEL:
        return MessageAnswer::No;
    case MB_OKCANCEL:
    case MB_RETRYCANCEL:
        return MessageAnswer::Cancel;
    default:
        return MessageAnswer::Ok;
    }
}

MessageSink &messageSink()
{
    static QtMessageSink qtSink;
    return g_sink ? *g_sink : qtSink;
}

void setMessageSink(MessageSink *sink)
{
    g_sink = sink;
}

MessageAnswer showMessage(QWidget *owner, const QString &caption, const QString &text, unsigned style)
{
    MessageRequest request;
    request.owner = owner;
    request.caption = caption;
    request.text = text;
    request.style = style;
    return messageSink().show(request);
}

void playTones(const QList<Tone> &sequence)
{
    messageSink().tones(sequence);
}

} // namespace vexo
