#include "shell/splash_screen.h"

#include "platform/dialog_units.h"

#include "platform/clock.h"
#include "resources/resource_library.h"

#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>


namespace vexo {

QString splashTitleText()
{
    return QStringLiteral("VEXO_Zud 2.6 - En Düşük Maliyetli Karma Yem     Formülü Hazırlama Programı");
}

QPixmap splashPicture(const QSize &size)
{
    // The picture keeps its proportions and fills the place; the label shows its middle.
    const QSize drawn = ResourceLibrary::nativeSize(QStringLiteral("SPLASH_BMP")).scaled(size, Qt::KeepAspectRatioByExpanding);
    return ResourceLibrary::icon(QStringLiteral("SPLASH_BMP")).pixmap(drawn);
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
