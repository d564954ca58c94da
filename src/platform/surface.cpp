#include "platform/surface.h"

#include <algorithm>
#include <cstring>

namespace crinova {

Surface::Surface(int width, int height, Colour background, bool keepsDrawing)
    : background_(background), keepsDrawing_(keepsDrawing) {
    Resize(width, height);
}

void Surface::Resize(int width, int height) {
    image_ = QImage(std::max(width, 0), std::max(height, 0), QImage::Format_RGB32);
    Cls();
}

void Surface::SetPicture(const QImage& picture) {
    picture_ = (picture.isNull() || picture.format() == QImage::Format_RGB32)
                   ? picture
                   : picture.convertToFormat(QImage::Format_RGB32);
    Cls();
}

void Surface::EmptyPicture() {
    picture_ = QImage();
    Cls();
}

void Surface::Cls() {
    if (image_.isNull()) {
        return;
    }
    // The picture's part is copied and only the rest is filled, each pixel written once.
    const QRgb background = toPixel(background_);
    const int width = image_.width();
    const int rows = picture_.isNull() ? 0 : std::min(picture_.height(), image_.height());
    const int columns = picture_.isNull() ? 0 : std::min(picture_.width(), width);
    for (int y = 0; y < rows; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image_.scanLine(y));
        std::memcpy(line, picture_.constScanLine(y), std::size_t(columns) * sizeof(QRgb));
        std::fill(line + columns, line + width, background);
    }
    for (int y = rows; y < image_.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image_.scanLine(y));
        std::fill(line, line + width, background);
    }
    notifyChanged();
}

void Surface::RepaintFromStoredPicture() {
    if (!keepsDrawing_) {
        Cls();
    }
}

void Surface::notifyChanged() const {
    if (changed_) {
        changed_();
    }
}

}  // namespace crinova
