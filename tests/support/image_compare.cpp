#include "image_compare.h"

#include <QBuffer>
#include <QDataStream>
#include <QImageWriter>
#include <algorithm>
#include <stdexcept>

namespace crinova::test {

QString firstDifference(const QImage& actual, const QImage& expected) {
    if (actual.size() != expected.size()) {
        return QStringLiteral("size %1x%2, expected %3x%4")
            .arg(actual.width())
            .arg(actual.height())
            .arg(expected.width())
            .arg(expected.height());
    }
    for (int y = 0; y < actual.height(); ++y) {
        for (int x = 0; x < actual.width(); ++x) {
            const Colour got = colourAt(actual, x, y);
            const Colour want = colourAt(expected, x, y);
            if (got != want) {
                return QStringLiteral("pixel (%1, %2) is %3, expected %4")
                    .arg(x)
                    .arg(y)
                    .arg(got, 6, 16, QLatin1Char('0'))
                    .arg(want, 6, 16, QLatin1Char('0'));
            }
        }
    }
    return {};
}

QImage solidPicture(int width, int height, Colour colour) {
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(toPixel(colour));
    return picture;
}

QImage numberedPicture(int width, int height) {
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            picture.setPixel(x, y, toPixel(0x00000040u | (Colour(x) << 8) | (Colour(y) << 16)));
        }
    }
    return picture;
}

Colour colourAt(const QImage& picture, int x, int y) {
    return toColour(picture.pixel(x, y));
}

QByteArray jpegClaimingSize(QSize size) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!QImageWriter(&buffer, "jpeg").write(solidPicture(16, 16, 0x00808080))) {
        throw std::runtime_error("cannot write a test JPEG");
    }
    // The baseline frame header: marker FF C0, length (2 bytes), precision (1), then the height
    // and the width, two bytes each, most significant first.
    const qsizetype frame = bytes.indexOf(QByteArray("\xFF\xC0", 2));
    if (frame < 0) {
        throw std::runtime_error("no frame header in the test JPEG");
    }
    bytes[frame + 5] = char(size.height() >> 8);
    bytes[frame + 6] = char(size.height() & 0xFF);
    bytes[frame + 7] = char(size.width() >> 8);
    bytes[frame + 8] = char(size.width() & 0xFF);
    return bytes;
}

namespace {

// A bitmap's file and information headers (BITMAPFILEHEADER, BITMAPINFOHEADER), before `palette`
// colours and `pixels` bytes.
void writeBitmapHeaders(QDataStream& out, QSize size, int bits, int compression, int palette,
                        qint64 pixels) {
    out.setByteOrder(QDataStream::LittleEndian);
    const quint32 headers = 14 + 40 + 4 * palette;
    out.writeRawData("BM", 2);
    out << quint32(headers + pixels) << quint32(0) << headers;
    out << quint32(40) << qint32(size.width()) << qint32(size.height()) << quint16(1)
        << quint16(bits) << quint32(compression) << quint32(pixels) << qint32(2835) << qint32(2835)
        << quint32(palette) << quint32(0);
}

}  // namespace

QByteArray bitmapClaimingSize(QSize size) {
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    writeBitmapHeaders(out, size, 24, 0, 0, 0);
    return bytes;
}

QByteArray runLengthBitmap(QSize size, Colour colour) {
    QByteArray row;
    for (int left = size.width(); left > 0; left -= 255) {
        row += char(std::min(left, 255));  // a run: count, then the palette index
        row += char(0);
    }
    row += QByteArray("\0\0", 2);                                             // end of line
    QByteArray pixels = row.repeated(size.height()) + QByteArray("\0\1", 2);  // end of bitmap
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    writeBitmapHeaders(out, size, 8, 1, 1, pixels.size());  // BI_RLE8, a palette of one colour
    // Palette entries are blue, green, red, reserved, as Colour keeps them (0x00BBGGRR) reversed.
    out << quint8((colour >> 16) & 0xff) << quint8((colour >> 8) & 0xff) << quint8(colour & 0xff)
        << quint8(0);
    out.writeRawData(pixels.constData(), int(pixels.size()));
    return bytes;
}

}  // namespace crinova::test
