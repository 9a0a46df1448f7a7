#include "editfields/date_sle.h"
#include "editfields/dlg_pe_calendar.h"
#include "editfields/pe_calendar.h"
#include "editfields/right_sle.h"
#include "editfields/wm_bitmap_button.h"
#include "modal_helper.h"
#include "scripted_messages.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTimer>
#include <QSpinBox>
#include <QToolButton>
#include <QtTest>

using namespace vexo;

namespace {

QModelIndex dayCell(QAbstractItemView *view, int day)
{
    const QAbstractItemModel *model = view->model();
    for (int row = 1; row < model->rowCount(); ++row)
        for (int col = 0; col < model->columnCount(); ++col) {
            const QModelIndex i = model->index(row, col);
            if (i.data().toInt() == day && !(row <= 2 && day > 14) && !(row >= 5 && day < 15))
                return i;
        }
    return {};
}

} // namespace

class DateFields : public QObject
{
    Q_OBJECT
private slots:
    void init() { clock.setNow(QDateTime(QDate(2024, 5, 15), QTime(9, 30))); }

    void typingIntoANumberField()
    {
        QWidget owner;
        RIGHTSLE field(&owner);
        field.setFieldSpec(FieldSpec::number(10, 2));
        field.setValue(123.45);
        QCOMPARE(field.text(), QStringLiteral("    123.45"));
        field.selectAll(); // as after entering the field
        QTest::keyClicks(&field, QStringLiteral("75"));
        QCOMPARE(field.text(), QStringLiteral("     75.00"));
        QCOMPARE(field.Value().toDouble(), 75.0);
        QCOMPARE(field.cursorPosition(), 7);
        QTest::keyClick(&field, Qt::Key_Period);
        QTest::keyClicks(&field, QStringLiteral("5"));
        QCOMPARE(field.text(), QStringLiteral("     75.50"));
        QTest::keyClick(&field, Qt::Key_Minus);
        QCOMPARE(field.Value().toDouble(), -75.5);
        QTest::keyClick(&field, Qt::Key_Home);
        QTest::keyClick(&field, Qt::Key_Backspace);
        QCOMPARE(field.text(), QStringLiteral("    -75.50")); // nothing before the caret

        // A double click selects everything again: the next key replaces the value.
        QTest::mouseDClick(&field, Qt::LeftButton);
        QVERIFY(field.replaceAll());
        QTest::keyClicks(&field, QStringLiteral("3"));
        QCOMPARE(field.text(), QStringLiteral("      3.00"));

        // A digit that no longer fits beeps and keeps the value.
        test::ScriptedMessages messages;
        field.setValue(1234567.89);
        field.setCursorPosition(7);
        QTest::keyClicks(&field, QStringLiteral("1"));
        QCOMPARE(field.text(), QStringLiteral("1234567.89"));
        QCOMPARE(messages.toneLog().size(), 1);

        // Read-only: typing, Backspace and Delete change nothing.
        field.setReadOnly(true);
        QTest::keyClicks(&field, QStringLiteral("9"));
        QTest::keyClick(&field, Qt::Key_Backspace);
        QTest::keyClick(&field, Qt::Key_Delete);
        QCOMPARE(field.text(), QStringLiteral("1234567.89"));
    }

    // Paste, cut and undo keep to the number editor's rules: what would not be a number is refused
    // with the beep, and the field never holds anything but a number.
    void clipboardAndUndoInANumberField()
    {
        QWidget owner;
        RIGHTSLE field(&owner);
        field.setFieldSpec(FieldSpec::number(10, 2));
        test::ScriptedMessages messages;
        QClipboard *clipboard = QGuiApplication::clipboard();
        const auto paste = [&](const QString &text) {
            clipboard->setText(text);
            QTest::keyClick(&field, Qt::Key_V, Qt::ControlModifier);
        };

        field.setValue(1234578.5);
        field.setCursorPosition(10);
        for (const QString &refused : {QStringLiteral("abc"), QStringLiteral("12a"), QStringLiteral("1.2.3"),
                                       QStringLiteral("--4"), QString(), QStringLiteral("1e5")}) {
            const qsizetype tones = messages.toneLog().size();
            paste(refused);
            QCOMPARE(field.text(), QStringLiteral("1234578.50"));
            QCOMPARE(messages.toneLog().size(), tones + 1);
        }
        // Shift+Insert is a paste too.
        clipboard->setText(QStringLiteral("x"));
        QTest::keyClick(&field, Qt::Key_Insert, Qt::ShiftModifier);
        QCOMPARE(field.text(), QStringLiteral("1234578.50"));

        // A number is typed in as its characters: replacing the selected value, with a sign, with
        // thousands separators and blanks dropped.
        field.selectAll();
        paste(QStringLiteral(" 1,275.5 "));
        QCOMPARE(field.text(), QStringLiteral("   1275.50"));
        QCOMPARE(field.Value().toDouble(), 1275.5);
        field.setValue(3.0);
        field.selectAll();
        paste(QStringLiteral("-42"));
        QCOMPARE(field.Value().toDouble(), -42.0);
        // A number that would not fit is refused whole, as its last digit would be.
        const qsizetype tones = messages.toneLog().size();
        field.setValue(1234567.0);
        field.setCursorPosition(7);
        paste(QStringLiteral("98"));
        QCOMPARE(field.text(), QStringLiteral("1234567.00"));
        QCOMPARE(messages.toneLog().size(), tones + 1);

        // Cut copies the selection and removes it as Delete would.
        RIGHTSLE twin(&owner);
        twin.setFieldSpec(FieldSpec::number(10, 2));
        for (RIGHTSLE *f : {&field, &twin}) {
            f->setValue(98765.25);
            QTest::keyClick(f, Qt::Key_Left); // out of the replace mode
            f->setSelection(4, 3);            // "765"
        }
        QTest::keyClick(&field, Qt::Key_X, Qt::ControlModifier);
        QTest::keyClick(&twin, Qt::Key_Delete);
        QCOMPARE(clipboard->text(), QStringLiteral("765"));
        QCOMPARE(field.text(), twin.text());
        const QString afterCut = field.text();

        // Undo takes the last change back, and a second undo brings it again.
        QTest::keyClick(&field, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(field.text(), QStringLiteral("  98765.25"));
        QTest::keyClick(&field, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(field.text(), afterCut);
        QTest::keyClick(&field, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier); // redo does nothing
        QCOMPARE(field.text(), afterCut);

        // The edit's context menu pastes through the editor as well.
        clipboard->setText(QStringLiteral("abc"));
        field.setValue(12.5);
        QTimer::singleShot(0, [&] {
            auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            QVERIFY(menu);
            for (QAction *a : menu->actions()) {
                if (a->objectName() == u"edit-paste")
                    a->trigger();
            }
            menu->close();
        });
        QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(5, 5), field.mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(&field, &menuEvent);
        QCOMPARE(field.text(), QStringLiteral("     12.50"));

        // Read-only: a paste changes nothing.
        field.setReadOnly(true);
        paste(QStringLiteral("5"));
        QCOMPARE(field.text(), QStringLiteral("     12.50"));
    }

    void aPlainFieldIsAPlainEdit()
    {
        RIGHTSLE field;
        QTest::keyClicks(&field, QStringLiteral("a-1+"));
        QCOMPARE(field.text(), QStringLiteral("a-1+"));
        QCOMPARE(field.Value().toString(), QStringLiteral("a-1+"));
        field.command(kCommandToday); // date commands do nothing here
        QCOMPARE(field.text(), QStringLiteral("a-1+"));
    }

    void typingIntoADateField()
    {
        test::ScriptedMessages messages;
        QWidget owner;
        DATESLE field(&owner, QRect(10, 10, 200, 24));
        QVERIFY(field.Value().toDate().isNull()); // starts empty
        QCOMPARE(field.text(), QStringLiteral("  /  /    "));
        QCOMPARE(field.FIRSTDAYOFTHEWEEK, 1u);

        // "+" and "-" are never typed; on a text that is no date they beep.
        field.clear();
        QTest::keyClicks(&field, QStringLiteral("31/12/2023"));
        QCOMPARE(field.Value().toDate(), QDate(2023, 12, 31));
        QTest::keyClick(&field, Qt::Key_Plus, Qt::KeypadModifier);
        QCOMPARE(field.text(), QStringLiteral("01/01/2024"));
        QTest::keyClick(&field, Qt::Key_Minus, Qt::KeypadModifier);
        QTest::keyClick(&field, Qt::Key_Minus, Qt::KeypadModifier);
        QCOMPARE(field.text(), QStringLiteral("30/12/2023"));
        QTest::keyClick(&field, Qt::Key_Plus);
        QCOMPARE(field.text(), QStringLiteral("30/12/2023"));
        QVERIFY(messages.toneLog().isEmpty());
        field.setText(QStringLiteral("3x"));
        QTest::keyClick(&field, Qt::Key_Minus);
        QTest::keyClick(&field, Qt::Key_Plus, Qt::KeypadModifier);
        QCOMPARE(field.text(), QStringLiteral("3x"));
        QCOMPARE(messages.toneLog().size(), 1);

        // The context menu's Today, also in a read-only field.
        field.setReadOnly(true);
        field.contextMenu()->action(kCommandToday)->trigger();
        QCOMPARE(field.Value().toDate(), QDate(2024, 5, 15));
        QCOMPARE(field.contextMenu()->action(kCommandCalendar)->text(), QStringLiteral("&Calendar..."));
        QCOMPARE(field.contextMenu()->action(kCommandToday)->text(), QStringLiteral("&Today"));
    }

    void theButtonSitsBesideTheField()
    {
        QWidget owner;
        DATESLE field(&owner, QRect(10, 20, 200, 24));
        QCOMPARE(field.geometry(), QRect(10, 20, 170, 24));
        QVERIFY(field.OBUTTON());
        QCOMPARE(field.OBUTTON()->geometry(), QRect(182, 20, 30, 25));
        const auto *button = qobject_cast<DATEPB *>(field.OBUTTON());
        QVERIFY(button);
        QCOMPARE(button->HBITMAPUP().size(), QSize(26, 21));
        QCOMPARE(button->HBITMAPDOWN().size(), QSize(26, 21));
    }

    void calendarKeysEnterOnRelease()
    {
        QWidget owner;
        DATESLE field(&owner, QRect(10, 10, 200, 24));
        field.setValue(QDate(2024, 3, 15));
        bool seen = false;
        test::whenModal<DLGPECALENDAR>([&](DLGPECALENDAR *d) {
            seen = true;
            PECALENDAR *c = d->OCALENDAR();
            QCOMPARE(d->windowTitle(), QStringLiteral("Calendar"));
            QCOMPARE(c->CURRENTDATE(), QDate(2024, 3, 15)); // on the field's date
            QWidget *view = c->dayView();
            QTest::keyClick(view, Qt::Key_Right);
            QTest::keyClick(view, Qt::Key_Down);
            QTest::keyClick(view, Qt::Key_PageDown);
            QCOMPARE(c->CURRENTDATE(), QDate(2024, 4, 23));
            QTest::keyClick(view, Qt::Key_End);
            QCOMPARE(c->CURRENTDATE(), QDate(2024, 4, 30));
            QTest::keyClick(view, Qt::Key_A); // other keys do nothing
            QCOMPARE(c->CURRENTDATE(), QDate(2024, 4, 30));
            QTest::keyPress(view, Qt::Key_Return);
            QVERIFY(d->isVisible()); // Enter acts on its release
            QVERIFY(!d->DSELECTED.isValid());
            QTest::keyRelease(view, Qt::Key_Return);
            QVERIFY(!d->isVisible());
        });
        field.command(kCommandCalendar);
        QVERIFY(seen);
        QCOMPARE(field.Value().toDate(), QDate(2024, 4, 30));
    }

    // The title's arrows, the month menu and the year edit move the selected date with the month
    // shown (to the month's last day where it is shorter); Enter hands over what is shown.
    void theTitleMovesTheSelectedDateWithTheMonth()
    {
        QWidget owner;
        DATESLE field(&owner, QRect(10, 10, 200, 24));
        field.setValue(QDate(2024, 1, 31));
        bool seen = false;
        test::whenModal<DLGPECALENDAR>([&](DLGPECALENDAR *d) {
            seen = true;
            PECALENDAR *c = d->OCALENDAR();
            auto *next = c->findChild<QToolButton *>(QStringLiteral("qt_calendar_nextmonth"));
            auto *previous = c->findChild<QToolButton *>(QStringLiteral("qt_calendar_prevmonth"));
            auto *monthButton = c->findChild<QToolButton *>(QStringLiteral("qt_calendar_monthbutton"));
            auto *yearButton = c->findChild<QToolButton *>(QStringLiteral("qt_calendar_yearbutton"));
            QVERIFY(next && previous && monthButton && yearButton && monthButton->menu());
            const auto shown = [c] { return QDate(c->yearShown(), c->monthShown(), 1); };

            QTest::mouseClick(next, Qt::LeftButton);
            QCOMPARE(shown(), QDate(2024, 2, 1));
            QCOMPARE(c->CURRENTDATE(), QDate(2024, 2, 29));
            QTest::mouseClick(previous, Qt::LeftButton);
            QCOMPARE(c->CURRENTDATE(), QDate(2024, 1, 29));
            QTest::mouseClick(previous, Qt::LeftButton); // over the year end
            QCOMPARE(c->CURRENTDATE(), QDate(2023, 12, 29));

            // The month menu: April of the same year.
            const QList<QAction *> months = monthButton->menu()->actions();
            QCOMPARE(months.size(), 12);
            months.at(3)->trigger();
            QCOMPARE(shown(), QDate(2023, 4, 1));
            QCOMPARE(c->CURRENTDATE(), QDate(2023, 4, 29));
            months.at(1)->trigger();
            QCOMPARE(c->CURRENTDATE(), QDate(2023, 2, 28));
            QTest::mouseClick(next, Qt::LeftButton);
            QTest::keyClick(c->dayView(), Qt::Key_End);
            QCOMPARE(c->CURRENTDATE(), QDate(2023, 3, 31));
            months.at(1)->trigger();
            QCOMPARE(c->CURRENTDATE(), QDate(2023, 2, 28));

            // The year edit: 2024 keeps the 28th; a leap day goes to the 28th of a common year.
            QTest::keyClick(c->dayView(), Qt::Key_Down); // 7 March 2023
            QTest::keyClick(c->dayView(), Qt::Key_PageUp);
            months.at(1)->trigger();
            QCOMPARE(c->CURRENTDATE(), QDate(2023, 2, 7));
            QTest::mouseClick(yearButton, Qt::LeftButton);
            QSpinBox *year = c->yearSpinner();
            QVERIFY(year->isVisible());
            year->selectAll();
            QTest::keyClicks(year, QStringLiteral("2028"));
            QTest::keyClick(year, Qt::Key_Return);
            QCOMPARE(shown(), QDate(2028, 2, 1));
            QCOMPARE(c->CURRENTDATE(), QDate(2028, 2, 7));
            QTest::keyClick(c->dayView(), Qt::Key_End); // 29 February 2028
            QTest::mouseClick(yearButton, Qt::LeftButton);
            year->selectAll();
            QTest::keyClicks(year, QStringLiteral("2027"));
            QTest::keyClick(year, Qt::Key_Return);
            QCOMPARE(c->CURRENTDATE(), QDate(2027, 2, 28));

            QTest::mouseClick(next, Qt::LeftButton);
            QCOMPARE(c->CURRENTDATE(), QDate(2027, 3, 28));
            QTest::keyPress(c->dayView(), Qt::Key_Return);
            QTest::keyRelease(c->dayView(), Qt::Key_Return);
            QVERIFY(!d->isVisible());
        });
        field.command(kCommandCalendar);
        QVERIFY(seen);
        QCOMPARE(field.Value().toDate(), QDate(2027, 3, 28));
    }

    void escapeAndTheCloseBoxLeaveTheField()
    {
        QWidget owner;
        DATESLE field(&owner, QRect(10, 10, 200, 24));
        field.setValue(QDate(2024, 3, 15));
        QDate selected(2000, 1, 1);
        test::whenModal<DLGPECALENDAR>([&](DLGPECALENDAR *d) {
            QTest::keyClick(d->OCALENDAR()->dayView(), Qt::Key_Right);
            QTest::keyPress(d->OCALENDAR()->dayView(), Qt::Key_Escape);
            QVERIFY(!d->isVisible()); // Escape acts on its press
            selected = d->DSELECTED;
        });
        field.SHOWCALENDAR();
        QVERIFY(selected.isNull());
        QCOMPARE(field.Value().toDate(), QDate(2024, 3, 15));

        test::whenModal<DLGPECALENDAR>([&](DLGPECALENDAR *d) {
            QTest::keyClick(d->OCALENDAR()->dayView(), Qt::Key_Left);
            d->close();
            selected = d->DSELECTED;
        });
        QTest::mouseDClick(&field, Qt::LeftButton);
        QVERIFY(selected.isNull());
        QCOMPARE(field.Value().toDate(), QDate(2024, 3, 15));
    }

    void anEmptyFieldOpensOnTodayAndADoubleClickHandsOver()
    {
        QWidget owner;
        DATESLE field(&owner, QRect(10, 10, 200, 24));
        test::whenModal<DLGPECALENDAR>([&](DLGPECALENDAR *d) {
            PECALENDAR *c = d->OCALENDAR();
            QCOMPARE(c->CURRENTDATE(), QDate(2024, 5, 15));
            auto *view = c->dayView();
            // A neighbouring month's cell does nothing.
            const QModelIndex first = view->model()->index(1, 0);
            QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(first).center());
            QVERIFY(d->isVisible());
            QCOMPARE(c->CURRENTDATE(), QDate(2024, 5, 15));
            const QModelIndex day = dayCell(view, 21);
            QVERIFY(day.isValid());
            QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(day).center());
        });
        static_cast<QAbstractButton *>(field.OBUTTON())->click();
        QCOMPARE(field.Value().toDate(), QDate(2024, 5, 21));
    }

    void aReadOnlyFieldOpensNoCalendar()
    {
        QWidget owner;
        DATESLE field(&owner, QRect(10, 10, 200, 24));
        field.setReadOnly(true);
        bool opened = false;
        test::whenModal<DLGPECALENDAR>([&](DLGPECALENDAR *) { opened = true; }, 5);
        static_cast<QAbstractButton *>(field.OBUTTON())->click();
        field.command(kCommandCalendar);
        QTest::mouseDClick(&field, Qt::LeftButton);
        QTest::qWait(100);
        QVERIFY(!opened);
    }

    void placementAndTheFirstDayOfTheWeek()
    {
        QWidget owner;
        owner.setGeometry(50, 50, 400, 300);
        DATESLE field(&owner, QRect(20, 30, 200, 24));
        owner.show();
        field.FIRSTDAYOFTHEWEEK = 2;
        QPoint topLeft;
        QString firstColumn;
        QString lastColumn;
        QTextCharFormat monday;
        QTextCharFormat tuesday;
        test::whenModal<DLGPECALENDAR>([&](DLGPECALENDAR *d) {
            topLeft = d->frameGeometry().topLeft();
            const auto *model = d->OCALENDAR()->dayView()->model();
            firstColumn = model->index(0, 0).data().toString();
            lastColumn = model->index(0, 6).data().toString();
            monday = d->OCALENDAR()->weekdayTextFormat(Qt::Monday);
            tuesday = d->OCALENDAR()->weekdayTextFormat(Qt::Tuesday);
        });
        field.SHOWCALENDAR();
        const QPoint fieldTopLeft = field.mapToGlobal(QPoint(0, 0));
        QCOMPARE(topLeft, QPoint(fieldTopLeft.x(), fieldTopLeft.y() + field.height()));
        QCOMPARE(firstColumn, QStringLiteral("Mon"));
        QCOMPARE(lastColumn, QStringLiteral("Sun"));
        QCOMPARE(monday.foreground().color(), QColor(Qt::red));
        QCOMPARE(tuesday.foreground().color(), QColor(Qt::black));

        field.LALIGNCALENDARLEFT = false;
        test::whenModal<DLGPECALENDAR>([&](DLGPECALENDAR *d) { topLeft = d->frameGeometry().topLeft(); });
        field.SHOWCALENDAR();
        QCOMPARE(topLeft.x(), fieldTopLeft.x() + field.width());
    }

    void theYearSpinnerKeepsToItsYears()
    {
        PECALENDAR c;
        QSpinBox *spinner = c.yearSpinner();
        QVERIFY(spinner);
        QCOMPARE(spinner->minimum(), 1752);
        QCOMPARE(spinner->maximum(), 2999);
        QCOMPARE(c.minimumDate(), QDate(1752, 1, 1));
        QCOMPARE(c.maximumDate(), QDate(2999, 12, 31));
        spinner->setValue(2024);
        QTest::keyClicks(spinner, QStringLiteral("x")); // no text but a year gets in
        QCOMPARE(spinner->value(), 2024);
        spinner->setValue(3500);
        QCOMPARE(spinner->value(), 2999);
        c.setFIRSTDAYOFTHEWEEK(0); // another locale's week counts from Sunday
        QCOMPARE(c.firstDayOfWeek(), Qt::Sunday);
        QCOMPARE(c.weekdayTextFormat(Qt::Saturday).foreground().color(), QColor(Qt::red));
    }

    void twoStateBitmapButton()
    {
        QWidget owner;
        WMBITMAPBUTTON b(&owner, QStringLiteral("IBM_CALUP"), QStringLiteral("IBM_CALDN"));
        b.resize(30, 25);
        b.state.LTWOSTATE = true;
        QTest::mouseClick(&b, Qt::LeftButton);
        QVERIFY(b.state.LDOWN);
        QCOMPARE(b.currentPicture().toImage(), b.HBITMAPDOWN().toImage());
        QTest::mouseClick(&b, Qt::LeftButton);
        QVERIFY(!b.state.LDOWN);
        b.state.LTWOSTATE = false;
        QTest::mousePress(&b, Qt::LeftButton);
        QVERIFY(b.state.LDOWN);
        QTest::mouseRelease(&b, Qt::LeftButton);
        QVERIFY(!b.state.LDOWN);
    }

private:
    test::ManualClock clock;
};

QTEST_MAIN(DateFields)
#include "tst_date_fields.moc"
