// Bitmaps read from files: natural size, and the first pixel's colour-table entry drawn in the
// window colour when asked.
#include "classes/bitmap_file.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vexo;

namespace {

// A paletted bitmap: red at the top-left corner and along the top row, blue below it.
QString palettedFile(const QTemporaryDir &dir)
{
    QImage img(8, 4, QImage::Format_Indexed8);
    img.setColorTable({qRgb(255, 0, 0), qRgb(0, 0, 255)});
    img.fill(1);
    for (int x = 0; x < 8; ++x)
        img.setPixel(x, 0, 0);
    const QString file = dir.filePath(QStringLiteral("paletted.bmp"));
    EXPECT_TRUE(img.save(file, "BMP"));
    return file;
}

TEST(BitmapFile, FirstPixelsEntryTakesTheWindowColour)
{
    QTemporaryDir dir;
    const QString file = palettedFile(dir);
    const QImage plain = loadBitmapFile(file);
    ASSERT_FALSE(plain.isNull());
    ASSERT_GT(plain.colorCount(), 0); // read back with its colour table
    EXPECT_EQ(plain.size(), QSize(8, 4));
    EXPECT_EQ(plain.pixelColor(5, 0), QColor(Qt::red));

    const QImage shown = loadBitmapFile(file, QColor(Qt::white));
    EXPECT_EQ(shown.pixelColor(0, 0), QColor(Qt::white));
    EXPECT_EQ(shown.pixelColor(7, 0), QColor(Qt::white)); // every pixel of that entry
    EXPECT_EQ(shown.pixelColor(3, 2), QColor(Qt::blue));  // the other entries stay
}

TEST(BitmapFile, TrueColourAndMissingFiles)
{
    QTemporaryDir dir;
    QImage img(4, 4, QImage::Format_RGB32);
    img.fill(Qt::red);
    const QString file = dir.filePath(QStringLiteral("true.bmp"));
    ASSERT_TRUE(img.save(file, "BMP"));
    EXPECT_EQ(loadBitmapFile(file, QColor(Qt::white)).pixelColor(0, 0), QColor(Qt::red));
    EXPECT_TRUE(loadBitmapFile(dir.filePath(QStringLiteral("none.bmp")), QColor(Qt::white)).isNull());
}

} // namespace
