#include "classes/painted_shell_window.h"

#include "classes/bitmap_file.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QImage>
#include <QLayout>
#include <QPaintEvent>
#include <QPainter>
#include <QStatusBar>
#include <QToolBar>

#include <cmath>

namespace vexo {

QList<QColor> gradientRowColours(const QColor &top, const QColor &bottom, int height)
{
    QList<QColor> rows;
    if (height <= 0)
        return rows;
    const int t[3] = {top.red(), top.green(), top.blue()};
    const int b[3] = {bottom.red(), bottom.green(), bottom.blue()};
    // Row i lies i steps of (top - bottom) / height below the top, the fraction dropped toward zero;
    // whole numbers keep the last row exactly the bottom colour.
    rows.reserve(height);
    for (int i = 1; i <= height; ++i) {
        int v[3];
        for (int c = 0; c < 3; ++c)
            v[c] = t[c] - static_cast<int>((static_cast<long long>(i) * (t[c] - b[c])) / height);
        rows.append(QColor(v[0], v[1], v[2]));
    }
    return rows;
}

BitmapPlacement centreBitmapPlacement(unsigned style, QSize client, QSize bitmap, std::optional<QPoint> position)
{
    if (style == 3)
        return {true, {}};
    BitmapPlacement p;
    if (client.width() > bitmap.width())
        p.at.setX(style == 2 ? (client.width() - bitmap.width()) >> 1 : (position ? position->x() : 0));
    else if (style == 2 && client.width() < bitmap.width())
        p.stretch = true;
    if (client.height() > bitmap.height())
        p.at.setY(style == 2 ? (client.height() - bitmap.height()) >> 1
                             : client.height() - bitmap.height() - (position ? position->y() : 0));
    else if (style == 2 && client.height() < bitmap.height())
        p.stretch = true;
    if (p.stretch)
        p.at = QPoint();
    return p;
}

QList<QPoint> tileOrigins(QSize client, QSize bitmap)
{
    QList<QPoint> origins;
    if (bitmap.width() <= 0 || bitmap.height() <= 0)
        return origins;
    const int columns = client.width() / bitmap.width();
    const int rows = client.height() / bitmap.height();
    for (int i = 0; i <= columns; ++i)
        for (int j = 0; j <= rows; ++j)
            origins.append(QPoint(bitmap.width() * i, bitmap.height() * j));
    return origins;
}

ShellPaintPlan shellPaintPlan(bool gradientOn, unsigned style, bool hasBitmap, const QString &title,
                              const QString &line1, const QString &line2)
{
    ShellPaintPlan plan;
    plan.gradient = gradientOn && style != 1 && style != 3;
    plan.tiledBitmap = style == 1 && hasBitmap;
    plan.centredBitmap = style > 1 && hasBitmap;
    plan.title = !title.isEmpty();
    plan.copyText = !line1.isEmpty() || !line2.isEmpty();
    return plan;
}

int titleFontHeight(int areaHeight, double divisor, int logPixelsY)
{
    // The factor in hundredths, rounded half away from zero, keeps the whole sum exact.
    const long long hundredths = std::llround(areaHeight * 100.0 / divisor);
    return -static_cast<int>((static_cast<long long>(logPixelsY) * 24 * hundredths) / (72 * 100));
}

TitleFit autoFitTitle(const QString &title, int areaWidth, int areaHeight, int logPixelsY, const TitleMeasure &measure)
{
    const int maxWidth = (areaWidth * 3) / 4;
    const bool multiLine = title.contains(QLatin1Char('\r'));
    TitleFit fit;
    for (;;) {
        ++fit.tries;
        fit.fontHeight = titleFontHeight(areaHeight, fit.divisor, logPixelsY);
        fit.measured = measure(-fit.fontHeight, title, multiLine, maxWidth);
        if (multiLine)
            fit.measured.rwidth() += 1;
        if (fit.measured.width() <= maxWidth)
            return fit;
        const double next = fit.divisor * 1.25;
        if (next > 1000)
            return fit;
        fit.divisor = next;
    }
}

int copyTextFontHeight(int logPixelsY)
{
    return -((logPixelsY * 8) / 72);
}

QRect copyTextRect(const QRect &client, int measuredHeight)
{
    // Win32 edges: right and bottom exclusive.
    const int left = client.left() + 5;
    const int right = client.left() + client.width() - 5;
    const int bottom = client.top() + client.height() - 2;
    return QRect(QPoint(left, bottom - measuredHeight), QPoint(right - 1, bottom - 1));
}

QString keyIndicatorText(StatusBarArea area)
{
    switch (area) {
    case StatusBarArea::Ins: return QStringLiteral("INS");
    case StatusBarArea::CapsLock: return QStringLiteral("CAPS");
    case StatusBarArea::NumLock: return QStringLiteral("NUM");
    case StatusBarArea::ScrollLock: return QStringLiteral("SCROLL");
    default: return QString();
    }
}

// ---- The MDI client ----

AcfMdiArea::AcfMdiArea(ACF_SHELLWINDOW *frame) : QMdiArea(frame), m_frame(frame) {}

void AcfMdiArea::paintEvent(QPaintEvent *event)
{
    if (!m_frame->paintsClient()) {
        QMdiArea::paintEvent(event);
        return;
    }
    // The class paints the whole client itself, so nothing is erased first.
    QPainter painter(viewport());
    m_frame->MDIEXPOSE(painter, viewport()->rect());
}

void AcfMdiArea::resizeEvent(QResizeEvent *event)
{
    QMdiArea::resizeEvent(event);
    viewport()->update();
}

// ---- Key indicators ----

KeyIndicatorPart::KeyIndicatorPart(ACF_SHELLWINDOW *frame, StatusBarArea area, QWidget *parent)
    : QWidget(parent), m_frame(frame), m_area(area)
{
}

QSize KeyIndicatorPart::sizeHint() const
{
    const QFontMetrics fm(font());
    return QSize(fm.horizontalAdvance(QStringLiteral("SCROLL")) + 8, fm.height() + m_frame->ITEMBORDER + 2);
}

void KeyIndicatorPart::paintEvent(QPaintEvent *)
{
    const QString text = keyIndicatorText(m_area);
    if (text.isEmpty())
        return;
    QPainter painter(this);
    painter.setPen(m_frame->keyState(m_area) ? m_frame->KEYINDICATORCOLOR : m_frame->DISABLEDKEYINDICATORCOLOR);
    QRect r = rect();
    r.setBottom(r.bottom() - m_frame->ITEMBORDER);
    painter.drawText(r, Qt::AlignLeft | Qt::AlignBottom | Qt::TextSingleLine, text);
}

// ---- The frame ----

ACF_SHELLWINDOW::ACF_SHELLWINDOW(QWidget *owner) : QMainWindow(owner), m_mdi(new AcfMdiArea(this))
{
    setCentralWidget(m_mdi);
    EnableStatusBar(false);
}

ACF_SHELLWINDOW::~ACF_SHELLWINDOW() = default;

void ACF_SHELLWINDOW::setBITMAP(const QPixmap &bitmap)
{
    if (bitmap.isNull())
        return;
    m_bitmapObject = bitmap;
    if (m_style == 0)
        m_style = 2;
}

void ACF_SHELLWINDOW::setBITMAP(const QString &file)
{
    const QImage loaded = loadBitmapFile(file, palette().color(QPalette::Base));
    if (loaded.isNull())
        return;
    m_fileBitmap = QPixmap::fromImage(loaded);
    m_style = 2;
}

void ACF_SHELLWINDOW::setBITMAPPOSITION(const QPoint &position)
{
    m_position = position;
    m_style = 4;
}

void ACF_SHELLWINDOW::setBITMAPTOLOWERLEFT(bool on)
{
    if (!on)
        return;
    m_position = QPoint(0, 0);
    m_style = 4;
}

QPixmap ACF_SHELLWINDOW::currentBitmap() const
{
    return m_bitmapObject.isNull() ? m_fileBitmap : m_bitmapObject;
}

bool ACF_SHELLWINDOW::MDIEXPOSE(QPainter &painter, const QRect &client)
{
    const ShellPaintPlan plan =
        shellPaintPlan(m_gradient, m_style, !currentBitmap().isNull(), m_title, m_line1, m_line2);
    if (plan.gradient)
        MDIDRAW_GRADIENT(painter, client);
    if (plan.tiledBitmap)
        MDIDRAW_SHELLBITMAP(painter, client);
    if (plan.centredBitmap)
        MDIDRAW_CENTREBITMAP(painter, client);
    if (plan.title)
        MDIDRAW_TITLE(painter, client);
    if (plan.copyText)
        MDIDRAW_COPYTEXT(painter, client);
    return true;
}

void ACF_SHELLWINDOW::MDIDRAW_GRADIENT(QPainter &painter, const QRect &client)
{
    const QList<QColor> rows = gradientRowColours(m_top, m_bottom, client.height());
    for (int i = 0; i < rows.size(); ++i)
        painter.fillRect(QRect(0, i, client.width(), 1), rows.at(i));
}

void ACF_SHELLWINDOW::MDIDRAW_SHELLBITMAP(QPainter &painter, const QRect &client)
{
    const QPixmap bitmap = currentBitmap();
    if (bitmap.isNull())
        return;
    for (const QPoint &at : tileOrigins(client.size(), bitmap.size()))
        painter.drawPixmap(at, bitmap);
}

void ACF_SHELLWINDOW::MDIDRAW_CENTREBITMAP(QPainter &painter, const QRect &client)
{
    const QPixmap bitmap = currentBitmap();
    if (bitmap.isNull())
        return;
    const BitmapPlacement p = centreBitmapPlacement(m_style, client.size(), bitmap.size(), m_position);
    if (p.stretch)
        painter.drawPixmap(client, bitmap);
    else
        painter.drawPixmap(client.topLeft() + p.at, bitmap);
}

void ACF_SHELLWINDOW::MDIDRAW_TITLE(QPainter &painter, const QRect &client)
{
    // Win32 edges: R.right and R.bottom exclusive, so H counts one row more than the height.
    int left = client.left(), top = client.top();
    const int right = client.left() + client.width(), bottom = client.top() + client.height();
    if (m_titleOffset) {
        left += m_titleOffset->x();
        top += m_titleOffset->y();
    }
    const int areaWidth = right - left + 1;
    const int areaHeight = bottom - top + 1;
    const int dpi = painter.device()->logicalDpiY();
    QString text = m_title;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));

    QFont font(QStringLiteral("Times New Roman"));
    font.setBold(true);
    font.setItalic(true);
    QRect r(QPoint(left, top), QPoint(right - 1, bottom - 1));
    int flags = 0;
    if (m_titleOffset) {
        font.setPixelSize(qMax(1, -titleFontHeight(areaHeight, 250, dpi)));
        flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
    } else {
        const TitleMeasure measure = [&font, &text](int pixelHeight, const QString &, bool multiLine, int maxWidth) {
            QFont f = font;
            f.setPixelSize(qMax(1, pixelHeight));
            const QFontMetrics fm(f);
            if (!multiLine)
                return QSize(fm.horizontalAdvance(text), fm.height());
            const QRect measured = fm.boundingRect(QRect(0, 0, maxWidth, fm.height()), Qt::AlignHCenter, text);
            return QSize(measured.width(), measured.height());
        };
        const TitleFit fit = autoFitTitle(m_title, areaWidth, areaHeight, dpi, measure);
        font.setPixelSize(qMax(1, -fit.fontHeight));
        if (m_title.contains(QLatin1Char('\r'))) {
            const int blockTop = r.top() + ((bottom - top - fit.measured.height()) >> 1);
            r = QRect(r.left(), blockTop, r.width(), fit.measured.height());
            flags = Qt::AlignHCenter | Qt::AlignTop;
        } else {
            flags = Qt::AlignCenter | Qt::TextSingleLine;
        }
    }
    painter.save();
    painter.setFont(font);
    painter.setPen(m_shadowColour);
    painter.drawText(r.translated(3, 3), flags, text);
    painter.setPen(m_titleColour);
    painter.drawText(r, flags, text);
    painter.restore();
}

void ACF_SHELLWINDOW::MDIDRAW_COPYTEXT(QPainter &painter, const QRect &client)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(qMax(1, -copyTextFontHeight(painter.device()->logicalDpiY())));
    painter.save();
    painter.setFont(font);
    painter.setPen(m_copyColour);
    const QFontMetrics fm(font);
    const struct { const QString &text; Qt::Alignment align; } lines[] = {
        {m_line1, Qt::AlignLeft}, {m_line2, Qt::AlignRight}};
    for (const auto &line : lines) {
        if (line.text.isEmpty())
            continue;
        const int h = fm.boundingRect(QRect(5, 0, 395, 0), Qt::TextWordWrap | line.align, line.text).height();
        painter.drawText(copyTextRect(client, h), Qt::TextWordWrap | Qt::AlignTop | line.align, line.text);
    }
    painter.restore();
}

void ACF_SHELLWINDOW::EnableStatusBar(bool on)
{
    if (!on) {
        m_parts.clear();
        setStatusBar(nullptr); // deletes the bar there was
        return;
    }
    if (!m_parts.isEmpty())
        return;
    auto *bar = new QStatusBar(this);
    for (StatusBarArea area : {StatusBarArea::Ins, StatusBarArea::CapsLock, StatusBarArea::NumLock,
                               StatusBarArea::ScrollLock}) {
        auto *part = new KeyIndicatorPart(this, area, bar);
        m_parts.append(part);
        bar->addPermanentWidget(part);
    }
    setStatusBar(bar);
}

void ACF_SHELLWINDOW::setKeyState(StatusBarArea area, bool on)
{
    for (auto &state : m_keyStates) {
        if (state.first == area) {
            state.second = on;
            for (KeyIndicatorPart *part : m_parts)
                part->update();
            return;
        }
    }
    m_keyStates.append({area, on});
    for (KeyIndicatorPart *part : m_parts)
        part->update();
}

bool ACF_SHELLWINDOW::keyState(StatusBarArea area) const
{
    for (const auto &state : m_keyStates)
        if (state.first == area)
            return state.second;
    return false;
}

void ACF_SHELLWINDOW::takeToolBar(QToolBar *toolBar)
{
    m_toolBar = toolBar;
    if (!toolBar)
        return;
    addToolBar(Qt::TopToolBarArea, toolBar);
    toolBar->removeEventFilter(this);
    toolBar->installEventFilter(this);
}

QToolBar *ACF_SHELLWINDOW::ACF_TOOLBAR(QToolBar *toolBar)
{
    if (m_toolBar && m_toolBar != toolBar) {
        // The old bar leaves the slot (and the filter) before it is destroyed.
        QToolBar *old = m_toolBar.data();
        m_toolBar.clear();
        old->removeEventFilter(this);
        removeToolBar(old);
        delete old;
    }
    takeToolBar(toolBar);
    return toolBar;
}

QToolBar *ACF_SHELLWINDOW::SETCHILDTOOLBAR__(QToolBar *toolBar)
{
    if (ChildToolBarLocation != 1 || m_toolBar == toolBar)
        return m_toolBar;
    QToolBar *old = m_toolBar;
    takeToolBar(toolBar);
    m_swapping = true;
    if (toolBar)
        toolBar->show();
    if (old)
        old->hide();
    m_swapping = false;
    // One height notification lays the window out once for the swap.
    TOOLBARHEIGHTCHANGED();
    return m_toolBar;
}

void ACF_SHELLWINDOW::TOOLBARHEIGHTCHANGED()
{
    if (m_swapping)
        return;
    ++m_toolBarLayouts;
    if (layout())
        layout()->invalidate();
}

bool ACF_SHELLWINDOW::eventFilter(QObject *watched, QEvent *event)
{
    // The event's kind first: a bar that is being destroyed still sends events (its removal from the
    // window), and the slot's pointer to it may not be read as a tool bar then.
    if ((event->type() == QEvent::Show || event->type() == QEvent::Hide) && watched == m_toolBar)
        TOOLBARHEIGHTCHANGED();
    return QMainWindow::eventFilter(watched, event);
}

void ACF_SHELLWINDOW::closeEvent(QCloseEvent *event)
{
    m_fileBitmap = QPixmap();
    QMainWindow::closeEvent(event);
}

} // namespace vexo
