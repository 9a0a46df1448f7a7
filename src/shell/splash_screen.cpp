#include "shell/splash_screen.h"

#include "platform/dialog_units.h"

#include "platform/clock.h"

#include <QApplication>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QTimer>

#include <cmath>

namespace vexo {

namespace {

// A ring of grains: the ingredients that go into one mix.
void drawGrains(QPainter &p, const QPointF &centre, double radius)
{
    const QColor colours[] = {QColor(236, 196, 84), QColor(196, 140, 60), QColor(150, 190, 80),
                              QColor(230, 160, 90), QColor(210, 210, 120)};
    for (int i = 0; i < 15; ++i) {
        const double a = i * 2 * M_PI / 15;
        p.save();
        p.translate(centre.x() + radius * std::cos(a), centre.y() + radius * std::sin(a));
        p.rotate(a * 180 / M_PI + 90);
        p.setBrush(colours[i % 5]);
        p.drawEllipse(QRectF(-6, -11, 12, 22));
        p.restore();
    }
}

} // namespace

QString splashTitleText()
{
    return QStringLiteral("VEXO_Zud 2.6 - En Düşük Maliyetli Karma Yem     Formülü Hazırlama Programı");
}

QPixmap splashPicture(const QSize &size)
{
    QPixmap pm(size);
    const double w = size.width();
    const double h = size.height();
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QLinearGradient sky(0, 0, 0, h);
    sky.setColorAt(0, QColor(22, 74, 62));
    sky.setColorAt(1, QColor(60, 130, 90));
    p.fillRect(pm.rect(), sky);

    // A field across the lower part, the full width whatever the size.
    QPainterPath field;
    field.moveTo(0, h * 300 / 378);
    field.cubicTo(w * 160 / 504, h * 270 / 378, w * 340 / 504, h * 330 / 378, w, h * 290 / 378);
    field.lineTo(w, h);
    field.lineTo(0, h);
    field.closeSubpath();
    p.fillPath(field, QColor(196, 168, 80, 200));

    // The emblem and the texts keep their proportions, centred.
    const double k = std::min(w / 504, h / 378);
    p.translate((w - 504 * k) / 2, (h - 378 * k) / 2);
    p.scale(k, k);
    p.setPen(QPen(QColor(255, 255, 255, 70), 1.5));
    drawGrains(p, QPointF(252, 118), 62);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 40));
    p.drawEllipse(QPointF(252, 118), 40, 40);

    QFont name(QStringLiteral("Arial"), 10, QFont::Bold);
    name.setPixelSize(58);
    p.setFont(name);
    p.setPen(QColor(0, 0, 0, 90));
    p.drawText(QRect(3, 203, 504, 70), Qt::AlignCenter, QStringLiteral("VEXO_Zud"));
    p.setPen(Qt::white);
    p.drawText(QRect(0, 200, 504, 70), Qt::AlignCenter, QStringLiteral("VEXO_Zud"));

    QFont version(QStringLiteral("Arial"), 10);
    version.setPixelSize(24);
    p.setFont(version);
    p.setPen(QColor(255, 240, 200));
    p.drawText(QRect(0, 268, 504, 32), Qt::AlignCenter, QStringLiteral("Sürüm 2.6"));
    QFont line = version;
    line.setPixelSize(15);
    p.setFont(line);
    p.setPen(QColor(40, 40, 30));
    p.drawText(QRect(0, 330, 504, 30), Qt::AlignCenter, QStringLiteral("En Düşük Maliyetli Karma Yem Formülü"));
    return pm;
}

SPLASHSCREEN::SPLASHSCREEN(QWidget *owner)
    : QFrame(owner, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString());
    QFont dialogFont(QStringLiteral("MS Shell Dlg"), 8);
    dialogFont.setStyleHint(QFont::SansSerif);
    setFont(dialogFont);
    auto dlu = [&](int x, int y, int w, int h) { return dluRect(dialogFont, x, y, w, h); };
    setFixedSize(dlu(0, 0, 356, 292).size());
    // A thin border round the pop-up.
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);

    m_picture = new QLabel(this);
    m_picture->setObjectName(QStringLiteral("SPLASHBMP"));
    m_picture->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_picture->setAlignment(Qt::AlignCenter);
    m_picture->setGeometry(dlu(8, 7, 340, 233));
    const QSize inside = m_picture->contentsRect().size();
    m_picture->setPixmap(splashPicture(inside));

    m_title = new QLabel(splashTitleText(), this);
    m_title->setObjectName(QStringLiteral("SPLASHTEXT"));
    m_title->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_title->setAlignment(Qt::AlignCenter);
    m_title->setWordWrap(true);
    QFont titleFont(QStringLiteral("Comic Sans MS"), 14);
    titleFont.setStyleHint(QFont::SansSerif);
    titleFont.setItalic(true);
    m_title->setFont(titleFont);
    QPalette pal = m_title->palette();
    pal.setColor(QPalette::Window, QColor(128, 128, 192));
    pal.setColor(QPalette::WindowText, Qt::white);
    m_title->setPalette(pal);
    m_title->setAutoFillBackground(true);
    m_title->setGeometry(dlu(8, 247, 340, 37));
}

void SPLASHSCREEN::SHOW()
{
    if (const QScreen *s = screen() ? screen() : QGuiApplication::primaryScreen()) {
        QRect r(QPoint(), size());
        r.moveCenter(s->availableGeometry().center());
        move(r.topLeft());
    }
    show();
    raise();
    QTimer::singleShot(kLifeMs, Qt::PreciseTimer, this, &SPLASHSCREEN::TIMER);
    QCoreApplication::processEvents();
    // Start-up waits here; the splash keeps painting but takes no input meanwhile.
    Clock &c = clock();
    const qint64 until = c.monotonicMs() + kHoldMs;
    for (qint64 now = c.monotonicMs(); now < until; now = c.monotonicMs()) {
        c.sleepMs(int(std::min<qint64>(until - now, 20)));
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
}

void SPLASHSCREEN::TIMER()
{
    close();
}

} // namespace vexo
