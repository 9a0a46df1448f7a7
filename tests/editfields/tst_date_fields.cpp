#include "editfields/date_sle.h"
#include "editfields/dlg_pe_calendar.h"
#include "editfields/pe_calendar.h"
#include "editfields/right_sle.h"
#include "editfields/wm_bitmap_button.h"
#include "modal_helper.h"
#include "scripted_messages.h"

#include <QAbstractItemView>
#include <QSpinBox>
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
