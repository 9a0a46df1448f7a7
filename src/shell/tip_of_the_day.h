#pragma once

#include <QList>
#include <QString>

#include <functional>

class QWidget;

namespace vexo {

// One tip: its heading, its text (one paragraph) and whether "Daha fazla bilgi" is offered.
struct TipRow
{
    QString heading;
    QString text;
    bool more = true;
};

// The 44 tips, in the order they are shown; a new table at each call.
QList<TipRow> CREATETIPARRAY();

// Where the dialog stands in the tip table: rows are numbered from 1, 0 before the first is shown.
// Going forwards wraps round after the last row; going backwards stops at row 1.
class TipPager
{
public:
    explicit TipPager(int rowCount = 0, quint32 current = 0) : m_count(rowCount), m_current(current) {}

    void setRowCount(int rowCount) { m_count = rowCount; }
    int rowCount() const { return m_count; }
    quint32 current() const { return m_current; }
    void setCurrent(quint32 row) { m_current = row; }

    void next();
    void previous();
    bool nextEnabled() const { return m_current < quint32(m_count); }
    bool previousEnabled() const { return m_current > 1; }

private:
    int m_count;
    quint32 m_current;
};

// The two settings the tip of the day keeps in the settings store: the option "show at start"
// (VKlstrt) and the number of the last tip shown (VKlatip). Start-up connects it to the store.
class TipSettings
{
public:
    virtual ~TipSettings() = default;
    // The stored text of the setting without blanks around it; empty when unset or when the store
    // cannot be opened.
    virtual QString get(const QString &name) = 0;
    // Stores the text unscrambled; false, with nothing written, when the store cannot be opened.
    virtual bool set(const QString &name, const QString &value) = 0;
};

inline constexpr const char16_t *kTipOptionSetting = u"VKlstrt";
inline constexpr const char16_t *kLastTipSetting = u"VKlatip";

// The number a stored last-tip text begins with; 0 when it is empty or does not begin with a number.
int lastTipFromSetting(const QString &stored);
// The number as the store keeps it: right-aligned in two characters (" 7", "44").
QString lastTipSettingText(quint32 lastTip);
// Stores the number of the last tip shown; false when the store cannot be opened.
bool LASTTIPCONT(TipSettings &settings, quint32 lastTip);

// Start-up's tip of the day, for when the option is on: shows the dialog modally after the tip shown
// last time, then, when "Başlarken göster" was unticked, switches the option off (switchTipOptionOff,
// the main window's toggle; without one "0" is stored directly), and stores the tip shown last.
void runTipOfTheDay(QWidget *owner, TipSettings &settings,
                    const std::function<void()> &switchTipOptionOff = {});

} // namespace vexo
