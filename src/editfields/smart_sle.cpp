#include "editfields/smart_sle.h"

#include <QKeyEvent>

namespace vexo {

QList<QWidget *> AXCONTROLS(const QWidget *window)
{
    return window ? window->findChildren<QWidget *>(Qt::FindDirectChildrenOnly) : QList<QWidget *>();
}

SMARTSLE::SMARTSLE(QWidget *owner)
    : QLineEdit(owner)
{
}

void SMARTSLE::keyPressEvent(QKeyEvent *event)
{
    if (!LEMPTIED && !event->text().isEmpty() && event->text().at(0).unicode() > 0) {
        LEMPTIED = true;
        setText(QStringLiteral(" "));
    }
    QLineEdit::keyPressEvent(event);
}

void SMARTSLE::keyReleaseEvent(QKeyEvent *event)
{
    QLineEdit::keyReleaseEvent(event);
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        NEXTSLE();
}

void SMARTSLE::NEXTSLE()
{
    const QList<QWidget *> controls = AXCONTROLS(parentWidget());
    auto same = [this](const QWidget *w) {
        return objectName().isEmpty() ? w == this : w->objectName() == objectName();
    };
    const auto it = std::find_if(controls.cbegin(), controls.cend(), same);
    if (it == controls.cend())
        return;
    const qsizetype i = it - controls.cbegin();
    const qsizetype j = i + 1 == controls.size() ? 0 : i + 1;
    if (auto *next = qobject_cast<SMARTSLE *>(controls.at(j))) {
        next->selectAll();
        next->setFocus();
    }
}

} // namespace vexo
