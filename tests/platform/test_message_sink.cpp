#include "platform/message_sink.h"
#include "scripted_messages.h"

#include <QWidget>

#include <gtest/gtest.h>

using namespace vexo;

TEST(MessageSink, ScriptedAnswerAndRecordedBox)
{
    test::ScriptedMessages messages;
    QWidget owner;
    messages.answer(MessageAnswer::Retry);
    const MessageAnswer a = showMessage(&owner, QStringLiteral("Uyarı..."), QStringLiteral("Tekrar denensin mi?"),
                                        MB_RETRYCANCEL | MB_ICONEXCLAMATION);
    EXPECT_EQ(a, MessageAnswer::Retry);
    ASSERT_EQ(messages.shown().size(), 1);
    const MessageRequest &r = messages.shown().first();
    EXPECT_EQ(r.owner.data(), &owner);
    EXPECT_EQ(r.caption, QStringLiteral("Uyarı..."));
    EXPECT_EQ(r.text, QStringLiteral("Tekrar denensin mi?"));
    EXPECT_EQ(r.icon(), unsigned(MB_ICONEXCLAMATION));
    EXPECT_EQ(r.buttons(), unsigned(MB_RETRYCANCEL));
    EXPECT_EQ(messages.unexpectedQuestions(), 0);
}

TEST(MessageSink, UnscriptedQuestionCancelsInsteadOfBlocking)
{
    test::ScriptedMessages messages;
    EXPECT_EQ(showMessage(nullptr, QStringLiteral("c"), QStringLiteral("t"), MB_YESNO), MessageAnswer::No);
    EXPECT_EQ(showMessage(nullptr, QStringLiteral("c"), QStringLiteral("t"), MB_RETRYCANCEL), MessageAnswer::Cancel);
    EXPECT_EQ(showMessage(nullptr, QStringLiteral("c"), QStringLiteral("t"), MB_OK), MessageAnswer::Ok);
    EXPECT_EQ(messages.unexpectedQuestions(), 2);
}

TEST(MessageSink, TonesGoThroughTheSeam)
{
    test::ScriptedMessages messages;
    playTones({{100, 3}});
    ASSERT_EQ(messages.toneLog().size(), 1);
    EXPECT_EQ(messages.toneLog().first(), (QList<Tone>{{100, 3}}));
}
