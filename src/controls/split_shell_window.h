#pragma once

#include "controls/split_layout.h"

#include <QMainWindow>
#include <QPointer>

#include <optional>

class QMdiArea;

namespace vexo {

class JOVHORZSPLITBAR;
class JOVVERTSPLITBAR;

// The multiple-document frame the main window derives from: besides the tool bar, the status bar
// and the MDI area, a left pane running down the left side and a bottom pane across the whole width
// at the bottom, each with a split bar that the user drags to resize it. Pane sizes are held both in
// pixels and in per cent of the client area; POSTYPE chooses which the layout reads.
//
// The panes are windows the owner hands over; the shell shows them but does not own their fate: a
// pane replaced or set to none stays where it was. The rules of the layout live in split_layout.h.
class JOVSPLITSHELLWINDOW : public QMainWindow
{
    Q_OBJECT
public:
    explicit JOVSPLITSHELLWINDOW(QWidget *owner = nullptr, std::optional<int> leftPercent = std::nullopt,
                                 std::optional<int> bottomPercent = std::nullopt);
    ~JOVSPLITSHELLWINDOW() override;

    QMdiArea *mdiArea() const { return m_mdi; }
    JOVVERTSPLITBAR *vertSplitBar() const { return m_vertBar; }
    JOVHORZSPLITBAR *horzSplitBar() const { return m_horzBar; }

    QWidget *LEFTPANE() const { return m_leftPane; }
    QWidget *setLEFTPANE(QWidget *pane);
    QWidget *BOTTOMPANE() const { return m_bottomPane; }
    QWidget *setBOTTOMPANE(QWidget *pane);

    bool SHOWLEFTPANE() const { return m_settings.SHOWLEFTPANE; }
    bool setSHOWLEFTPANE(bool show); // refused (stores false) without a left pane
    bool SHOWBOTTOMPANE() const { return m_settings.SHOWBOTTOMPANE; }
    bool setSHOWBOTTOMPANE(bool show);

    PaneSizing POSTYPE() const { return m_settings.POSTYPE; }
    PaneSizing setPOSTYPE(PaneSizing sizing); // does not lay out

    int LEFTSIZEPIXEL() const { return m_settings.LEFTSIZEPIXEL; }
    int setLEFTSIZEPIXEL(int pixels);
    int BOTTOMSIZEPIXEL() const { return m_settings.BOTTOMSIZEPIXEL; }
    int setBOTTOMSIZEPIXEL(int pixels);
    int LEFTSIZEPERCENT() const { return m_settings.LEFTSIZEPERCENT; }
    int setLEFTSIZEPERCENT(int percent);
    int BOTTOMSIZEPERCENT() const { return m_settings.BOTTOMSIZEPERCENT; }
    int setBOTTOMSIZEPERCENT(int percent);

    bool CANRESIZELEFTPANE() const { return m_settings.CANRESIZELEFTPANE; }
    bool setCANRESIZELEFTPANE(bool can);
    bool CANRESIZEBOTTOMPANE() const { return m_settings.CANRESIZEBOTTOMPANE; }
    bool setCANRESIZEBOTTOMPANE(bool can);

    // The effective sizes in pixels, from the current client area.
    int LEFTSIZE_() const;
    int BOTTOMSIZE_() const;

    JOVSPLITSHELLWINDOW *REFRESH();
    // The navigation pane: the left-pane window.
    QWidget *GETOBDLG() const { return m_leftPane; }

    // The ends of the bars' drags: right (vertical bar) or down (horizontal bar) in pixels.
    void ONVERTSPLITBARMOVE(int distance);
    void ONHORZSPLITBARMOVE(int distance);

    // Lays out the client area; runs on every resize of it and after each change above.
    bool ADJUSTCLIENT_();

    // The whole client area (tool bar and status bar included) in the shell's coordinates, and the
    // input the layout is computed from.
    QRect clientRect() const;
    SplitLayoutInput layoutInput() const;

private:
    void placePane(QWidget *pane);

    QWidget *m_client = nullptr;
    QMdiArea *m_mdi = nullptr;
    JOVVERTSPLITBAR *m_vertBar = nullptr;
    JOVHORZSPLITBAR *m_horzBar = nullptr;
    QPointer<QWidget> m_leftPane;
    QPointer<QWidget> m_bottomPane;
    SplitPaneSettings m_settings;
    bool m_constructed = false;
};

} // namespace vexo
