#pragma once

#include <QIcon>
#include <QList>
#include <QTabWidget>

namespace vexo {

// A tab widget whose tabs can be barred from selection by the mouse, and which takes no keys: a click
// (or the wheel) on a barred tab changes nothing, and keys never change the tab. Tabs added other than
// by APPENDTAB count as allowed; bar and allow calls beyond the appended tabs are ignored.
class XTABCONTROL : public QTabWidget
{
    Q_OBJECT
public:
    explicit XTABCONTROL(QWidget *owner = nullptr);

    int APPENDTAB(const QString &name, const QString &caption, QWidget *page, const QIcon &image = QIcon());
    void PREVENTSELECTION(int index);
    void ALLOWSELECTION(int index);
    bool allowed(int index) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QList<bool> m_allowed;
};

} // namespace vexo
