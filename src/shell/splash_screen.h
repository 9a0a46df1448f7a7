#pragma once

#include <QPixmap>
#include <QFrame>

class QLabel;

namespace vexo {

// The picture and title shown at start-up while the program gets ready. It stays above every window
// and closes itself three seconds after it appeared.
class SPLASHSCREEN : public QFrame
{
    Q_OBJECT

public:
    // Made with new: the splash destroys itself when its time is up.
    explicit SPLASHSCREEN(QWidget *owner = nullptr);

    // Shows the splash centred on the screen, on top, and holds the caller for two seconds (painting
    // meanwhile, taking no input); the splash then stays about one second more.
    void SHOW();
    // The splash's end: the window is destroyed.
    void TIMER();

    QLabel *pictureLabel() const { return m_picture; }
    QLabel *titleLabel() const { return m_title; }

    static constexpr int kHoldMs = 2000;
    static constexpr int kLifeMs = 3000;

private:
    QLabel *m_picture = nullptr;
    QLabel *m_title = nullptr;
};

// The title under the picture.
QString splashTitleText();
// The splash picture ("SPLASH_BMP", 504 x 378 pixels) drawn to cover the given size in its own
// proportions.
QPixmap splashPicture(const QSize &size = QSize(504, 378));

} // namespace vexo
