#include "client_view/view_pictures.h"

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <algorithm>

#include "platform/rounding.h"

namespace crinova {

ViewPlacement placeClientView(const std::vector<QRect>& screens, int mainScreen,
                              const QRect& mainFrame, QSize preferred) {
    ViewPlacement placement;
    for (int i = 0; i < static_cast<int>(screens.size()); ++i) {
        if (i != mainScreen) {
            return {i, true, screens[static_cast<std::size_t>(i)]};
        }
    }
    if (screens.empty()) {
        placement.geometry = QRect(mainFrame.topRight() + QPoint(1, 0), preferred);
        return placement;
    }
    placement.screen = std::clamp(mainScreen, 0, static_cast<int>(screens.size()) - 1);
    const QRect screen = screens[static_cast<std::size_t>(placement.screen)];
    const QSize size = preferred.boundedTo(screen.size());
    const int top = std::clamp(mainFrame.top(), screen.top(), screen.bottom() + 1 - size.height());
    const int right = screen.right() + 1 - (mainFrame.right() + 1);
    const int left = mainFrame.left() - screen.left();
    if (right >= size.width()) {
        placement.geometry = QRect(QPoint(mainFrame.right() + 1, top), size);
    } else if (left >= size.width()) {
        placement.geometry = QRect(QPoint(mainFrame.left() - size.width(), top), size);
    } else if (std::max(left, right) >= kNarrowestBeside) {
        // Narrower, but beside: the stylist keeps the main window in sight.
        const int width = std::max(left, right);
        placement.geometry =
            QRect(QPoint(right >= left ? mainFrame.right() + 1 : screen.left(), top),
                  QSize(width, size.height()));
    } else {
        placement.geometry = QRect(QPoint(screen.right() + 1 - size.width(), top), size);
    }
    return placement;
}

QImage scaledForView(const QImage& picture, QSize size) {
    if (picture.isNull() || size.isEmpty()) {
        return {};
    }
    const QImage source = picture.convertToFormat(QImage::Format_RGB32);
    if (source.size() == size) {
        return source;
    }
    QImage scaled(size, QImage::Format_RGB32);
    const cv::Mat from(source.height(), source.width(), CV_8UC4,
                       const_cast<uchar*>(source.constBits()),
                       static_cast<std::size_t>(source.bytesPerLine()));
    cv::Mat to(scaled.height(), scaled.width(), CV_8UC4, scaled.bits(),
               static_cast<std::size_t>(scaled.bytesPerLine()));
    // Averaging only where bilinear sampling would skip pixels: it costs several times more.
    const bool halved = 2 * size.width() < source.width() || 2 * size.height() < source.height();
    cv::resize(from, to, to.size(), 0, 0, halved ? cv::INTER_AREA : cv::INTER_LINEAR);
    return scaled;
}

QRect fittedRect(QSize picture, const QRect& area) {
    if (picture.isEmpty() || area.isEmpty()) {
        return {};
    }
    const QSize size = picture.scaled(area.size(), Qt::KeepAspectRatio);
    return QRect(area.x() + (area.width() - size.width()) / 2,
                 area.y() + (area.height() - size.height()) / 2, size.width(), size.height());
}

void drawWipeStep(QImage& frame, const QImage& picture, int y) {
    const int height = std::min(frame.height(), picture.height());
    const int bytes = std::min(frame.bytesPerLine(), picture.bytesPerLine());
    for (int k = 0; k < height; ++k) {
        const int row = std::min(std::max(y, k + 1), height - 1);
        std::copy_n(picture.constScanLine(row), bytes, frame.scanLine(k));
    }
}

int wipeStepAt(std::chrono::steady_clock::duration elapsed,
               std::chrono::steady_clock::duration duration, int height) {
    if (duration.count() <= 0 || elapsed >= duration) {
        return 0;
    }
    const long long steps = static_cast<long long>(height) + 1;
    const long long done = std::max<long long>(0, elapsed.count()) * steps / duration.count();
    return static_cast<int>(std::max<long long>(0, height - done));
}

QImage dividedPicture(const QImage& before, const QImage& after, double divider) {
    QImage picture = after.convertToFormat(QImage::Format_RGB32);
    const QImage left = before.convertToFormat(QImage::Format_RGB32);
    if (left.size() != picture.size()) {
        return picture;
    }
    const int split = std::clamp(roundHalfEven(divider * picture.width()), 0, picture.width());
    for (int y = 0; y < picture.height(); ++y) {
        std::copy_n(reinterpret_cast<const QRgb*>(left.constScanLine(y)), split,
                    reinterpret_cast<QRgb*>(picture.scanLine(y)));
    }
    return picture;
}

}  // namespace crinova
