#pragma once

#include "controls/custom_text_control.h"

namespace vexo {

// A one-line link: blue underlined caption, the hand pointer over it, and an action on a left-button
// release over it. The action is, first that applies: opening `Action` through the desktop, the
// owner's handler named like the control, opening the caption itself.
class JOVHYPERLINK : public JOVCUSTOMTEXTCNTRL
{
    Q_OBJECT
public:
    explicit JOVHYPERLINK(QWidget *owner = nullptr, const QString &caption = QString());

    const QString &Action() const { return m_action; }
    const QString &setAction(const QString &action) { return m_action = action; }
    bool AutoSize() const { return m_autoSize; }
    // Takes effect at the next paint.
    bool setAutoSize(bool on) { return m_autoSize = on; }
    bool Transparent() const { return m_transparent; }
    bool setTransparent(bool on);

    // The click; what it did, for the window's own use and for tests.
    enum class ClickResult { OpenedAction, CalledOwner, OpenedCaption };
    ClickResult click();

    // The size of the caption in the control's font.
    QSize textExtent() const;

    void Draw(QPainter &painter) override;
    // A layout gives an auto-sized link its text's size from the start.
    QSize sizeHint() const override;

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QString m_action;
    bool m_transparent = false;
    bool m_autoSize = true;
};

} // namespace vexo
