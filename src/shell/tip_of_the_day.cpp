#include "shell/tip_of_the_day.h"

#include "shell/tip_of_the_day_dialog.h"

namespace vexo {

void TipPager::next()
{
    ++m_current;
    if (m_current > quint32(m_count))
        m_current = 1;
}

void TipPager::previous()
{
    if (m_current > 0)
        --m_current;
    if (m_current == 0)
        m_current = 1;
}

int lastTipFromSetting(const QString &stored)
{
    const QString text = stored.trimmed();
    qsizetype digits = 0;
    while (digits < text.size() && text.at(digits) >= u'0' && text.at(digits) <= u'9')
        ++digits;
    bool ok = false;
    const int n = text.left(digits).toInt(&ok);
    return ok ? n : 0;
}

QString lastTipSettingText(quint32 lastTip)
{
    return QString::number(lastTip).rightJustified(2, u' ');
}

bool LASTTIPCONT(TipSettings &settings, quint32 lastTip)
{
    return settings.set(QString::fromUtf16(kLastTipSetting), lastTipSettingText(lastTip));
}

void runTipOfTheDay(QWidget *owner, TipSettings &settings, const std::function<void()> &switchTipOptionOff)
{
    WTIPOFDAY dialog(owner);
    dialog.TIP(CREATETIPARRAY());
    dialog.SHOWONSTARTUP(true);
    dialog.LASTTIP(quint32(lastTipFromSetting(settings.get(QString::fromUtf16(kLastTipSetting)))));
    dialog.SHOW();
    if (!dialog.SHOWONSTARTUP()) {
        if (switchTipOptionOff)
            switchTipOptionOff();
        else
            settings.set(QString::fromUtf16(kTipOptionSetting), QStringLiteral("0"));
    }
    LASTTIPCONT(settings, dialog.LASTTIP());
}

} // namespace vexo
