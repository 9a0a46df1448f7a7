#include "editfields/dlg_pe_calendar.h"

#include "editfields/calendar_model.h"
#include "editfields/pe_calendar.h"
#include "editfields/right_sle.h"
#include "platform/clock.h"
#include "platform/dialog_units.h"

#include <QGuiApplication>
#include <QScreen>

namespace vexo {

DLGPECALENDAR::DLGPECALENDAR(QWidget *owner, RIGHTSLE *edit)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("DLGPECALENDAR"));
    setWindowTitle(QStringLiteral("Calendar"));
    setModal(true);

    m_calendar = new PECALENDAR(this);
    m_calendar->setObjectName(QStringLiteral("CALENDAR"));
    const QRect client = dluRect(font(), 0, 0, 171, 91);
    const QRect area = dluRect(font(), 2, 2, 165, 86);
    const QSize needed = m_calendar->minimumSizeHint();
    const QSize calendarSize = area.size().expandedTo(needed);
    m_calendar->setGeometry(QRect(area.topLeft(), calendarSize));
    setFixedSize(client.size().expandedTo(calendarSize + QSize(2 * area.left(), 2 * area.top())));

    connect(m_calendar, &PECALENDAR::dateChosen, this, [this](const QDate &date) {
        DSELECTED = date;
        accept();
    });
    connect(m_calendar, &PECALENDAR::closeRequested, this, &QDialog::reject);

    if (edit) {
        const QDate d = edit->fieldSpec() ? CToD(edit->text(), edit->fieldSpec()->dateFormat()) : QDate();
        const QRect field(edit->mapToGlobal(QPoint(0, 0)), edit->size());
        const QScreen *screen = edit->screen() ? edit->screen() : QGuiApplication::primaryScreen();
        move(calendarDialogTopLeft(field, frameGeometry().size().expandedTo(size()), edit->LALIGNCALENDARLEFT,
                                   screen ? screen->availableGeometry() : QRect()));
        m_calendar->setCURRENTDATE(d.isValid() ? d : clock().now().date());
        m_calendar->setFIRSTDAYOFTHEWEEK(edit->FIRSTDAYOFTHEWEEK);
    }
    m_calendar->setFocus();
}

const PEDATESLECONTEXTMENU::Item PEDATESLECONTEXTMENU::kItems[2] = {
    {kCommandToday, "FILENEW", "&Today"},
    {kCommandCalendar, "FILEOPEN", "&Calendar..."},
};

PEDATESLECONTEXTMENU::PEDATESLECONTEXTMENU(RIGHTSLE *owner)
    : QMenu(QStringLiteral("&File"), owner)
{
    setObjectName(QStringLiteral("FILE"));
    for (const Item &item : kItems) {
        QAction *a = addAction(QString::fromLatin1(item.caption));
        a->setObjectName(QString::fromLatin1(item.name));
        a->setData(item.id);
        const int id = item.id;
        connect(a, &QAction::triggered, owner, [owner, id] { owner->command(id); });
    }
}

QAction *PEDATESLECONTEXTMENU::action(int id) const
{
    for (QAction *a : actions()) {
        if (a->data().toInt() == id)
            return a;
    }
    return nullptr;
}

} // namespace vexo
