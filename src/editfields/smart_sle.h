#pragma once

#include <QLineEdit>
#include <QList>

namespace vexo {

// A window's own controls in the order they were created.
QList<QWidget *> AXCONTROLS(const QWidget *window);

// An edit for forms filled in from the keyboard: its first character key empties it (the character
// then goes into the emptied field), and Enter moves the focus to the next control of the owner, in
// creation order and wrapping round, when that control is also a SMARTSLE, with its text selected.
// Controls are known by their object name; without one, by themselves.
class SMARTSLE : public QLineEdit
{
    Q_OBJECT
public:
    explicit SMARTSLE(QWidget *owner = nullptr);

    bool LEMPTIED = false;
    void NEXTSLE();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
};

} // namespace vexo
