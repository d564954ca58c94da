#include "overlay/strand_streaks.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>

namespace crinova {
namespace {

constexpr float kFar = 1e9f;
// A streak stops where the strands lose their direction.
constexpr float kTraceCoherence = 0.2f;
// Lines shorter than this are left out: a dot is no streak.
constexpr int kShortestLine = 12;
// The streaks reach their full strength this many pixels below the roots.
constexpr double kRootFade = 24.0;
constexpr double kStreakStrength = 0.9;

double smoothstep(double from, double to, double x) {
    const double t = std::clamp((x - from) / (to - from), 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

// The first row of each column that holds hair; the height when none does.
std::vector<int> hairTops(const std::vector<std::uint8_t>& coverage, int width, int height) {
    std::vector<int> top(std::size_t(width), height);
    for (int y = height - 1; y >= 0; --y) {
        const std::uint8_t* row = coverage.data() + std::size_t(y) * width;
        for (int x = 0; x < width; ++x) {
            if (row[x] != 0) {
                top[std::size_t(x)] = y;
            }
        }
    }
    return top;
}

struct Tracer {
    const StrandField& field;
    const std::vector<std::uint8_t>& coverage;
    const std::vector<float>& near;  // distance to the nearest line drawn so far

    bool usable(double x, double y, float reach) const {
        const int ix = int(std::lround(x));
        const int iy = int(std::lround(y));
        if (ix < 0 || iy < 0 || ix >= field.width || iy >= field.height) {
            return false;
        }
        const std::size_t i = std::size_t(iy) * field.width + ix;
        return coverage[i] >= 128 && field.coherence[i] >= kTraceCoherence && near[i] >= reach;
    }
    // The field's direction at (x, y), turned to agree with `along`.
    cv::Point2d direction(double x, double y, cv::Point2d along) const {
        const int ix = std::clamp(int(std::lround(x)), 0, field.width - 1);
        const int iy = std::clamp(int(std::lround(y)), 0, field.height - 1);
        const std::size_t i = std::size_t(iy) * field.width + ix;
        cv::Point2d d(field.dx[i], field.dy[i]);
        return d.dot(along) < 0 ? -d : d;
    }
    // Steps of one pixel (midpoint rule) from `start` while the strands go on.
    std::vector<cv::Point2d> trace(cv::Point2d start, cv::Point2d along) const {
        std::vector<cv::Point2d> points;
        cv::Point2d p = start;
        const float reach = float(kStreakSpacing * field.scale * 0.5);
        for (int step = 0; step < 4 * (field.width + field.height); ++step) {
            const cv::Point2d d1 = direction(p.x, p.y, along);
            const cv::Point2d mid = p + 0.5 * d1;
            const cv::Point2d d2 = direction(mid.x, mid.y, d1);
            if (d2.dot(along) < 0.5) {
                break;  // a sharp turn: the streak would curl
            }
            const cv::Point2d next = p + d2;
            if (!usable(next.x, next.y, reach)) {
                break;
            }
            points.push_back(next);
            p = next;
            along = d2;
        }
        return points;
    }
};

// Stamps `radius` around each point: the nearest distance so far, per pixel.
void stampDistances(const std::vector<cv::Point2d>& line, int width, int height, int radius,
                    std::vector<float>& distance) {
    for (const cv::Point2d& p : line) {
        const int cx = int(std::lround(p.x));
        const int cy = int(std::lround(p.y));
        for (int y = std::max(0, cy - radius); y <= std::min(height - 1, cy + radius); ++y) {
            const double dy2 = (y - p.y) * (y - p.y);
            for (int x = std::max(0, cx - radius); x <= std::min(width - 1, cx + radius); ++x) {
                // Squares compared first: most pixels are nearer some earlier point already.
                const double d2 = (x - p.x) * (x - p.x) + dy2;
                float& kept = distance[std::size_t(y) * width + x];
                if (d2 < double(kept) * double(kept)) {
                    kept = std::min(kept, float(std::sqrt(d2)));
                }
            }
        }
    }
}

}  // namespace

StrandField strandField(const QImage& picture, const std::vector<std::uint8_t>& coverage,
                        double scale) {
    StrandField field;
    field.scale = scale;
    field.width = picture.width();
    field.height = picture.height();
    const int w = field.width;
    const int h = field.height;
    const std::size_t count = std::size_t(w) * h;
    field.dx.assign(count, 0.0f);
    field.dy.assign(count, 1.0f);
    field.coherence.assign(count, 0.0f);
    if (count == 0) {
        return field;
    }

    cv::Mat luma(h, w, CV_32F);
    cv::Mat inside(h, w, CV_8U);
    for (int y = 0; y < h; ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        float* out = luma.ptr<float>(y);
        std::uint8_t* in = inside.ptr<std::uint8_t>(y);
        for (int x = 0; x < w; ++x) {
            out[x] = float(0.299 * qRed(row[x]) + 0.587 * qGreen(row[x]) + 0.114 * qBlue(row[x]));
            in[x] = coverage[std::size_t(y) * w + x] == 255 ? 1 : 0;
        }
    }
    // Gradients on the edge of the hair follow its outline, not its strands: only pixels whose
    // neighbourhood is hair count.
    const int edge = 2 * int(std::lround(2 * scale)) + 1;
    cv::erode(inside, inside, cv::getStructuringElement(cv::MORPH_RECT, cv::Size(edge, edge)));
    cv::GaussianBlur(luma, luma, cv::Size(), 1.0 * scale);
    cv::Mat gx;
    cv::Mat gy;
    cv::Sobel(luma, gx, CV_32F, 1, 0, 3, 1.0 / 8);
    cv::Sobel(luma, gy, CV_32F, 0, 1, 3, 1.0 / 8);
    cv::Mat insideF;
    inside.convertTo(insideF, CV_32F);
    cv::Mat jxx = gx.mul(gx).mul(insideF);
    cv::Mat jxy = gx.mul(gy).mul(insideF);
    cv::Mat jyy = gy.mul(gy).mul(insideF);
    for (cv::Mat* j : {&jxx, &jxy, &jyy}) {
        if (scale >= 2) {
            // So wide a blur is as well done on the tensor reduced by the scale and enlarged
            // again, at a sixteenth of the work for a look four times larger.
            cv::Mat reduced;
            cv::resize(*j, reduced, cv::Size(), 1.0 / scale, 1.0 / scale, cv::INTER_AREA);
            cv::GaussianBlur(reduced, reduced, cv::Size(), 6.0);
            cv::resize(reduced, *j, j->size(), 0, 0, cv::INTER_LINEAR);
        } else {
            cv::GaussianBlur(*j, *j, cv::Size(), 6.0 * scale);
        }
    }

    double sum = 0;
    std::size_t counted = 0;
    for (int y = 0; y < h; ++y) {
        const float* xx = jxx.ptr<float>(y);
        const float* xy = jxy.ptr<float>(y);
        const float* yy = jyy.ptr<float>(y);
        for (int x = 0; x < w; ++x) {
            const std::size_t i = std::size_t(y) * w + x;
            const double trace = double(xx[x]) + yy[x];
            const double diff = double(xx[x]) - yy[x];
            const double spread = std::sqrt(diff * diff + 4.0 * xy[x] * xy[x]);
            const double coherence = trace > 1e-6 ? spread / trace : 0.0;
            // The gradient's main direction, at half the angle of (diff, 2 xy); the strands run
            // across it. Half-angle formulas instead of atan2, sin and cos: the same direction
            // at a fraction of the work.
            const double doubled = spread > 0 ? diff / spread : 1.0;
            const double sine = std::sqrt(std::max(0.0, 0.5 * (1.0 - doubled)));
            field.dx[i] = float(xy[x] < 0 ? sine : -sine);
            field.dy[i] = float(std::sqrt(std::max(0.0, 0.5 * (1.0 + doubled))));
            field.coherence[i] = float(coherence);
            if (coverage[i] == 255) {
                sum += coherence;
                ++counted;
            }
        }
    }
    field.meanCoherence = counted ? sum / double(counted) : 0.0;
    return field;
}

std::vector<std::uint8_t> strandStreaks(const StrandField& field,
                                        const std::vector<std::uint8_t>& coverage) {
    const int w = field.width;
    const int h = field.height;
    const std::size_t count = std::size_t(w) * h;
    std::vector<float> near(count, kFar);
    std::vector<std::vector<cv::Point2d>> lines;
    const Tracer tracer{field, coverage, near};
    const double scale = field.scale;
    const double spacing = kStreakSpacing * scale;
    const int seedStep = std::max(1, int(std::lround(2 * scale)));
    for (int y = 0; y < h; y += seedStep) {
        for (int x = 0; x < w; x += seedStep) {
            const std::size_t i = std::size_t(y) * w + x;
            if (coverage[i] != 255 || field.coherence[i] < kTraceCoherence || near[i] < spacing) {
                continue;
            }
            const cv::Point2d seed(x, y);
            cv::Point2d down(field.dx[i], field.dy[i]);
            if (down.y < 0) {
                down = -down;
            }
            std::vector<cv::Point2d> up = tracer.trace(seed, -down);
            std::reverse(up.begin(), up.end());
            up.push_back(seed);
            const std::vector<cv::Point2d> rest = tracer.trace(seed, down);
            up.insert(up.end(), rest.begin(), rest.end());
            if (double(up.size()) < kShortestLine * scale) {
                // Not a streak, but the place is taken: no seed nearby tries again.
                stampDistances({seed}, w, h, 1, near);
                continue;
            }
            stampDistances(up, w, h, int(std::ceil(spacing)), near);
            lines.push_back(std::move(up));
        }
    }

    // About two pixels wide, soft at the sides, and never quite the second shade alone: a
    // streak is dyed hair, not paint.
    std::vector<float> width(count, kFar);
    for (const auto& line : lines) {
        stampDistances(line, w, h, int(std::ceil(2 * scale)), width);
    }
    const std::vector<int> top = hairTops(coverage, w, h);
    std::vector<std::uint8_t> streaks(count, 0);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const std::size_t i = std::size_t(y) * w + x;
            const double d = width[i] / scale;
            if (d > 6) {
                continue;  // far from every streak: its strength rounds to 0
            }
            const double strength = kStreakStrength * std::exp(-d * d / 1.3);
            const double roots = smoothstep(0.0, kRootFade * scale, y - top[std::size_t(x)]);
            streaks[i] = std::uint8_t(255.0 * strength * roots + 0.5);  // never negative
        }
    }
    return streaks;
}

std::vector<std::uint8_t> lengthsTowardsEnds(const std::vector<std::uint8_t>& coverage, int width,
                                             int height, double scale) {
    const std::vector<int> top = hairTops(coverage, width, height);
    int first = height;
    int last = -1;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row = coverage.data() + std::size_t(y) * width;
        if (std::any_of(row, row + width, [](std::uint8_t c) { return c != 0; })) {
            first = std::min(first, y);
            last = y;
        }
    }
    std::vector<std::uint8_t> lengths(coverage.size(), 0);
    if (last <= first) {
        return lengths;
    }
    // The roots' fade by distance below the top, looked up: it is the same on every row.
    const int fade = int(std::ceil(2 * kRootFade * scale));
    std::vector<double> roots(std::size_t(fade) + 1);
    for (int d = 0; d <= fade; ++d) {
        roots[std::size_t(d)] = smoothstep(0.0, 2 * kRootFade * scale, d);
    }
    for (int y = first; y <= last; ++y) {
        const double along = smoothstep(0.35, 1.0, double(y - first) / double(last - first));
        if (along == 0) {
            continue;  // the upper part of the hair stays as it is
        }
        std::uint8_t* out = lengths.data() + std::size_t(y) * width;
        for (int x = 0; x < width; ++x) {
            const int below = y - top[std::size_t(x)];
            const double strength =
                below < 0 ? 0.0 : along * roots[std::size_t(std::min(below, fade))];
            out[x] = std::uint8_t(255.0 * strength + 0.5);  // never negative
        }
    }
    return lengths;
}

}  // namespace crinova
