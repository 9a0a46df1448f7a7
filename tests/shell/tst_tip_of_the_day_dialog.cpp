#include "drawn_pixels.h"
#include "problem/app_globals.h"
#include "scripted_messages.h"
#include "shell/tip_of_the_day.h"
#include "shell/tip_of_the_day_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMap>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>

using namespace vexo;

namespace {

class FakeTipSettings : public TipSettings
{
public:
    QString get(const QString &name) override { return values.value(name).trimmed(); }
    bool set(const QString &name, const QString &value) override
    {
        if (!available)
            return false;
        values[name] = value;
        return true;
    }
    QMap<QString, QString> values;
    bool available = true;
};

// Runs `inside` on the tip dialog once it is up and modal; the test then closes it.
void whenShown(const std::function<void(WINTIPOFDAY *)> &inside)
{
    auto *poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, inside] {
        auto *dialog = qobject_cast<WINTIPOFDAY *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        poll->stop();
        poll->deleteLater();
        QPointer<WINTIPOFDAY> guard(dialog);
        inside(dialog);
        // A failed check returns early; the dialog must still close so the test goes on.
        if (guard && guard->isVisible())
            guard->reject();
    });
    poll->start();
}

QString shownText(WINTIPOFDAY *d)
{
    return d->tipTextEdit()->toPlainText();
}

} // namespace

class TipDialogTest : public QObject
{
    Q_OBJECT

private slots:
    void firstRunShowsTheFirstTip()
    {
        FakeTipSettings settings;
        settings.values[QStringLiteral("VKlatip")] = QString();
        const QList<TipRow> table = CREATETIPARRAY();
        bool checked = false;
        whenShown([&](WINTIPOFDAY *d) {
            QCOMPARE(d->LASTTIP(), 1u);
            QCOMPARE(shownText(d), table.at(0).text);
            QCOMPARE(d->headingLabel()->text(), QStringLiteral("Biliyor muydunuz?"));
            QVERIFY(!d->previousButton()->isEnabled());
            QVERIFY(d->nextButton()->isEnabled());
            QVERIFY(d->moreButton()->isVisible());
            QVERIFY(d->SHOWONSTARTUP());
            QCOMPARE(d->focusWidget(), d->closeButton()); // showing ends with the focus on Close
            checked = true;
            d->closeButton()->click();
        });
        runTipOfTheDay(nullptr, settings);
        QVERIFY(checked);
        QCOMPARE(settings.values.value(QStringLiteral("VKlatip")), QStringLiteral(" 1"));
        QVERIFY(!settings.values.contains(QStringLiteral("VKlstrt")));
    }

    void theLastTipIsFollowedByTheFirstAtTheNextStart()
    {
        FakeTipSettings settings;
        settings.values[QStringLiteral("VKlatip")] = QStringLiteral("43");
        const QList<TipRow> table = CREATETIPARRAY();
        whenShown([&](WINTIPOFDAY *d) {
            QCOMPARE(d->LASTTIP(), 44u);
            QCOMPARE(shownText(d), table.at(43).text);
            QVERIFY(!d->nextButton()->isEnabled());
            QVERIFY(d->previousButton()->isEnabled());
            QCOMPARE(d->focusWidget(), d->closeButton());
            d->closeButton()->click();
        });
        runTipOfTheDay(nullptr, settings);
        QCOMPARE(settings.values.value(QStringLiteral("VKlatip")), QStringLiteral("44"));

        quint32 second = 0;
        whenShown([&](WINTIPOFDAY *d) {
            second = d->LASTTIP();
            d->closeButton()->click();
        });
        runTipOfTheDay(nullptr, settings);
        QCOMPARE(second, 1u);
        QCOMPARE(settings.values.value(QStringLiteral("VKlatip")), QStringLiteral(" 1"));
    }

    void aStoredNumberBeyondTheTableShowsTheFirstTip()
    {
        FakeTipSettings settings;
        settings.values[QStringLiteral("VKlatip")] = QStringLiteral("99");
        quint32 shown = 0;
        whenShown([&](WINTIPOFDAY *d) {
            shown = d->LASTTIP();
            d->closeButton()->click();
        });
        runTipOfTheDay(nullptr, settings);
        QCOMPARE(shown, 1u);
    }

    void pagingGoesForwardToTheEndAndBackToTheStart()
    {
        WTIPOFDAY dialog(nullptr);
        const QList<TipRow> table = CREATETIPARRAY();
        dialog.TIP(table);
        dialog.LASTTIP(0);
        dialog.NEXTTIP();
        for (int row = 2; row <= 44; ++row) {
            QVERIFY(dialog.nextButton()->isEnabled());
            QTest::mouseClick(dialog.nextButton(), Qt::LeftButton);
            QCOMPARE(dialog.LASTTIP(), quint32(row));
            QCOMPARE(shownText(&dialog), table.at(row - 1).text);
        }
        QVERIFY(!dialog.nextButton()->isEnabled());
        QCOMPARE(dialog.focusWidget(), dialog.previousButton());
        for (int row = 43; row >= 1; --row) {
            QTest::mouseClick(dialog.previousButton(), Qt::LeftButton);
            QCOMPARE(dialog.LASTTIP(), quint32(row));
        }
        QVERIFY(!dialog.previousButton()->isEnabled());
        QCOMPARE(dialog.focusWidget(), dialog.nextButton());
        dialog.PBPREVIOUS();
        QCOMPARE(dialog.LASTTIP(), 1u);
        QCOMPARE(shownText(&dialog), table.at(0).text);
    }

    void aRowWithoutMoreHidesTheButton()
    {
        WINTIPOFDAY dialog(nullptr);
        dialog.TIP({{QStringLiteral("H"), QStringLiteral("only tip"), false}});
        dialog.LASTTIP(5);
        dialog.NEXTTIP();
        QCOMPARE(dialog.LASTTIP(), 1u);
        QVERIFY(dialog.moreButton()->isHidden());
        QVERIFY(!dialog.nextButton()->isEnabled());
        QVERIFY(!dialog.previousButton()->isEnabled());
    }

    void untickingSwitchesTheOptionOff_data()
    {
        QTest::addColumn<bool>("untick");
        QTest::addColumn<bool>("withToggle");
        QTest::addColumn<bool>("byFrame");
        QTest::newRow("ticked, Close") << false << true << false;
        QTest::newRow("unticked, Close, main window's toggle") << true << true << false;
        QTest::newRow("unticked, frame's close box, main window's toggle") << true << true << true;
        QTest::newRow("unticked, no toggle given") << true << false << false;
    }

    void untickingSwitchesTheOptionOff()
    {
        QFETCH(bool, untick);
        QFETCH(bool, withToggle);
        QFETCH(bool, byFrame);
        FakeTipSettings settings;
        settings.values[QStringLiteral("VKlstrt")] = QStringLiteral("1");
        settings.values[QStringLiteral("VKlatip")] = QStringLiteral(" 6");
        int toggles = 0;
        whenShown([&](WINTIPOFDAY *d) {
            if (untick)
                QTest::mouseClick(d->showOnStartupBox(), Qt::LeftButton, {}, QPoint(4, d->showOnStartupBox()->height() / 2));
            QCOMPARE(d->SHOWONSTARTUP(), !untick);
            d->PBNEXT();
            if (byFrame)
                d->close();
            else
                d->closeButton()->click();
        });
        std::function<void()> toggle;
        if (withToggle)
            toggle = [&] {
                ++toggles;
                settings.set(QStringLiteral("VKlstrt"), QStringLiteral("0"));
            };
        runTipOfTheDay(nullptr, settings, toggle);
        QCOMPARE(toggles, withToggle && untick ? 1 : 0);
        QCOMPARE(settings.get(QStringLiteral("VKlstrt")) == QStringLiteral("1"), !untick);
        QCOMPARE(settings.values.value(QStringLiteral("VKlatip")), QStringLiteral(" 8"));
    }

    void anUnavailableStoreShowsTheSameTipNextTime()
    {
        FakeTipSettings settings;
        settings.values[QStringLiteral("VKlatip")] = QStringLiteral(" 4");
        settings.available = false;
        for (int run = 0; run < 2; ++run) {
            quint32 shown = 0;
            whenShown([&](WINTIPOFDAY *d) {
                shown = d->LASTTIP();
                d->closeButton()->click();
            });
            runTipOfTheDay(nullptr, settings);
            QCOMPARE(shown, 5u);
        }
    }

    void moreInfoTellsWhereToReadFurther()
    {
        test::ScriptedMessages messages;
        WINTIPOFDAY plain(nullptr);
        plain.TIP(CREATETIPARRAY());
        plain.NEXTTIP();
        plain.moreButton()->click();
        QVERIFY(messages.shown().isEmpty());

        // With the paper in the program folder, the box names it.
        QTemporaryDir program;
        const AppGlobals saved = appGlobals();
        appGlobals().CPROGDIZIN = program.path();
        QFile paper(QDir(program.path()).filePath(QStringLiteral("VEXO_Zud_Bildiri.doc")));
        QVERIFY(paper.open(QIODevice::WriteOnly));
        paper.close();

        WTIPOFDAY dialog(nullptr);
        dialog.TIP(CREATETIPARRAY());
        dialog.NEXTTIP();
        dialog.moreButton()->click();
        QCOMPARE(messages.shown().size(), 1);
        const MessageRequest &box = messages.shown().at(0);
        QCOMPARE(box.caption, QStringLiteral("Daha Fazla Bilgi"));
        QCOMPARE(box.owner.data(), static_cast<QWidget *>(&dialog));
        QCOMPARE(box.icon(), unsigned(MB_ICONINFORMATION));
        const QStringList lines = box.text.split(u'\n');
        QCOMPARE(lines.size(), 5);
        QCOMPARE(lines.at(0), QStringLiteral("Daha  Fazla  bilgi  için,  program  katoloğunda  bulunan"));
        QCOMPARE(lines.at(1), QStringLiteral("veya  program  dizininde  Word dosyası  olarak sunulan"));
        QVERIFY(lines.at(2).startsWith(u'"'));
        QVERIFY(lines.at(3).endsWith(u'"'));
        QCOMPARE(lines.at(4), QStringLiteral("okuyunuz, ve programın yardım sistemini inceleyiniz."));

        // Without it, the box does not send the user looking for a file that is not there: it says
        // so, where it looked, and points to the help.
        QVERIFY(paper.remove());
        dialog.moreButton()->click();
        QCOMPARE(messages.shown().size(), 2);
        const MessageRequest &missing = messages.shown().at(1);
        QCOMPARE(missing.caption, QStringLiteral("Daha Fazla Bilgi"));
        QCOMPARE(missing.icon(), unsigned(MB_ICONINFORMATION));
        QVERIFY(!missing.text.contains(QStringLiteral("Word dosyası  olarak sunulan")));
        QVERIFY(missing.text.contains(QStringLiteral("bulunamadı")));
        QVERIFY(missing.text.contains(QDir::toNativeSeparators(paper.fileName())));
        QVERIFY(missing.text.contains(QStringLiteral("Yardım > İndeks (F1)")));
        appGlobals() = saved;
    }

    void looksAsItShould()
    {
        WTIPOFDAY dialog(nullptr);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Günün Tüyosu"));
        QVERIFY(dialog.isModal());
        QVERIFY(!dialog.windowIcon().isNull());
        struct Button
        {
            QPushButton *button;
            const char *text;
            const char *tip;
        };
        const Button buttons[] = {
            {dialog.previousButton(), "< &Önceki", "Önceki tüyoyu gör"},
            {dialog.nextButton(), "&Sonraki >", "Sonraki tüyoyu gör"},
            {dialog.closeButton(), "&Kapat", "Günün tüyosunu kapat"},
            {dialog.moreButton(), "&Daha fazla bilgi", "Bu tüyo hakkında daha fazla bilgi"},
        };
        for (const Button &b : buttons) {
            QCOMPARE(b.button->text(), QString::fromUtf8(b.text));
            QCOMPARE(b.button->toolTip(), QString::fromUtf8(b.tip));
        }
        QVERIFY(dialog.closeButton()->isDefault());
        QCOMPARE(dialog.showOnStartupBox()->text(), QStringLiteral("Başlarken göster"));
        QCOMPARE(dialog.showOnStartupBox()->toolTip(), QStringLiteral("Program başladığında günün tüyosunu göster"));
        QVERIFY(dialog.tipTextEdit()->isReadOnly());
        QCOMPARE(dialog.headingLabel()->palette().color(QPalette::WindowText), QColor(Qt::red));
        QCOMPARE(dialog.headingLabel()->palette().color(QPalette::Window), QColor(Qt::white));
        QVERIFY(dialog.headingLabel()->font().bold());
        QCOMPARE(dialog.tipTextEdit()->palette().color(QPalette::Text), QColor(Qt::blue));
        QCOMPARE(dialog.tipTextEdit()->palette().color(QPalette::Base), QColor(Qt::white));
        // The controls stand in the template's order, left to right along the bottom.
        QVERIFY(dialog.showOnStartupBox()->geometry().right() < dialog.previousButton()->geometry().left());
        QVERIFY(dialog.previousButton()->geometry().right() < dialog.nextButton()->geometry().left());
        QVERIFY(dialog.nextButton()->geometry().right() < dialog.closeButton()->geometry().left());
        QVERIFY(dialog.rect().contains(dialog.closeButton()->geometry()));
    }

    // What the dialog shows: the heading in red on white and the tip in blue on white.
    void drawnAsShown()
    {
        WTIPOFDAY dialog(nullptr);
        dialog.TIP(CREATETIPARRAY());
        dialog.LASTTIP(19);
        dialog.NEXTTIP();
        dialog.SHOWONSTARTUP(true);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QVERIFY(!dialog.tipTextEdit()->toPlainText().isEmpty());
        const QImage image = test::drawnWindow(&dialog);
        const QRect heading = test::rectInWindow(dialog.headingLabel());
        QVERIFY(test::pixelsNear(image, heading, Qt::white, 4) > heading.width() * heading.height() / 2);
        QVERIFY(test::pixelsNear(image, heading, Qt::red, 60) > 20);
        const QRect text = test::rectInWindow(dialog.tipTextEdit()->viewport());
        QVERIFY(test::pixelsNear(image, text, Qt::white, 4) > text.width() * text.height() / 2);
        QVERIFY(test::pixelsNear(image, text, Qt::blue, 60) > 20);
        QCOMPARE(test::pixelsNear(image, text, Qt::red, 60), 0);
        QVERIFY(test::keepForLooking(image, QStringLiteral("tip_of_the_day.png")));
    }
};

QTEST_MAIN(TipDialogTest)
#include "tst_tip_of_the_day_dialog.moc"
