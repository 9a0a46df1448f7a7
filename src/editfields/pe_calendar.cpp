#include "editfields/pe_calendar.h"

#include "editfields/calendar_model.h"
#include "editfields/number_editor.h"
#include "editfields/virtual_keys.h"
#include "platform/clock.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QSpinBox>
#include <QTextCharFormat>

namespace vexo {

namespace {

int virtualKeyOf(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Down: return VK_DOWN;
    case Qt::Key_PageUp: return VK_PRIOR;
    case Qt::Key_PageDown: return VK_NEXT;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_End: return VK_END;
    default: return 0;
    }
}

bool isEnter(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

PECALENDAR::PECALENDAR(QWidget *owner)
    : QCalendarWidget(owner)
{
    // The calendar speaks English, as its dialog's caption and its menu do.
    setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    setHorizontalHeaderFormat(QCalendarWidget::ShortDayNames);
    setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    setGridVisible(true);
    setDateEditEnabled(false);
    setDateRange(QDate(kCalendarFirstYear, 1, 1), QDate(kCalendarLastYear, 12, 31));
    if (QSpinBox *spinner = yearSpinner())
        spinner->setRange(kCalendarFirstYear, kCalendarLastYear);

    m_view = findChild<QAbstractItemView *>();
    if (m_view) {
        m_view->installEventFilter(this);
        m_view->viewport()->installEventFilter(this);
    }
    setFIRSTDAYOFTHEWEEK(firstDayOfTheWeek(QLocale::system().firstDayOfWeek()));
    setCURRENTDATE(clock().now().date());
    connect(this, &QCalendarWidget::currentPageChanged, this, &PECALENDAR::followShownMonth);
}

void PECALENDAR::followShownMonth(int year, int month)
{
    const QDate selected = selectedDate();
    if (!selected.isValid() || (selected.year() == year && selected.month() == month))
        return;
    // The same day of the month shown, or its last day where the month is shorter (31 January
    // goes to 29 February, 29 February to 28 February of a common year).
    const QDate first(year, month, 1);
    setSelectedDate(QDate(year, month, qMin(selected.day(), first.daysInMonth())));
}

QSpinBox *PECALENDAR::yearSpinner() const
{
    return findChild<QSpinBox *>(QStringLiteral("qt_calendar_yearedit"));
}

void PECALENDAR::setCURRENTDATE(const QDate &date)
{
    if (!date.isValid() || date == selectedDate())
        return;
    setSelectedDate(date);
    setCurrentPage(selectedDate().year(), selectedDate().month());
}

void PECALENDAR::setFIRSTDAYOFTHEWEEK(quint32 firstDay)
{
    m_firstDay = firstDay;
    setFirstDayOfWeek(qtDayOfWeek(calendarFirstDay(firstDay)));
    applyWeekdayColours();
}

void PECALENDAR::applyWeekdayColours()
{
    // The first and the last column are red, whatever weekdays stand there; day numbers are drawn
    // black by paintCell, so only the names take the colour.
    const int first = calendarFirstDay(m_firstDay);
    QTextCharFormat plain;
    plain.setForeground(Qt::black);
    QTextCharFormat red;
    red.setForeground(Qt::red);
    for (int column = 1; column <= 7; ++column) {
        const int weekday = (first - 1 + column - 1) % 7 + 1;
        setWeekdayTextFormat(qtDayOfWeek(weekday), column == 1 || column == 7 ? red : plain);
    }
}

void PECALENDAR::paintCell(QPainter *painter, const QRect &rect, QDate date) const
{
    painter->save();
    painter->fillRect(rect, palette().brush(QPalette::Base));
    if (date.month() == monthShown() && date.year() == yearShown()) {
        QColor text = Qt::black;
        if (date == selectedDate()) {
            painter->fillRect(rect.adjusted(1, 1, -1, -1), palette().brush(QPalette::Highlight));
            text = palette().color(QPalette::HighlightedText);
        }
        painter->setPen(text);
        painter->drawText(rect, Qt::AlignCenter, QString::number(date.day()));
    }
    painter->restore();
}

bool PECALENDAR::keyEvent(QKeyEvent *event)
{
    const int key = event->key();
    if (event->type() == QEvent::KeyRelease) {
        if (isEnter(key) && !event->isAutoRepeat())
            emit dateChosen(selectedDate());
        return true;
    }
    if (key == Qt::Key_Escape) {
        emit closeRequested();
        return true;
    }
    if (const auto next = calendarKeyStep(selectedDate(), virtualKeyOf(key)))
        setCURRENTDATE(*next);
    return true; // Enter waits for its release; other keys do nothing
}

bool PECALENDAR::mouseEvent(QMouseEvent *event)
{
    const QModelIndex index = m_view->indexAt(event->position().toPoint());
    if (!index.isValid())
        return false;
    const int weekRow = index.row() - 1; // the first row holds the weekday names
    bool ok = false;
    const int day = index.data().toInt(&ok);
    if (weekRow < 0 || !ok || cellMonthOffset(weekRow, day) != 0)
        return true; // the weekday row and the neighbouring months' cells do nothing
    if (event->type() == QEvent::MouseButtonDblClick && event->button() == Qt::LeftButton) {
        const QDate date(yearShown(), monthShown(), day);
        setCURRENTDATE(date);
        emit dateChosen(date);
        return true;
    }
    return false;
}

bool PECALENDAR::eventFilter(QObject *watched, QEvent *event)
{
    if (m_view && watched == m_view && (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease))
        return keyEvent(static_cast<QKeyEvent *>(event));
    if (m_view && watched == m_view->viewport()) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick: return mouseEvent(static_cast<QMouseEvent *>(event));
        default: break;
        }
    }
    return QCalendarWidget::eventFilter(watched, event);
}

} // namespace vexo
