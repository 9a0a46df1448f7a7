#pragma once

#include <QCalendarWidget>
#include <QDate>

class QAbstractItemView;
class QSpinBox;

namespace vexo {

// The month calendar of the date fields. Qt's calendar draws the month, its title, the month menu and
// the in-place year spinner; on top of it: three-letter weekday names with the first and the last
// column in red, the neighbouring months' days left blank and not selectable, years 1752 to 2999 only,
// and the key table:
//   arrows a day or a week, Page Up and Down a month, Home and End the month's first and last day;
//   Enter, on release, hands the selected date over (dateChosen); Escape, on press, asks to close
//   without a date (closeRequested); every other key does nothing.
// A double click on a day of the month selects it and hands it over. The title's arrows, its month
// menu and its year edit move the selected date to the month they show, on the same day or the
// month's last day, so that the date Enter hands over is always in the month on screen.
class PECALENDAR : public QCalendarWidget
{
    Q_OBJECT
public:
    explicit PECALENDAR(QWidget *owner = nullptr);

    QDate CURRENTDATE() const { return selectedDate(); }
    // Selects the date and shows its month.
    void setCURRENTDATE(const QDate &date);
    // 1 Sunday ... 7 Saturday; any other value counts as Sunday.
    void setFIRSTDAYOFTHEWEEK(quint32 firstDay = 1);
    quint32 FIRSTDAYOFWEEK() const { return m_firstDay; }

    QSpinBox *yearSpinner() const;
    QAbstractItemView *dayView() const { return m_view; }

signals:
    void dateChosen(const QDate &date);
    void closeRequested();

protected:
    void paintCell(QPainter *painter, const QRect &rect, QDate date) const override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool keyEvent(QKeyEvent *event);
    bool mouseEvent(QMouseEvent *event);
    void applyWeekdayColours();
    void followShownMonth(int year, int month);

    QAbstractItemView *m_view = nullptr;
    quint32 m_firstDay = 1;
};

} // namespace vexo
