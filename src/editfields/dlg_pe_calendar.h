#pragma once

#include <QDate>
#include <QDialog>
#include <QMenu>

namespace vexo {

class PECALENDAR;
class RIGHTSLE;

// The modal dialog in which a date field picks a date: caption "Calendar", 171 x 91 dialog units (or
// what the calendar needs, when more), opened right below the field at its left or right edge, on the
// field's date (today when it holds none) and with the field's first day of the week. Enter and a
// double click leave the date in DSELECTED and close; Escape and the close box leave it empty.
class DLGPECALENDAR : public QDialog
{
    Q_OBJECT
public:
    DLGPECALENDAR(QWidget *owner, RIGHTSLE *edit);

    PECALENDAR *OCALENDAR() const { return m_calendar; }
    QDate DSELECTED;

private:
    PECALENDAR *m_calendar = nullptr;
};

// The date field's context menu: "&Today" (7754) and "&Calendar..." (7755), each sending its command
// to the field.
class PEDATESLECONTEXTMENU : public QMenu
{
    Q_OBJECT
public:
    explicit PEDATESLECONTEXTMENU(RIGHTSLE *owner);

    struct Item
    {
        int id;
        const char *name;
        const char *caption;
    };
    static const Item kItems[2];
    QAction *action(int id) const;
};

} // namespace vexo
