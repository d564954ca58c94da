#include "segmentation/strokes.h"

#include <QJsonObject>
#include <algorithm>
#include <cmath>

namespace crinova {
namespace {

// Squared distance from (x, y) to the segment a-b.
double squaredDistance(double x, double y, QPointF a, QPointF b) {
    const double dx = b.x() - a.x();
    const double dy = b.y() - a.y();
    const double length = dx * dx + dy * dy;
    double t = length > 0 ? ((x - a.x()) * dx + (y - a.y()) * dy) / length : 0;
    t = std::clamp(t, 0.0, 1.0);
    const double ex = a.x() + t * dx - x;
    const double ey = a.y() + t * dy - y;
    return ex * ex + ey * ey;
}

}  // namespace

void stampStroke(QImage& labels, const Stroke& stroke) {
    if (stroke.points.empty() || labels.isNull() || stroke.radius < 0) {
        return;
    }
    const auto value =
        static_cast<uchar>(stroke.selected ? PixelLabel::Selected : PixelLabel::Background);
    const double reach = double(stroke.radius) * stroke.radius;
    for (std::size_t i = 0; i < stroke.points.size(); ++i) {
        const QPointF a = stroke.points[i];
        const QPointF b = stroke.points[std::min(i + 1, stroke.points.size() - 1)];
        const int x0 = std::max(0, int(std::floor(std::min(a.x(), b.x()))) - stroke.radius);
        const int x1 =
            std::min(labels.width() - 1, int(std::ceil(std::max(a.x(), b.x()))) + stroke.radius);
        const int y0 = std::max(0, int(std::floor(std::min(a.y(), b.y()))) - stroke.radius);
        const int y1 =
            std::min(labels.height() - 1, int(std::ceil(std::max(a.y(), b.y()))) + stroke.radius);
        for (int y = y0; y <= y1; ++y) {
            uchar* line = labels.scanLine(y);
            for (int x = x0; x <= x1; ++x) {
                if (squaredDistance(x, y, a, b) <= reach) {
                    line[x] = value;
                }
            }
        }
    }
}

QJsonArray strokesToJson(const std::vector<Stroke>& strokes) {
    QJsonArray array;
    for (const Stroke& stroke : strokes) {
        QJsonArray points;
        for (const QPoint& point : stroke.points) {
            points.append(QJsonArray{point.x(), point.y()});
        }
        array.append(QJsonObject{{QStringLiteral("pelo"), stroke.selected},
                                 {QStringLiteral("radio"), stroke.radius},
                                 {QStringLiteral("puntos"), points}});
    }
    return array;
}

std::optional<std::vector<Stroke>> strokesFromJson(const QJsonArray& array) {
    std::vector<Stroke> strokes;
    for (const QJsonValue& value : array) {
        const QJsonObject object = value.toObject();
        const QJsonValue selected = object.value(QStringLiteral("pelo"));
        const QJsonValue radius = object.value(QStringLiteral("radio"));
        const QJsonValue points = object.value(QStringLiteral("puntos"));
        if (!selected.isBool() || !radius.isDouble() || !points.isArray()) {
            return std::nullopt;
        }
        Stroke stroke;
        stroke.selected = selected.toBool();
        stroke.radius = radius.toInt(-1);
        if (stroke.radius < 0 || stroke.radius > 64) {
            return std::nullopt;
        }
        for (const QJsonValue& point : points.toArray()) {
            const QJsonArray xy = point.toArray();
            if (xy.size() != 2 || !xy[0].isDouble() || !xy[1].isDouble()) {
                return std::nullopt;
            }
            stroke.points.emplace_back(xy[0].toInt(), xy[1].toInt());
        }
        strokes.push_back(std::move(stroke));
    }
    return strokes;
}

}  // namespace crinova
