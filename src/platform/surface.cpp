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
    image_.fill(toPixel(background_));
    if (!picture_.isNull()) {
        const int rows = std::min(picture_.height(), image_.height());
        const std::size_t bytes =
            static_cast<std::size_t>(std::min(picture_.width(), image_.width())) * sizeof(QRgb);
        for (int y = 0; y < rows; ++y) {
            std::memcpy(image_.scanLine(y), picture_.constScanLine(y), bytes);
        }
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
