#include "controls/balloon_tip.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

#include <gtest/gtest.h>

using namespace vexo;

namespace {

struct Form
{
    Form()
    {
        auto *layout = new QVBoxLayout(&window);
        layout->addWidget(first);
        layout->addWidget(second);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        first->setFocus();
    }
    QWidget window;
    QLineEdit *first = new QLineEdit;
    QLineEdit *second = new QLineEdit;
};

bool shows(const QString &text)
{
    QApplication::processEvents();
    const QLabel *balloon = visibleBalloonTip();
    return balloon && balloon->text() == text;
}

TEST(BalloonTip, StaysThroughWhatATooltipWouldVanishAt)
{
    Form f;
    showBalloonTip(f.first, QStringLiteral("Adı giriniz!"));
    ASSERT_TRUE(shows(QStringLiteral("Adı giriniz!")));
    QPointer<QLabel> balloon = visibleBalloonTip();
    // The note covers neither its field nor the next one, which the user types into after it.
    for (const QLineEdit *field : {f.first, f.second}) {
        const QRect onScreen(field->mapToGlobal(QPoint(0, 0)), field->size());
        EXPECT_FALSE(balloon->geometry().intersects(onScreen));
    }
    // Focus and mouse events elsewhere, the modifier keys and key releases in the field.
    QTest::mouseMove(&f.window, QPoint(2, 2));
    QTest::keyPress(f.first, Qt::Key_Shift);
    QTest::keyRelease(f.first, Qt::Key_Shift);
    QTest::keyRelease(f.first, Qt::Key_Tab);
    QFocusEvent focusIn(QEvent::FocusIn);
    QApplication::sendEvent(f.second, &focusIn);
    EXPECT_TRUE(shows(QStringLiteral("Adı giriniz!")));

    // A new balloon replaces the old one.
    showBalloonTip(f.first, QStringLiteral("İkinci"));
    EXPECT_TRUE(shows(QStringLiteral("İkinci")));
    EXPECT_TRUE(!balloon || !balloon->isVisible());
}

TEST(BalloonTip, GoesWhenTheFieldIsLeftTypedInHiddenOrClicked)
{
    const struct {
        const char *what;
        void (*act)(Form &, QLabel *);
    } cases[] = {
        {"focus leaves", [](Form &f, QLabel *) { f.second->setFocus(); }},
        {"a key is typed", [](Form &f, QLabel *) { QTest::keyClick(f.first, Qt::Key_A); }},
        {"field hidden", [](Form &f, QLabel *) { f.first->hide(); }},
        {"window hidden", [](Form &f, QLabel *) { f.window.hide(); }},
        {"balloon clicked", [](Form &, QLabel *b) { QTest::mouseClick(b, Qt::LeftButton); }},
        {"taken down", [](Form &, QLabel *) { hideBalloonTip(); }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        Form f;
        showBalloonTip(f.first, QStringLiteral("İpucu"));
        ASSERT_TRUE(shows(QStringLiteral("İpucu")));
        c.act(f, visibleBalloonTip());
        QApplication::processEvents();
        EXPECT_EQ(visibleBalloonTip(), nullptr);
    }
    // A field nobody sees gets no balloon.
    QLineEdit hidden;
    showBalloonTip(&hidden, QStringLiteral("x"));
    EXPECT_EQ(visibleBalloonTip(), nullptr);
}

} // namespace
