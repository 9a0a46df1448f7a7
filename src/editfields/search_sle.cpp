#include "editfields/search_sle.h"

#include "editfields/wm_bitmap_button.h"

#include <QMetaMethod>

namespace vexo {

SEARCHSLE::SEARCHSLE(QWidget *owner, const QRect &geometry)
    : RIGHTSLE(owner, geometry)
{
    setObjectName(QStringLiteral("SEARCHSLE"));
    if (owner)
        setPartnerButton(new SEARCHPB(owner, this));
}

bool SEARCHSLE::search()
{
    QObject *owner = parent();
    if (!owner)
        return false;
    const QMetaObject *meta = owner->metaObject();
    for (int i = 0; i < meta->methodCount(); ++i) {
        const QMetaMethod m = meta->method(i);
        if (QString::fromLatin1(m.name()).compare(SYMMETHOD, Qt::CaseInsensitive) != 0)
            continue;
        if (m.parameterCount() != 1 || m.parameterType(0) != QMetaType::QString)
            continue;
        return m.invoke(owner, Qt::DirectConnection, Q_ARG(QString, text()));
    }
    return false;
}

void SEARCHSLE::mouseDoubleClickEvent(QMouseEvent *)
{
    search(); // also in a read-only field
}

} // namespace vexo
