#pragma once

#include <QColor>
#include <QList>
#include <QMainWindow>
#include <QMdiArea>
#include <QPixmap>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QString>
#include <QToolBar>

#include <functional>
#include <optional>

class QPainter;
class QStatusBar;


namespace vexo {

// ---- Rules of the painted background, without a window ----

// The colour of each pixel row of a vertical gradient of the given height, top to bottom. Each
// component falls by a fixed step per row, the fraction dropped toward zero; the last row is the
// bottom colour. A height of 0 gives no row.
QList<QColor> gradientRowColours(const QColor &top, const QColor &bottom, int height);

// Where a bitmap goes on the client area for styles 2 and above: stretched over the whole area, or
// drawn at its natural size from a point.
struct BitmapPlacement
{
    bool stretch = false;
    QPoint at;
    bool operator==(const BitmapPlacement &) const = default;
};
BitmapPlacement centreBitmapPlacement(unsigned style, QSize client, QSize bitmap, std::optional<QPoint> position);

// The top-left corners of the tiles of style 1: whole columns and rows and one more of each.
QList<QPoint> tileOrigins(QSize client, QSize bitmap);

// What a paint draws, in this order.
struct ShellPaintPlan
{
    bool gradient = false;
    bool tiledBitmap = false;
    bool centredBitmap = false;
    bool title = false;
    bool copyText = false;
};
ShellPaintPlan shellPaintPlan(bool gradientOn, unsigned style, bool hasBitmap, const QString &title,
                              const QString &line1, const QString &line2);

// The title font's height (negative: the character height in pixels) for an area H pixels high,
// a divisor and the device's pixels per inch: H / divisor rounded to two decimals, times 24 points.
int titleFontHeight(int areaHeight, double divisor, int logPixelsY);

// Measures the title in a font of the given pixel height: for one line its width and height; for
// several lines the width and height of the block centred in maxWidth.
using TitleMeasure = std::function<QSize(int pixelHeight, const QString &title, bool multiLine, int maxWidth)>;

// The auto-fit title's size: the first of at most seven sizes (divisor 250, each next 1.25 times it)
// whose measured width fits three quarters of the area; the seventh when none fits.
struct TitleFit
{
    int fontHeight = 0;
    double divisor = 250;
    QSize measured;
    int tries = 0;
};
TitleFit autoFitTitle(const QString &title, int areaWidth, int areaHeight, int logPixelsY, const TitleMeasure &measure);

// The text lines' font height (negative) at the device's pixels per inch: 8 points.
int copyTextFontHeight(int logPixelsY);
// The rectangle a text line of the measured height is drawn in, at the bottom of the client area.
QRect copyTextRect(const QRect &client, int measuredHeight);

// The status bar's parts.
enum class StatusBarArea { Message, Ins, CapsLock, NumLock, ScrollLock, Time };
// The text a key-indicator part shows; empty for any other part.
QString keyIndicatorText(StatusBarArea area);

class ACF_SHELLWINDOW;

// The MDI client: paints through its frame window when the frame has anything to paint.
class AcfMdiArea : public QMdiArea
{
    Q_OBJECT
public:
    explicit AcfMdiArea(ACF_SHELLWINDOW *frame);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    ACF_SHELLWINDOW *m_frame;
};

// One status-bar part that draws a key indicator (or nothing, for a part of another kind).
class KeyIndicatorPart : public QWidget
{
    Q_OBJECT
public:
    KeyIndicatorPart(ACF_SHELLWINDOW *frame, StatusBarArea area, QWidget *parent);
    StatusBarArea area() const { return m_area; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    ACF_SHELLWINDOW *m_frame;
    StatusBarArea m_area;
};

// A multiple-document frame whose client area behind the child windows shows a gradient, a bitmap, a
// shadowed title and two text lines in the bottom corners, set by the owner; its status bar draws the
// key indicators; a child's tool bar can be swapped in for the frame's.
class ACF_SHELLWINDOW : public QMainWindow
{
    Q_OBJECT
public:
    explicit ACF_SHELLWINDOW(QWidget *owner = nullptr);
    ~ACF_SHELLWINDOW() override;

    QMdiArea *mdiArea() const { return m_mdi; }

    // Properties; none repaints, a change shows at the next paint.
    void setTITLE(const QString &title) { m_title = title; }
    void setCOPYRIGHT1(const QString &text) { m_line1 = text; }
    void setCOPYRIGHT2(const QString &text) { m_line2 = text; }
    void setCOLORINI(const QColor &c) { m_top = c; }
    void setCOLOREND(const QColor &c) { m_bottom = c; }
    void setTITLETEXTCOLOR(const QColor &c) { m_titleColour = c; }
    void setTITLESHADOWCOLOR(const QColor &c) { m_shadowColour = c; }
    void setCOPYTEXTCOLOR(const QColor &c) { m_copyColour = c; }
    void setTITLEOFFSET(const QPoint &offset) { m_titleOffset = offset; }
    void setBITMAPSTYLE(unsigned style) { m_style = style; }
    // A bitmap object (the owner's): the style 0 becomes 2. A null picture changes nothing.
    void setBITMAP(const QPixmap &bitmap);
    // A bitmap file: when it loads, the window keeps it and the style becomes 2; otherwise nothing changes.
    void setBITMAP(const QString &file);
    void setBITMAPPOSITION(const QPoint &position);
    void setBITMAPTOLOWERLEFT(bool on);
    QToolBar *ACF_TOOLBAR(QToolBar *toolBar);
    QToolBar *OLDTOOLBAR() const { return m_toolBar; }
    void setOLDTOOLBAR(QToolBar *toolBar) { m_toolBar = toolBar; }

    const QString &title() const { return m_title; }
    unsigned bitmapStyle() const { return m_style; }
    std::optional<QPoint> bitmapPosition() const { return m_position; }
    bool hasFileBitmap() const { return !m_fileBitmap.isNull(); }

    // Painting the client area, and its parts (each over the client rectangle).
    bool MDIEXPOSE(QPainter &painter, const QRect &client);
    void MDIDRAW_GRADIENT(QPainter &painter, const QRect &client);
    void MDIDRAW_SHELLBITMAP(QPainter &painter, const QRect &client);
    void MDIDRAW_CENTREBITMAP(QPainter &painter, const QRect &client);
    void MDIDRAW_TITLE(QPainter &painter, const QRect &client);
    void MDIDRAW_COPYTEXT(QPainter &painter, const QRect &client);
    // True when the class paints the client area (a bitmap style or the gradient).
    bool paintsClient() const { return m_style > 0 || m_gradient; }

    // The status bar with the four key indicators, off at first. Qt reports no lock keys portably,
    // so the states are given to the window.
    void EnableStatusBar(bool on);
    QList<KeyIndicatorPart *> statusParts() const { return m_parts; }
    void setKeyState(StatusBarArea area, bool on);
    bool keyState(StatusBarArea area) const;
    QColor KEYINDICATORCOLOR = QColor(0, 0, 0);
    QColor DISABLEDKEYINDICATORCOLOR = QColor(128, 128, 128);
    int ITEMBORDER = 2;

    // Tool bars: a child's own tool bar goes into the frame when the location setting is 1.
    int ChildToolBarLocation = 1;
    QToolBar *SETCHILDTOOLBAR__(QToolBar *toolBar);
    void TOOLBARHEIGHTCHANGED();
    // How often the window laid itself out for a tool bar's height (for tests).
    int toolBarLayouts() const { return m_toolBarLayouts; }

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPixmap currentBitmap() const;
    void takeToolBar(QToolBar *toolBar);

    AcfMdiArea *m_mdi;
    QPixmap m_fileBitmap;
    QPixmap m_bitmapObject;
    QString m_title;
    QString m_line1;
    QString m_line2;
    std::optional<QPoint> m_position;
    bool m_gradient = true;
    QColor m_top = QColor(0, 255, 255);
    QColor m_bottom = QColor(0, 0, 0);
    unsigned m_style = 0;
    QColor m_titleColour = QColor(255, 255, 255);
    QColor m_shadowColour = QColor(0, 0, 0);
    QColor m_copyColour = QColor(220, 220, 192);
    std::optional<QPoint> m_titleOffset;
    bool m_swapping = false;
    QPointer<QToolBar> m_toolBar;
    QList<KeyIndicatorPart *> m_parts;
    QList<QPair<StatusBarArea, bool>> m_keyStates;
    int m_toolBarLayouts = 0;
};

} // namespace vexo
