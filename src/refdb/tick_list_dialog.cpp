#include "refdb/tick_list_dialog.h"

#include "controls/barray_server.h"
#include "controls/bbrowser.h"

#include <QScrollBar>


namespace vexo {

TickListDialog::TickListDialog(QWidget *owner)
    : QDialog(owner)
{
}

void TickListDialog::setAllTicks(BBROWSER *grid, int tickField, bool on)
{
    BARRAYSERVER *s = grid->SERVER();
    if (!s || !s->USED())
        return;
    grid->SUSPENDUPDATE();
    s->SUSPENDNOTIFICATION();
    for (s->GOTOP(); !s->eof(); s->SKIP())
        s->FIELDPUT(tickField, on);
    s->GOTOP();
    s->RESETNOTIFICATION();
    grid->RESTOREUPDATE();
    grid->REFRESH();
    grid->SETFOCUS();
}

bool TickListDialog::anyTicked(BBROWSER *grid, int tickField)
{
    return !tickedNumbers(grid, tickField, tickField).isEmpty();
}

QList<int> TickListDialog::tickedNumbers(BBROWSER *grid, int tickField, int field)
{
    QList<int> out;
    BARRAYSERVER *s = grid->SERVER();
    if (!s || !s->USED())
        return out;
    for (int pos = 1; pos <= s->shownCount(); ++pos) {
        const int rec = s->recNoAt(pos);
        if (s->valueAt(rec, tickField).toBool())
            out.append(s->textAt(rec, field).trimmed().toInt());
    }
    return out;
}

void TickListDialog::fitGridWidth(BBROWSER *grid, const QList<QWidget *> &right, const QList<QWidget *> &below)
{
    int needed = 2 * grid->frameWidth() + grid->verticalScrollBar()->sizeHint().width();
    for (int c = 1; c <= grid->COLUMNCOUNT(); ++c)
        needed += grid->GETCOLUMN(c)->WIDTH();
    const int extra = needed - grid->width();
    if (extra <= 0)
        return;
    grid->resize(needed, grid->height());
    for (QWidget *w : right)
        w->move(w->x() + extra, w->y());
    for (QWidget *w : below)
        w->resize(w->width() + extra, w->height());
    setFixedSize(width() + extra, height());
}

void TickListDialog::PBIPTAL()
{
    if (m_finished)
        return;
    if (!SONKONT())
        return;
    finish(0);
}

void TickListDialog::reject()
{
    PBIPTAL();
}

void TickListDialog::finish(int result)
{
    if (m_finished)
        return;
    m_finished = true;
    done(result);
}

} // namespace vexo
