#include "problem/app_globals.h"
#include "resources/resource_library.h"
#include "shell/about_box.h"
#include "shell/logon_dialog.h"
#include "shell/password_dialog.h"
#include "shell/splash_screen.h"
#include "shell/tip_of_the_day_dialog.h"

#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include <functional>
#include <memory>

using namespace vexo;

namespace {

QImage rendered(const QIcon &icon, const QSize &size)
{
    return icon.pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// The library's picture of that name, drawn at the size it is shown.
QImage library(const QString &name, const QSize &size)
{
    return rendered(ResourceLibrary::icon(name), size);
}

// True when one of the window's labels shows exactly the library's picture of that name.
bool showsPicture(const QWidget &window, const QString &name)
{
    for (const QLabel *label : window.findChildren<QLabel *>()) {
        const QPixmap shown = label->pixmap();
        if (!shown.isNull()
            && shown.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied) == library(name, shown.size()))
            return true;
    }
    return false;
}

using Make = std::function<std::unique_ptr<QWidget>()>;
template <class W, class... A>
Make make(A... args)
{
    return [=] { return std::unique_ptr<QWidget>(new W(nullptr, args...)); };
}

} // namespace

// The dialogs show the program's own pictures, the one picture of each name, not a drawing of
// their own.
class TestDialogPictures : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(m_program.isValid());
        appGlobals().CPROGDIZIN = m_program.path(); // the password dialog opens the user table there
    }

    void windowIcons_data()
    {
        QTest::addColumn<Make>("window");
        QTest::addColumn<QString>("picture");
        QTest::newRow("about box") << make<VXOHAKKINDA>() << "VXOMAIN";
        QTest::newRow("tip of the day") << make<WINTIPOFDAY>() << "VXOTOD";
        QTest::newRow("password dialog") << make<NEWPASSWORDDIALOG>(QStringLiteral("Yeni Kullanıcı Ekle"), true) << "VXOTOD";
        QTest::newRow("logon") << make<LOGONDIALOG>() << "PSWICO";
    }
    void windowIcons()
    {
        QFETCH(Make, window);
        QFETCH(QString, picture);
        const std::unique_ptr<QWidget> w = window();
        for (int side : {16, 32})
            QCOMPARE(rendered(w->windowIcon(), QSize(side, side)), library(picture, QSize(side, side)));
        QCOMPARE(rendered(vxoMainIcon(), QSize(32, 32)), library("VXOMAIN", QSize(32, 32)));
    }

    void okButtonsShowTheOkPicture_data()
    {
        QTest::addColumn<Make>("window");
        QTest::newRow("about box") << make<VXOHAKKINDA>();
        QTest::newRow("logon") << make<LOGONDIALOG>();
        QTest::newRow("password dialog") << make<NEWPASSWORDDIALOG>(QStringLiteral("Ad ve Parola Değiştir"), false);
    }
    void okButtonsShowTheOkPicture()
    {
        QFETCH(Make, window);
        const std::unique_ptr<QWidget> w = window();
        const QPushButton *ok = nullptr;
        for (const QPushButton *b : w->findChildren<QPushButton *>()) {
            if (b->toolTip() == QStringLiteral("Tamam"))
                ok = b;
        }
        QVERIFY(ok);
        QCOMPARE(rendered(ok->icon(), ok->iconSize()), library("VXOOK2", ok->iconSize()));
    }

    void bitmapsComeFromTheLibrary()
    {
        WINTIPOFDAY tip(nullptr);
        QVERIFY(showsPicture(tip, "LIGHTBULB"));
        NEWPASSWORDDIALOG password(nullptr, QStringLiteral("Ad ve Parola Değiştir"), false);
        QVERIFY(showsPicture(password, "LOCKEDBITMAP"));
        QVERIFY(showsPicture(password, "UNLOCKEDBITMAP"));

        QCOMPARE(ResourceLibrary::nativeSize("SPLASH_BMP"), QSize(504, 378));
        QCOMPARE(splashPicture().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied),
                 library("SPLASH_BMP", QSize(504, 378)));
        // A place of other proportions is covered without stretching the picture.
        const QPixmap wide = splashPicture(QSize(600, 300));
        QCOMPARE(wide.size(), QSize(600, 450));
    }

private:
    QTemporaryDir m_program;
};

QTEST_MAIN(TestDialogPictures)
#include "tst_dialog_pictures.moc"
