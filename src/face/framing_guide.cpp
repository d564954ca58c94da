#include "face/framing_guide.h"

#include <algorithm>
#include <cmath>

namespace crinova {

namespace {

double distance(const QPointF& a, const QPointF& b) {
    return std::hypot(a.x() - b.x(), a.y() - b.y());
}

struct Colour3 {
    double r = 0, g = 0, b = 0;
    double luma() const { return 0.299 * r + 0.587 * g + 0.114 * b; }
};

// The box clipped to the picture, in whole pixels.
QRect pixelsOf(const QRectF& box, const QImage& picture) {
    const QRect whole(QPoint(int(std::ceil(box.left())), int(std::ceil(box.top()))),
                      QPoint(int(std::floor(box.right())), int(std::floor(box.bottom()))));
    return whole.intersected(picture.rect());
}

Colour3 meanColour(const QImage& picture, const QRect& box) {
    Colour3 sum;
    for (int y = box.top(); y <= box.bottom(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        for (int x = box.left(); x <= box.right(); ++x) {
            sum.r += qRed(row[x]);
            sum.g += qGreen(row[x]);
            sum.b += qBlue(row[x]);
        }
    }
    const double n = double(box.width()) * box.height();
    return {sum.r / n, sum.g / n, sum.b / n};
}

bool foreheadCovered(const QImage& picture, const EyePair& eyes) {
    const double d = distance(eyes.left, eyes.right);
    const QPointF mid = (eyes.left + eyes.right) / 2.0;
    const QRect skinBox =
        pixelsOf(QRectF(mid.x() - 0.3 * d, mid.y() + 0.3 * d, 0.6 * d, 0.3 * d), picture);
    const QRect forehead =
        pixelsOf(QRectF(eyes.left.x() - 0.1 * d, mid.y() - 0.5 * d, 1.2 * d, 0.15 * d), picture);
    if (skinBox.isEmpty() || forehead.isEmpty()) {
        return false;
    }
    const Colour3 skin = meanColour(picture, skinBox);
    const double skinSum = std::max(1.0, skin.r + skin.g + skin.b);
    const double skinRed = skin.r / skinSum;
    const double skinGreen = skin.g / skinSum;
    int unlike = 0;
    for (int y = forehead.top(); y <= forehead.bottom(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        for (int x = forehead.left(); x <= forehead.right(); ++x) {
            const Colour3 c{double(qRed(row[x])), double(qGreen(row[x])), double(qBlue(row[x]))};
            const double sum = std::max(1.0, c.r + c.g + c.b);
            const bool darker = c.luma() < 0.7 * skin.luma();
            const bool otherHue = std::hypot(c.r / sum - skinRed, c.g / sum - skinGreen) >= 0.05;
            unlike += (darker || otherHue) ? 1 : 0;
        }
    }
    return unlike > 0.45 * forehead.width() * forehead.height();
}

Exposure exposureOf(const QImage& picture) {
    double sum = 0;
    long clipped = 0;
    for (int y = 0; y < picture.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            const double luma =
                Colour3{double(qRed(row[x])), double(qGreen(row[x])), double(qBlue(row[x]))}.luma();
            sum += luma;
            clipped += luma >= 250 ? 1 : 0;
        }
    }
    const double n = double(picture.width()) * picture.height();
    const double mean = sum / n;
    if (mean < 45) {
        return Exposure::Dark;
    }
    return mean > 215 || clipped > 0.3 * n ? Exposure::Overexposed : Exposure::Good;
}

}  // namespace

EyePair targetEyes(const EyeTarget& target) {
    if (target.eyes) {
        return *target.eyes;
    }
    const double w = target.picture.width();
    const double y = 0.45625 * target.picture.height();
    return {QPointF(w * (0.5 - 0.26 / 3), y), QPointF(w * (0.5 + 0.26 / 3), y)};
}

FramingGuide framingGuide(QSize live, const EyeTarget& target) {
    FramingGuide guide;
    const QSize picture = target.picture;
    if (live.isEmpty() || picture.isEmpty()) {
        return guide;
    }
    const double k = kGuideShare * std::min(live.width() / double(picture.width()),
                                            live.height() / double(picture.height()));
    const QSizeF size(picture.width() * k, picture.height() * k);
    guide.area = QRectF(
        QPointF((live.width() - size.width()) / 2.0, (live.height() - size.height()) / 2.0), size);
    const EyePair eyes = targetEyes(target);
    guide.marks = {guide.area.topLeft() + eyes.left * k, guide.area.topLeft() + eyes.right * k};
    const double d = distance(guide.marks.left, guide.marks.right);
    const QPointF mid = (guide.marks.left + guide.marks.right) / 2.0;
    const QSizeF oval(2.6 * d, 3.4 * d);
    guide.oval = QRectF(
        QPointF(mid.x() - oval.width() / 2.0, mid.y() - 0.07 * d - oval.height() / 2.0), oval);
    guide.tolerance = kMarkTolerance * d;
    return guide;
}

FrameReading readFrame(const QImage& frame, const FaceCascades& cascades) {
    FrameReading reading;
    reading.size = frame.size();
    if (frame.isNull()) {
        reading.exposure = Exposure::Dark;
        return reading;
    }
    const int longest = std::max(frame.width(), frame.height());
    const double f = longest > kGuideSide ? kGuideSide / double(longest) : 1.0;
    const QImage small = (f < 1 ? frame.scaled(std::max(1, int(std::lround(frame.width() * f))),
                                               std::max(1, int(std::lround(frame.height() * f))),
                                               Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                                : frame)
                             .convertToFormat(QImage::Format_RGB32);
    reading.exposure = exposureOf(small);
    // Faces under a sixth of the shorter side are far beyond what the guide asks for; sizes
    // 15 % apart are fine enough to steer by.
    const EyeSearch search = findEyesUpright(
        small, cascades, FaceScan{std::max(24, std::min(small.width(), small.height()) / 6), 1.15});
    if (!search.eyes) {
        return reading;
    }
    reading.foreheadCovered = foreheadCovered(small, *search.eyes);
    // Pixel centres correspond: (p + 0.5) / f - 0.5.
    const double fx = small.width() / double(frame.width());
    const double fy = small.height() / double(frame.height());
    auto back = [&](const QPointF& p) {
        return QPointF((p.x() + 0.5) / fx - 0.5, (p.y() + 0.5) / fy - 0.5);
    };
    reading.eyes = EyePair{back(search.eyes->left), back(search.eyes->right)};
    return reading;
}

FramingVerdict judgeFraming(const FrameReading& reading, const FramingGuide& guide) {
    FramingVerdict verdict;
    if (reading.eyes) {
        verdict.onMarks = distance(reading.eyes->left, guide.marks.left) <= guide.tolerance &&
                          distance(reading.eyes->right, guide.marks.right) <= guide.tolerance;
    }
    if (reading.exposure == Exposure::Dark) {
        verdict.hint = FramingHint::Dark;
    } else if (reading.exposure == Exposure::Overexposed) {
        verdict.hint = FramingHint::Overexposed;
    } else if (!reading.eyes) {
        verdict.hint = FramingHint::LookAtCamera;
    } else if (verdict.onMarks) {
        verdict.hint = reading.foreheadCovered ? FramingHint::HairBack : FramingHint::Ready;
    } else {
        const double marks = distance(guide.marks.left, guide.marks.right);
        const double ratio =
            marks > 0 ? distance(reading.eyes->left, reading.eyes->right) / marks : 1.0;
        verdict.hint = ratio < 0.8   ? FramingHint::ComeCloser
                       : ratio > 1.2 ? FramingHint::MoveBack
                                     : FramingHint::OntoMarks;
    }
    return verdict;
}

QString framingHintText(FramingHint hint) {
    switch (hint) {
        case FramingHint::Dark:
            return QStringLiteral("Hay poca luz: ilumine más la cara");
        case FramingHint::Overexposed:
            return QStringLiteral("Hay demasiada luz: la foto sale quemada");
        case FramingHint::LookAtCamera:
            return QStringLiteral("Mire a la cámara");
        case FramingHint::ComeCloser:
            return QStringLiteral("Acérquese");
        case FramingHint::MoveBack:
            return QStringLiteral("Aléjese");
        case FramingHint::OntoMarks:
            return QStringLiteral("Ponga los ojos sobre las marcas");
        case FramingHint::HairBack:
            return QStringLiteral("Recoja el pelo hacia atrás");
        case FramingHint::Ready:
            break;
    }
    return QStringLiteral("Bien: pulse «Capturar»");
}

}  // namespace crinova
