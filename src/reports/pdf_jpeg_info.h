#pragma once

#include <QByteArray>
#include <QString>

namespace vexo {

// What the writer needs of a JPEG picture: its size in pixels and its number of colour channels.
struct JpegInfo
{
    int width = 0;
    int height = 0;
    int channels = 0;
};

// Reads the picture's frame header from its own markers (no decoding). False when the bytes are not a
// JPEG stream with a frame header before the image data.
bool readJpegInfo(const QByteArray &bytes, JpegInfo *info);

// The same for a file; false also when the file cannot be read.
bool MDGETJPEGINFO(const QString &fileName, JpegInfo *info);

} // namespace vexo
