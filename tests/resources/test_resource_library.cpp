#include "resources/resource_library.h"

#include <QImage>
#include <QSet>

#include <gtest/gtest.h>

using vexo::ResourceLibrary;

namespace {

struct Picture
{
    const char *name; // as the program spells it when it asks
    int size;         // width in pixels
    int height = 0;   // 0 for a square picture

    QSize nativeSize() const { return QSize(size, height ? height : size); }
};

// Every picture the program asks for, spelled as the asking code spells it.
const Picture kPictures[] = {
    // first set: window icons, button images, status and navigation pictures
    {"ICON_AA", 32}, {"ICON_COMPTES", 32}, {"ICON_DEPENSE", 32}, {"ICON_NEW", 16}, {"ICON_RECETTE", 32},
    {"HAVUCH", 32}, {"MAYMUNCUK", 32}, {"SPREDIT", 32}, {"HALICO", 32}, {"RUNMODE", 32},
    {"SPOROLOG", 32}, {"HepSec", 32}, {"HepKal", 32}, {"OKCVar", 32}, {"EXIS", 32}, {"SPREDITD", 32},
    {"VXONEW", 32}, {"RUNMODE2", 32}, {"RUNMODE3", 32}, {"RUNMODE4", 32}, {"PSWICO", 32},
    {"VxoIptal", 32}, {"VxoYildirim2", 32}, {"AsOk", 32}, {"YukOk", 32}, {"SolaOk", 32}, {"VXOOK", 32},
    {"SagaOk", 32}, {"VxoIptal2", 32}, {"VXOOK2", 32}, {"VxoAtla", 32}, {"VXOMAIN", 32}, {"COPKUTU", 32},
    {"KAYEKLE", 32}, {"ARAYAGIR", 32}, {"VXOICON", 48}, {"VXOOK2D", 32}, {"RSearch", 32},
    {"bmpBack", 74}, {"VxoYildirim3", 32}, {"VxoYildirim", 32}, {"VxoYildirim4", 32},
    {"ICOCANCELDISABLED", 32}, {"ICOCANCELDOWN", 32}, {"ICOCANCELUP", 32}, {"ICOHELPDISABLED", 32},
    {"ICOHELPDOWN", 32}, {"ICOHELPUP", 32},
    // second set: button faces
    {"ICOOKUP", 32}, {"ICOOKDOWN", 32}, {"ICOOKDISABLED", 32}, {"ICONOUP", 32}, {"ICONODOWN", 32},
    {"ICONODISABLED", 32}, {"VXOTOD", 32}, {"HepSecUp", 32}, {"HepSecDown", 32}, {"HepSecDisable", 32},
    {"HepKalUp", 32}, {"HepKalDown", 32}, {"HepKalDisable", 32}, {"INTERPOLUP", 16}, {"INTERPOLDOWN", 16},
    {"BmMuht", 16}, {"BmMuhtDown", 16}, {"Search", 16}, {"COPKUTUX", 32}, {"COPKUTUUP", 16},
    {"COPKUTUDOWN", 16}, {"COPKUTUDISABLE", 16}, {"COPKUTUBMP", 16}, {"COWCOW", 16}, {"COWCOWDOWN", 16},
    {"COWCOWDISABLE", 16}, {"HTANIUP", 16}, {"HTANIDOWN", 16}, {"HTANIDISABLE", 16}, {"CKATILIM", 16},
    {"CKATILIMDOWN", 16}, {"CKATILIMDISABLE", 16}, {"FORMUP", 16}, {"FORMDOWN", 16}, {"COARITMEUP", 16},
    {"COARITMEDOWN", 16}, {"ARGIRUP", 16}, {"ARGIRDOWN", 16}, {"ARGIRDISABLED", 16}, {"KAPIUP", 16},
    {"KAPIDOWN", 16}, {"greenNotepad", 32}, {"greenNotepadDown", 32}, {"greenNotepadDisable", 32},
    {"PRINTERUP", 16}, {"PRINTERDOWN", 16}, {"PRINTERDISABLE", 16}, {"HESMAK", 16}, {"HESMAKDOWN", 16},
    {"STKUP", 16}, {"STKDOWN", 16}, {"RunRun", 32}, {"RunRunDown", 32}, {"RunRunDisable", 32},
    {"RAPORALUP", 32}, {"RAPORALDOWN", 32}, {"AMDonUp", 32}, {"AMDonDown", 32}, {"NOUP", 32},
    {"NODOWN", 32}, {"NODISABLED", 32}, {"DiskUp", 32}, {"DiskDown", 32}, {"DiskDisabled", 32},
    {"PYPYDUP", 16}, {"PYPYDDOWN", 16}, {"GRPUP", 16}, {"GRPDOWN", 16}, {"GrupBelirUp", 32},
    {"GrupBelirDown", 32}, {"MEkoAnal", 32}, {"MEkoAnalDown", 32}, {"BENZHMOUP", 32}, {"BENZHMODOWN", 32},
    // the split bars' pointers
    {"JOVVSPLITBARCURSOR", 32}, {"JOVHSPLITBARCURSOR", 32},
    // the hyperlink's pointer
    {"CURSOR_HAND", 32},
    // the stock tool-bar strip of the menus, by picture number
    {"TB1", 16}, {"TB2", 16}, {"TB3", 16}, {"TB4", 16}, {"TB5", 16}, {"TB6", 16}, {"TB12", 16}, {"TB21", 16},
    {"TB22", 16}, {"TB23", 16}, {"TB31", 16}, {"TB42", 16}, {"TB48", 16}, {"TB69", 16}, {"TB89", 16},
    {"TB90", 16}, {"TB100", 16}, {"TB101", 16}, {"TB102", 16}, {"TB120", 16}, {"TB121", 16}, {"TB127", 16},
    {"TB128", 16}, {"TB129", 16}, {"TB130", 16}, {"TB81", 16},
    // a command's own drawing where one number serves commands that do different things
    {"TB3_CLOSE", 16}, {"TB90_BMBAGLA", 16},
    // the report pad's icon
    {"IDI_COCPADICON", 46, 48},
    // bitmaps of the start-up windows
    {"lightbulb", 32}, {"LOCKEDBITMAP", 32}, {"UNLOCKEDBITMAP", 32}, {"SPLASH_BMP", 504, 378},
};

// The partner buttons of the date and search fields: small bitmaps that are not square.
struct SizedPicture
{
    const char *name;
    QSize size;
};
const SizedPicture kPartnerButtonPictures[] = {
    {"IBM_CALUP", QSize(26, 21)},
    {"IBM_CALDN", QSize(26, 21)},
    {"IBM_MAGNIFUP", QSize(22, 21)},
    {"IBM_MAGNIFDN", QSize(22, 21)},
};

// Named by preset buttons but never part of the program's pictures.
const char *const kMissing[] = {"YMEkle", "YMEkleDown", "UrtDetay", "UrtDetayDown"};

bool hasVisiblePixels(const QImage &image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) > 0)
                return true;
    return false;
}

TEST(ResourceLibrary, EveryPictureResolvesInAnyCaseAtItsSize)
{
    for (const Picture &p : kPictures) {
        const QString name = QString::fromLatin1(p.name);
        SCOPED_TRACE(p.name);
        for (const QString &asked : {name, name.toUpper(), name.toLower()}) {
            EXPECT_TRUE(ResourceLibrary::contains(asked)) << qPrintable(asked);
            EXPECT_FALSE(ResourceLibrary::icon(asked).isNull()) << qPrintable(asked);
        }
        EXPECT_EQ(ResourceLibrary::nativeSize(name), p.nativeSize());
        const QPixmap pixmap = ResourceLibrary::pixmap(name.toLower());
        EXPECT_EQ(pixmap.size(), p.nativeSize());
        EXPECT_TRUE(hasVisiblePixels(pixmap.toImage()));
    }
}

TEST(ResourceLibrary, HoldsExactlyTheListedPictures)
{
    QSet<QString> expected;
    for (const Picture &p : kPictures)
        expected.insert(QString::fromLatin1(p.name).toUpper());
    for (const SizedPicture &p : kPartnerButtonPictures)
        expected.insert(QString::fromLatin1(p.name));
    const QStringList stored = ResourceLibrary::names();
    EXPECT_EQ(QSet<QString>(stored.begin(), stored.end()), expected);
    EXPECT_EQ(stored.size(), expected.size()); // no name twice
}

TEST(ResourceLibrary, PartnerButtonPicturesAtTheirSizes)
{
    for (const SizedPicture &p : kPartnerButtonPictures) {
        SCOPED_TRACE(p.name);
        const QString name = QString::fromLatin1(p.name);
        EXPECT_EQ(ResourceLibrary::nativeSize(name.toLower()), p.size);
        const QImage image = ResourceLibrary::pixmap(name).toImage();
        EXPECT_EQ(image.size(), p.size);
        EXPECT_EQ(qAlpha(image.pixel(p.size.width() - 1, p.size.height() - 1)), 255); // a whole button face
    }
    // The pressed face differs from the released one.
    EXPECT_NE(ResourceLibrary::pixmap(QStringLiteral("IBM_CALUP")).toImage(),
              ResourceLibrary::pixmap(QStringLiteral("IBM_CALDN")).toImage());
}

TEST(ResourceLibrary, MissingNamesGiveNoImage)
{
    for (const char *name : kMissing) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(ResourceLibrary::contains(QString::fromLatin1(name)));
        EXPECT_TRUE(ResourceLibrary::icon(QString::fromLatin1(name)).isNull());
        EXPECT_TRUE(ResourceLibrary::pixmap(QString::fromLatin1(name)).isNull());
        EXPECT_FALSE(ResourceLibrary::nativeSize(QString::fromLatin1(name)).isValid());
    }
    EXPECT_TRUE(ResourceLibrary::icon(QString()).isNull());
    EXPECT_TRUE(ResourceLibrary::icon(QStringLiteral("pictures/VXOMAIN")).isNull());
}

TEST(ResourceLibrary, BackgroundTileIsAPaleOpaqueBitmap)
{
    const QImage tile = ResourceLibrary::pixmap(QStringLiteral("bmpBack")).toImage();
    ASSERT_EQ(tile.size(), QSize(74, 74));
    for (const QPoint at : {QPoint(0, 0), QPoint(37, 37), QPoint(73, 73)}) {
        const QColor c = tile.pixelColor(at);
        EXPECT_EQ(c.alpha(), 255);
        EXPECT_GT(c.lightness(), 200);
        EXPECT_GE(c.blue(), c.red()); // blue-white
    }
}

TEST(ResourceLibrary, IconsRenderAtTheAskedSize)
{
    const QIcon icon = ResourceLibrary::icon(QStringLiteral("OKCVar"));
    for (const int edge : {16, 21, 32, 48}) {
        const QPixmap p = icon.pixmap(QSize(edge, edge));
        EXPECT_EQ(p.size(), QSize(edge, edge));
        EXPECT_TRUE(hasVisiblePixels(p.toImage()));
    }
    // A disabled rendering is grey.
    const QImage grey = icon.pixmap(QSize(32, 32), QIcon::Disabled).toImage();
    const QColor centre = grey.pixelColor(8, 16);
    EXPECT_EQ(centre.red(), centre.green());
    EXPECT_EQ(centre.green(), centre.blue());
}

TEST(ResourceLibrary, EachCallBuildsItsOwnIcon)
{
    // A window's large and small icon are two objects on the same picture.
    const QIcon large = ResourceLibrary::icon(QStringLiteral("VXOTOD"));
    const QIcon small = ResourceLibrary::icon(QStringLiteral("vxotod"));
    EXPECT_NE(large.cacheKey(), small.cacheKey());
    EXPECT_EQ(large.pixmap(32).toImage(), small.pixmap(32).toImage());
}

TEST(ResourceLibrary, CursorsCarryTheirHotSpots)
{
    const QCursor vertical = ResourceLibrary::cursor(QStringLiteral("JovVSplitBarCursor"));
    EXPECT_EQ(vertical.hotSpot(), QPoint(12, 10));
    EXPECT_EQ(vertical.pixmap().size(), QSize(32, 32));
    const QCursor horizontal = ResourceLibrary::cursor(QStringLiteral("JOVHSPLITBARCURSOR"));
    EXPECT_EQ(horizontal.hotSpot(), QPoint(10, 12));
    // The figure sits on its hot spot: the pixel there is drawn, a far corner is clear.
    const QImage v = vertical.pixmap().toImage();
    EXPECT_GT(qAlpha(v.pixel(12, 10)), 0);
    EXPECT_EQ(qAlpha(v.pixel(31, 31)), 0);
    // The hand points with its fingertip.
    const QCursor hand = ResourceLibrary::cursor(QStringLiteral("Cursor_Hand"));
    EXPECT_EQ(hand.hotSpot(), QPoint(12, 1));
    EXPECT_GT(qAlpha(hand.pixmap().toImage().pixel(12, 1)), 0);
    // Not a cursor picture: the standard arrow.
    EXPECT_EQ(ResourceLibrary::cursor(QStringLiteral("VXOMAIN")).shape(), Qt::ArrowCursor);
}

} // namespace
