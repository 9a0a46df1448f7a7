#include "platform/message_sink.h"
#include "platform/qt_translation.h"
#include "scripted_messages.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QTimer>
#include <QTranslator>
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

namespace {

// The texts of a box's buttons as the user reads them (the mnemonic's "&" only underlines a letter).
QStringList buttonTexts(const QMessageBox &box)
{
    QStringList texts;
    for (const QAbstractButton *b : box.buttons())
        texts << QString(b->text()).remove(u'&');
    texts.sort();
    return texts;
}

} // namespace

TEST(MessageSink, QtsFileKindsReadInTurkish)
{
    const QLocale before;
    ASSERT_NE(installQtTurkishTranslation(), nullptr);
    // The kind a file dialog shows for a file of no known type.
    EXPECT_EQ(QMimeDatabase().mimeTypeForName(QStringLiteral("application/octet-stream")).comment(),
              QStringLiteral("bilinmeyen"));
    QLocale::setDefault(before);
}

TEST(MessageSink, StandardButtonsReadInTurkish)
{
    QTranslator *turkish = installQtTurkishTranslation();
    ASSERT_NE(turkish, nullptr) << "Qt's Turkish catalogue (qt6-translations-l10n, tools/deps.sh) is missing";
    const struct {
        unsigned style;
        QStringList buttons;
        QString press;
        MessageAnswer answer;
    } cases[] = {
        {MB_OK, {"Tamam"}, "Tamam", MessageAnswer::Ok},
        {MB_OKCANCEL | MB_ICONQUESTION, {"Tamam", "İptal"}, "İptal", MessageAnswer::Cancel},
        {MB_YESNO | MB_ICONQUESTION, {"Evet", "Hayır"}, "Hayır", MessageAnswer::No},
        {MB_YESNOCANCEL | MB_ICONEXCLAMATION, {"Evet", "Hayır", "İptal"}, "Evet", MessageAnswer::Yes},
    };
    QtMessageSink sink;
    setMessageSink(&sink);
    for (const auto &c : cases) {
        QStringList seen;
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            seen = buttonTexts(*box);
            // Press a button by its Turkish text, as a user would.
            for (QAbstractButton *b : box->buttons()) {
                if (QString(b->text()).remove(u'&') == c.press)
                    b->click();
            }
        });
        EXPECT_EQ(showMessage(nullptr, QStringLiteral("Uyarı..."), QStringLiteral("Kaydedilsin mi?"), c.style), c.answer);
        QStringList expected = c.buttons;
        expected.sort();
        EXPECT_EQ(seen, expected);
    }
    setMessageSink(nullptr);
    QCoreApplication::removeTranslator(turkish);
    delete turkish;
}
