#pragma once

#include <QImage>
#include <QJsonArray>
#include <QPoint>
#include <cstdint>
#include <optional>
#include <vector>

namespace crinova {

// What a pixel of a selection is taken for, in a label picture (8-bit grey, one value a pixel).
// The values are GrabCut's own.
enum class PixelLabel : std::uint8_t {
    Background = 0,          // certainly not the selection
    Selected = 1,            // certainly the selection
    ProbablyBackground = 2,  // left to the cut, first guess not
    ProbablySelected = 3,    // left to the cut, first guess yes
};

// One stroke of the round brush, as data: saved with a style and replayed to reopen it. The stroke
// covers every pixel whose centre lies within `radius` of the path through `points` (a single
// point stamps a disc). Coordinates are pixels of the frame the selection works on.
struct Stroke {
    bool selected = true;  // true: "this is it" (hair); false: "this is not"
    int radius = 4;
    std::vector<QPoint> points;

    bool operator==(const Stroke&) const = default;
};

// Marks the stroke's pixels in `labels` (Format_Grayscale8) as certainly selected or certainly
// background; pixels beyond the picture are passed over.
void stampStroke(QImage& labels, const Stroke& stroke);

// Strokes as JSON, [{"pelo": true, "radio": 4, "puntos": [[x, y], ...]}, ...], and back; nothing
// when the text is not such a list.
QJsonArray strokesToJson(const std::vector<Stroke>& strokes);
std::optional<std::vector<Stroke>> strokesFromJson(const QJsonArray& array);

}  // namespace crinova
