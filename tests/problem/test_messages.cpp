#include "problem/messages.h"
#include "scripted_messages.h"

#include <QStringList>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>

using namespace vexo;

namespace {

struct BoxCase
{
    const char *name;
    std::function<void(QWidget *owner)> call;
    bool ownerKept;
    QString caption;
    unsigned style;
};

} // namespace

TEST(Messages, BoxesCarryCaptionIconAndOwner)
{
    const QString text = QStringLiteral("Dosya açılamadı!");
    const QString sistem = QStringLiteral("Sistem Ayarı");
    const BoxCase cases[] = {
        {"ERRMESS nil caption", [&](QWidget *o) { ERRMESS(o, QString(), text); }, true, QStringLiteral("Hata..."), 16},
        {"ERRMESS empty caption", [&](QWidget *o) { ERRMESS(o, QStringLiteral(""), text); }, true,
         QStringLiteral("Hata..."), 16},
        {"ERRMESS own caption", [&](QWidget *o) { ERRMESS(o, sistem, text); }, true, sistem, 16},
        {"MESS2", [&](QWidget *) { MESS2(text); }, false, QStringLiteral("Hata..."), 16},
        {"MESS", [&](QWidget *) { MESS(text); }, false, QStringLiteral("Mesaj..."), 64},
        {"UYARI nil caption", [&](QWidget *o) { UYARI(o, QString(), text); }, true, QStringLiteral("Uyarı..."), 48},
        {"UYARI own caption", [&](QWidget *o) { UYARI(o, sistem, text); }, true, sistem, 48},
        {"UYARI2", [&](QWidget *) { UYARI2(text); }, false, QStringLiteral("Uyarı..."), 48},
    };
    for (const BoxCase &c : cases) {
        SCOPED_TRACE(c.name);
        test::ScriptedMessages messages;
        QWidget owner;
        c.call(&owner);
        ASSERT_EQ(messages.shown().size(), 1);
        const MessageRequest &r = messages.shown().first();
        EXPECT_EQ(r.owner.data(), c.ownerKept ? &owner : nullptr);
        EXPECT_EQ(r.caption, c.caption);
        EXPECT_EQ(r.text, text);
        EXPECT_EQ(r.style, c.style); // icon only: a single OK button
        EXPECT_EQ(r.buttons(), unsigned(MB_OK));
        EXPECT_TRUE(messages.toneLog().isEmpty());
        EXPECT_EQ(messages.unexpectedQuestions(), 0);
    }
}

TEST(Messages, BoxWithoutOwnerAndWithEmptyText)
{
    test::ScriptedMessages messages;
    ERRMESS(nullptr, QString(), QString());
    UYARI(nullptr, QString(), QString());
    ASSERT_EQ(messages.shown().size(), 2);
    EXPECT_EQ(messages.shown().at(0).owner.data(), nullptr);
    EXPECT_EQ(messages.shown().at(0).caption, QStringLiteral("Hata..."));
    EXPECT_TRUE(messages.shown().at(0).text.isEmpty());
    EXPECT_EQ(messages.shown().at(0).icon(), unsigned(MB_ICONSTOP));
    EXPECT_EQ(messages.shown().at(1).caption, QStringLiteral("Uyarı..."));
    EXPECT_EQ(messages.shown().at(1).icon(), unsigned(MB_ICONEXCLAMATION));
}

TEST(Messages, Tones)
{
    test::ScriptedMessages messages;
    ERRBEEP();
    DONEBEEP();
    ASSERT_EQ(messages.toneLog().size(), 2);
    EXPECT_EQ(messages.toneLog().at(0), (QList<Tone>{{100, 3}}));
    EXPECT_EQ(messages.toneLog().at(1), (QList<Tone>{{300, 1}, {100, 1}, {300, 1}, {100, 1}}));
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST(Messages, ArrayToTextShow)
{
    QVariantList table;
    table.append(QVariant(QVariantList{QStringLiteral("Mısır"), 2.5, 3}));
    table.append(QVariant(QVariantList{QStringLiteral("Arpa"), 1, 0.125, QStringLiteral("surplus")}));
    table.append(QVariant(QVariantList{QStringLiteral("short")}));
    table.append(QVariant(QStringLiteral("single")));

    struct Case
    {
        const char *name;
        QVariant array;
        QString text;
    };
    const Case cases[] = {
        {"flat", QVariantList{QStringLiteral("a b"), 1, 2.5, QVariant(QVariantList{1, 2})},
         QStringLiteral(" a b 1 2.5 {1, 2} ")},
        {"table", table,
         QStringLiteral(" Mısır 2.5 3 \r\nArpa 1 0.125 \r\nshort \r\nsingle \r\n")},
        {"empty", QVariantList{}, QStringLiteral(" ")},
        {"no array", QVariant(7), QStringLiteral(" ")},
        {"string list", QStringList{QStringLiteral("x"), QStringLiteral("y")}, QStringLiteral(" x y ")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        test::ScriptedMessages messages;
        ARRAYTOTEXTSHOW(c.array);
        ASSERT_EQ(messages.shown().size(), 1);
        const MessageRequest &r = messages.shown().first();
        EXPECT_EQ(r.text, c.text);
        EXPECT_EQ(r.caption, QStringLiteral("Mesaj..."));
        EXPECT_EQ(r.style, unsigned(MB_ICONINFORMATION));
        EXPECT_EQ(r.owner.data(), nullptr);
    }
}

TEST(Messages, AskYesNo)
{
    test::ScriptedMessages messages;
    QWidget owner;
    messages.answer(MessageAnswer::Yes);
    messages.answer(MessageAnswer::No);
    EXPECT_TRUE(askYesNo(&owner, QStringLiteral("Çıkış"), QStringLiteral("Çıkılsın mı?"), MB_ICONQUESTION));
    EXPECT_FALSE(askYesNo(&owner, QStringLiteral("Çıkış"), QStringLiteral("Çıkılsın mı?"),
                          MB_ICONQUESTION | MB_DEFBUTTON2));
    // Nobody answered: the box counts as closed, which is No.
    EXPECT_FALSE(askYesNo(nullptr, QStringLiteral("c"), QStringLiteral("t"), MB_ICONEXCLAMATION));
    EXPECT_EQ(messages.unexpectedQuestions(), 1);

    ASSERT_EQ(messages.shown().size(), 3);
    const MessageRequest &first = messages.shown().at(0);
    EXPECT_EQ(first.owner.data(), &owner);
    EXPECT_EQ(first.caption, QStringLiteral("Çıkış"));
    EXPECT_EQ(first.text, QStringLiteral("Çıkılsın mı?"));
    EXPECT_EQ(first.style, unsigned(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(messages.shown().at(1).style, unsigned(MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2));
    EXPECT_EQ(messages.shown().at(2).style, unsigned(MB_YESNO | MB_ICONEXCLAMATION));
    EXPECT_EQ(messages.shown().at(2).owner.data(), nullptr);
}

TEST(Messages, AskRetryCancel)
{
    test::ScriptedMessages messages;
    messages.answer(MessageAnswer::Retry);
    messages.answer(MessageAnswer::Cancel);
    EXPECT_TRUE(askRetryCancel(nullptr, QStringLiteral("Uyarı..."), QStringLiteral("Tekrar?"), MB_ICONEXCLAMATION));
    EXPECT_FALSE(askRetryCancel(nullptr, QStringLiteral("Uyarı..."), QStringLiteral("Tekrar?"), MB_ICONEXCLAMATION));
    EXPECT_FALSE(askRetryCancel(nullptr, QStringLiteral("Uyarı..."), QStringLiteral("Tekrar?"), MB_ICONSTOP));
    EXPECT_EQ(messages.unexpectedQuestions(), 1);
    ASSERT_EQ(messages.shown().size(), 3);
    EXPECT_EQ(messages.shown().at(0).style, unsigned(MB_RETRYCANCEL | MB_ICONEXCLAMATION));
    EXPECT_EQ(messages.shown().at(2).style, unsigned(MB_RETRYCANCEL | MB_ICONSTOP));
    // Button bits smuggled in with the icon do not change the buttons.
    messages.answer(MessageAnswer::Retry);
    EXPECT_TRUE(askRetryCancel(nullptr, QStringLiteral("c"), QStringLiteral("t"), MB_ICONSTOP | MB_YESNO));
    EXPECT_EQ(messages.shown().at(3).buttons(), unsigned(MB_RETRYCANCEL));
}
