#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include "platform/colour.h"

namespace crinova::test {

// Empty when both pictures have the same size and the same red, green and blue in every pixel;
// otherwise says where the first difference is, for a readable failure.
QString firstDifference(const QImage& actual, const QImage& expected);

// A picture of one colour (0x00BBGGRR), in the buffers' format.
QImage solidPicture(int width, int height, Colour colour);

// A picture whose every pixel tells where it came from: 0x00YYXX40 (x and y below 256).
QImage numberedPicture(int width, int height);

// The colour of a pixel as 0x00BBGGRR.
Colour colourAt(const QImage& picture, int x, int y);

// A small JPEG file whose header claims `size`: too big a picture, without the cost of one.
QByteArray jpegClaimingSize(QSize size);
// The same for a 24-bit Windows bitmap: its headers alone.
QByteArray bitmapClaimingSize(QSize size);

// A Windows bitmap of one colour, 8 bits a pixel and run-length encoded (BI_RLE8): a large picture
// in a small file (11000 x 11000 in under 1 MB), as a stray or hostile file may be.
QByteArray runLengthBitmap(QSize size, Colour colour);

}  // namespace crinova::test

#define COMPARE_IMAGES(actual, expected)                                             \
    do {                                                                             \
        const QString difference = crinova::test::firstDifference(actual, expected); \
        QVERIFY2(difference.isEmpty(), qPrintable(difference));                      \
    } while (false)
