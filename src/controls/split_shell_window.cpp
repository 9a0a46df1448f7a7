#include "controls/split_shell_window.h"

#include "controls/split_bar.h"

#include <QMdiArea>
#include <QMenuBar>
#include <QResizeEvent>
#include <QStatusBar>

namespace vexo {

namespace {

// The central widget: panes, bars and the MDI area are its children, placed by the shell's layout
// whenever the frame gives it a new size (a tool bar shown or hidden, the window resized).
class SplitClientArea : public QWidget
{
public:
    SplitClientArea(JOVSPLITSHELLWINDOW *shell) : QWidget(shell), m_shell(shell) {}

protected:
    void resizeEvent(QResizeEvent *event) override
    {
        QWidget::resizeEvent(event);
        m_shell->ADJUSTCLIENT_();
    }

private:
    JOVSPLITSHELLWINDOW *m_shell;
};

} // namespace

JOVSPLITSHELLWINDOW::JOVSPLITSHELLWINDOW(QWidget *owner, std::optional<int> leftPercent,
                                         std::optional<int> bottomPercent)
    : QMainWindow(owner)
{
    m_client = new SplitClientArea(this);
    setCentralWidget(m_client);
    m_mdi = new QMdiArea(m_client);
    m_mdi->setObjectName(QStringLiteral("mdiClient"));
    m_horzBar = new JOVHORZSPLITBAR(m_client);
    m_horzBar->show();
    m_vertBar = new JOVVERTSPLITBAR(m_client);
    m_vertBar->show();
    connect(m_vertBar, &JOVSPLITBAR::moved, this, &JOVSPLITSHELLWINDOW::ONVERTSPLITBARMOVE);
    connect(m_horzBar, &JOVSPLITBAR::moved, this, &JOVSPLITSHELLWINDOW::ONHORZSPLITBARMOVE);

    m_settings.POSTYPE = PaneSizing::PERCENT;
    m_settings.BOTTOMSIZEPERCENT = bottomPercent.value_or(20);
    m_settings.LEFTSIZEPERCENT = leftPercent.value_or(20);
    m_settings.CANRESIZEBOTTOMPANE = true;
    m_settings.CANRESIZELEFTPANE = true;
    m_constructed = true;
    ADJUSTCLIENT_();
}

JOVSPLITSHELLWINDOW::~JOVSPLITSHELLWINDOW() = default;

void JOVSPLITSHELLWINDOW::placePane(QWidget *pane)
{
    if (pane->parentWidget() != m_client)
        pane->setParent(m_client); // a pane is a child of the client area, whatever it was before
    pane->show();
    m_vertBar->raise();
    m_horzBar->raise();
}

QWidget *JOVSPLITSHELLWINDOW::setLEFTPANE(QWidget *pane)
{
    m_leftPane = pane;
    m_settings.hasLeftPane = pane != nullptr;
    if (pane) {
        placePane(pane);
        m_vertBar->show();
    } else {
        m_vertBar->hide();
    }
    ADJUSTCLIENT_();
    return pane;
}

QWidget *JOVSPLITSHELLWINDOW::setBOTTOMPANE(QWidget *pane)
{
    m_bottomPane = pane;
    m_settings.hasBottomPane = pane != nullptr;
    if (pane) {
        placePane(pane);
        m_horzBar->show();
    } else {
        m_horzBar->hide();
    }
    ADJUSTCLIENT_();
    return pane;
}

bool JOVSPLITSHELLWINDOW::setSHOWLEFTPANE(bool show)
{
    m_settings.SHOWLEFTPANE = show && m_leftPane;
    ADJUSTCLIENT_();
    return m_settings.SHOWLEFTPANE;
}

bool JOVSPLITSHELLWINDOW::setSHOWBOTTOMPANE(bool show)
{
    m_settings.SHOWBOTTOMPANE = show && m_bottomPane;
    ADJUSTCLIENT_();
    return m_settings.SHOWBOTTOMPANE;
}

PaneSizing JOVSPLITSHELLWINDOW::setPOSTYPE(PaneSizing sizing)
{
    if (sizing == PaneSizing::PERCENT || sizing == PaneSizing::PIXEL)
        m_settings.POSTYPE = sizing;
    return m_settings.POSTYPE;
}

int JOVSPLITSHELLWINDOW::setLEFTSIZEPIXEL(int pixels)
{
    m_settings.LEFTSIZEPIXEL = pixels;
    ADJUSTCLIENT_();
    return pixels;
}

int JOVSPLITSHELLWINDOW::setBOTTOMSIZEPIXEL(int pixels)
{
    m_settings.BOTTOMSIZEPIXEL = pixels;
    ADJUSTCLIENT_();
    return pixels;
}

int JOVSPLITSHELLWINDOW::setLEFTSIZEPERCENT(int percent)
{
    m_settings.LEFTSIZEPERCENT = percent;
    ADJUSTCLIENT_();
    return percent;
}

int JOVSPLITSHELLWINDOW::setBOTTOMSIZEPERCENT(int percent)
{
    m_settings.BOTTOMSIZEPERCENT = percent;
    ADJUSTCLIENT_();
    return percent;
}

bool JOVSPLITSHELLWINDOW::setCANRESIZELEFTPANE(bool can)
{
    m_settings.CANRESIZELEFTPANE = can;
    ADJUSTCLIENT_();
    return can;
}

bool JOVSPLITSHELLWINDOW::setCANRESIZEBOTTOMPANE(bool can)
{
    m_settings.CANRESIZEBOTTOMPANE = can;
    ADJUSTCLIENT_();
    return can;
}

int JOVSPLITSHELLWINDOW::LEFTSIZE_() const
{
    return effectiveLeftSize(m_settings, clientRect().size());
}

int JOVSPLITSHELLWINDOW::BOTTOMSIZE_() const
{
    return effectiveBottomSize(m_settings, clientRect().size());
}

JOVSPLITSHELLWINDOW *JOVSPLITSHELLWINDOW::REFRESH()
{
    ADJUSTCLIENT_();
    return this;
}

void JOVSPLITSHELLWINDOW::ONVERTSPLITBARMOVE(int distance)
{
    if (applyVertSplitBarMove(m_settings, clientRect().size(), distance))
        ADJUSTCLIENT_();
}

void JOVSPLITSHELLWINDOW::ONHORZSPLITBARMOVE(int distance)
{
    if (applyHorzSplitBarMove(m_settings, clientRect().size(), distance))
        ADJUSTCLIENT_();
}

QRect JOVSPLITSHELLWINDOW::clientRect() const
{
    // The frame's client area: below the menu bar, from the top of the tool bars to the bottom of the
    // status bar. Horizontally it is the central widget's extent.
    const QRect central = m_client->geometry();
    int top = 0;
    if (const QWidget *menu = menuWidget(); menu && menu->isVisible())
        top = menu->geometry().bottom() + 1;
    top = std::min(top, central.top());
    const int bottom = std::max(height(), central.bottom() + 1);
    return QRect(central.left(), top, central.width(), bottom - top);
}

SplitLayoutInput JOVSPLITSHELLWINDOW::layoutInput() const
{
    // Whatever the frame docks above and below the central widget counts as the tool bar and the
    // status bar, so the reduced area is always exactly the central widget.
    SplitLayoutInput in;
    in.client = clientRect();
    in.settings = m_settings;
    const QRect central = m_client->geometry();
    const int above = central.top() - in.client.top();
    const int below = in.client.bottom() - central.bottom();
    in.statusBar = DockedBar{below > 0, below, false};
    in.toolBar = DockedBar{above > 0, above, true};
    return in;
}

bool JOVSPLITSHELLWINDOW::ADJUSTCLIENT_()
{
    if (!m_constructed)
        return true;
    const SplitLayout layout = computeSplitLayout(layoutInput());
    const QPoint toClient = -m_client->geometry().topLeft();
    if (m_leftPane && layout.placeLeftPane) {
        m_leftPane->setGeometry(layout.leftPane.translated(toClient));
        m_leftPane->update();
    }
    if (m_bottomPane && layout.placeBottomPane) {
        m_bottomPane->setGeometry(layout.bottomPane.translated(toClient));
        m_bottomPane->update();
    }
    m_vertBar->setGeometry(layout.vertBar.translated(toClient));
    m_horzBar->setGeometry(layout.horzBar.translated(toClient));
    m_mdi->setGeometry(layout.mdiClient.translated(toClient));
    return true;
}

} // namespace vexo
