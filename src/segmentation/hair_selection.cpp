#include "segmentation/hair_selection.h"

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>

#include "face/photo_preparation.h"
#include "segmentation/picture_views.h"
#include "segmentation/soft_edge.h"

namespace crinova {
namespace {

// Fine detail under this share of the crown's is a smooth (out-of-focus) background.
constexpr double kSmoothShare = 0.25;
// The crown's certain hair leaves out what is smoother than this share of its own detail.
constexpr double kCrownSmoothShare = 0.5;
// Squared Mahalanobis distance to the cheeks' colours within which a pixel is skin.
constexpr double kSkinReach = 2.0;
// How far the colour channel of the cut is spread: 1.5 grey levels for one of the colour axis.
constexpr double kChromaGain = 1.5;
// How the fine-detail energy is scaled into the cut's third channel: the crown's median at 60.
constexpr double kDetailScale = 60.0;
// Holes up to this area, in squared eye distances, are filled.
constexpr double kSmallHole = 0.1;
// The cut starts from the learnt models the same way every time.
constexpr std::uint64_t kCutSeed = 0x2545F4914F6CDD1DULL;

QImage rgbPicture(const cv::Mat& bgr) {
    QImage picture(bgr.cols, bgr.rows, QImage::Format_RGB32);
    cv::Mat out = viewOf(picture, CV_8UC4);
    cv::cvtColor(bgr, out, cv::COLOR_BGR2BGRA);
    return picture;
}

constexpr uchar label(PixelLabel value) {
    return static_cast<uchar>(value);
}

// The face's measures on the frame.
struct Geometry {
    double d = 0;
    cv::Point2d mid;
    cv::Rect face;   // the inner-face box
    cv::Rect crown;  // the certain-hair box
    cv::Rect frame;

    explicit Geometry(const AlignedPhoto& photo) {
        const EyePair& eyes = photo.eyes;
        d = std::hypot(eyes.right.x() - eyes.left.x(), eyes.right.y() - eyes.left.y());
        mid =
            cv::Point2d((eyes.left.x() + eyes.right.x()) / 2, (eyes.left.y() + eyes.right.y()) / 2);
        frame = cv::Rect(0, 0, photo.frame.width(), photo.frame.height());
        face = box(eyes.left.x() - 0.22 * d, mid.y - 0.25 * d, eyes.right.x() + 0.22 * d,
                   mid.y + 1.7 * d);
        crown = box(mid.x - 0.45 * d, mid.y - 1.8 * d, mid.x + 0.45 * d, mid.y - 1.3 * d);
    }
    // The pixels whose centres lie in [x0, x1] x [y0, y1], inside the frame.
    cv::Rect box(double x0, double y0, double x1, double y1) const {
        const int left = int(std::ceil(x0));
        const int top = int(std::ceil(y0));
        const int right = int(std::floor(x1)) + 1;
        const int bottom = int(std::floor(y1)) + 1;
        if (right <= left || bottom <= top) {
            return {};
        }
        return cv::Rect(left, top, right - left, bottom - top) & frame;
    }
};

// Where the photo covers the frame (255), its edge pixels left out.
cv::Mat insideOf(const AlignedPhoto& photo) {
    const cv::Size size(photo.frame.width(), photo.frame.height());
    if (photo.photoArea.size() < 3) {
        return cv::Mat(size, CV_8UC1, cv::Scalar(255));
    }
    constexpr int kShift = 4;
    std::vector<cv::Point> corners;
    for (const QPointF& p : photo.photoArea) {
        corners.emplace_back(int(std::lround(p.x() * (1 << kShift))),
                             int(std::lround(p.y() * (1 << kShift))));
    }
    cv::Mat inside = cv::Mat::zeros(size, CV_8UC1);
    cv::fillPoly(inside, std::vector<std::vector<cv::Point>>{corners}, cv::Scalar(255), cv::LINE_8,
                 kShift);
    // The pixels at the photo's very edge are mixed with what lies beyond it.
    cv::erode(inside, inside, cv::Mat(), cv::Point(-1, -1), 1, cv::BORDER_CONSTANT,
              cv::Scalar(255));
    return inside;
}

// The frame with whatever lies outside the photo replaced by the photo's nearest edge pixels
// (each row repeats its ends; rows the photo misses repeat the nearest row it covers), so that
// the photo's border is no edge to the cut or to the matting.
template <typename Pixel>
cv::Mat filledFrame(const cv::Mat& picture, const cv::Mat& inside) {
    cv::Mat filled = picture.clone();
    std::vector<int> covered;
    for (int y = 0; y < filled.rows; ++y) {
        const uchar* in = inside.ptr<uchar>(y);
        int first = 0;
        while (first < filled.cols && !in[first]) {
            ++first;
        }
        if (first == filled.cols) {
            continue;
        }
        int last = filled.cols - 1;
        while (!in[last]) {
            --last;
        }
        Pixel* row = filled.ptr<Pixel>(y);
        std::fill(row, row + first, row[first]);
        std::fill(row + last + 1, row + filled.cols, row[last]);
        covered.push_back(y);
    }
    if (covered.empty()) {
        return filled;
    }
    for (int y = 0; y < filled.rows; ++y) {
        const auto next = std::lower_bound(covered.begin(), covered.end(), y);
        if (next != covered.end() && *next == y) {
            continue;
        }
        int from = next == covered.end() ? covered.back() : *next;
        if (next != covered.begin() && next != covered.end() && y - *(next - 1) < *next - y) {
            from = *(next - 1);
        }
        filled.row(from).copyTo(filled.row(y));
    }
    return filled;
}

// The fine detail of a picture: the difference between its lightness and its slight blur.
cv::Mat fineDetail(const cv::Mat& bgr) {
    cv::Mat grey;
    cv::cvtColor(bgr, grey, cv::COLOR_BGR2GRAY);
    grey.convertTo(grey, CV_32F);
    cv::Mat blurred;
    cv::GaussianBlur(grey, blurred, cv::Size(), 1.0);
    return cv::abs(grey - blurred);
}

// Skin-coloured pixels connected to the inner face: a Gaussian colour model of the cheeks.
cv::Mat faceSkinOf(const cv::Mat& lab, const cv::Mat& inside, const AlignedPhoto& photo,
                   const Geometry& g) {
    cv::Mat skin = cv::Mat::zeros(lab.size(), CV_8UC1);
    const EyePair& eyes = photo.eyes;
    const cv::Rect cheeks[] = {g.box(eyes.left.x() - 0.25 * g.d, g.mid.y + 0.35 * g.d,
                                     eyes.left.x() + 0.15 * g.d, g.mid.y + 0.85 * g.d),
                               g.box(eyes.right.x() - 0.15 * g.d, g.mid.y + 0.35 * g.d,
                                     eyes.right.x() + 0.25 * g.d, g.mid.y + 0.85 * g.d)};
    cv::Mat samples;
    for (const cv::Rect& cheek : cheeks) {
        for (int y = cheek.y; y < cheek.br().y; ++y) {
            for (int x = cheek.x; x < cheek.br().x; ++x) {
                if (inside.at<uchar>(y, x)) {
                    const cv::Vec3b p = lab.at<cv::Vec3b>(y, x);
                    samples.push_back(cv::Mat(cv::Matx13f(p[0], p[1], p[2])));
                }
            }
        }
    }
    if (samples.rows < 20) {
        return skin;
    }
    cv::Mat covariance;
    cv::Mat mean;
    cv::calcCovarMatrix(samples, covariance, mean,
                        cv::COVAR_NORMAL | cv::COVAR_ROWS | cv::COVAR_SCALE, CV_64F);
    covariance += cv::Mat::eye(3, 3, CV_64F) * 4.0;
    const cv::Matx33d inverse = cv::Matx33d(cv::Mat(covariance.inv()));
    const cv::Vec3d centre(mean.at<double>(0), mean.at<double>(1), mean.at<double>(2));
    for (int y = 0; y < lab.rows; ++y) {
        const cv::Vec3b* row = lab.ptr<cv::Vec3b>(y);
        uchar* out = skin.ptr<uchar>(y);
        for (int x = 0; x < lab.cols; ++x) {
            const cv::Vec3d v = cv::Vec3d(row[x][0], row[x][1], row[x][2]) - centre;
            out[x] = v.dot(inverse * v) < kSkinReach ? 255 : 0;
        }
    }
    skin &= inside;
    cv::Mat pieces;
    const int count = cv::connectedComponents(skin, pieces, 4, CV_32S);
    std::vector<char> touches(std::size_t(count), 0);
    for (int y = g.face.y; y < g.face.br().y; ++y) {
        for (int x = g.face.x; x < g.face.br().x; ++x) {
            touches[std::size_t(pieces.at<int>(y, x))] = 1;
        }
    }
    touches[0] = 0;
    for (int y = 0; y < skin.rows; ++y) {
        for (int x = 0; x < skin.cols; ++x) {
            skin.at<uchar>(y, x) = touches[std::size_t(pieces.at<int>(y, x))] ? 255 : 0;
        }
    }
    return skin;
}

// What the seeds and the cut look at, worked out once per photo.
struct Cues {
    cv::Mat filled;  // BGR
    cv::Mat inside;
    cv::Mat lab;
    cv::Mat detail;
    cv::Mat skin;
    double crownDetail = 1;
};

Cues cuesOf(const AlignedPhoto& photo, const Geometry& g) {
    Cues cues;
    const QImage frame = photo.frame.format() == QImage::Format_RGB32
                             ? photo.frame
                             : photo.frame.convertToFormat(QImage::Format_RGB32);
    cv::Mat bgr;
    cv::cvtColor(viewOf(frame, CV_8UC4), bgr, cv::COLOR_BGRA2BGR);
    cues.inside = insideOf(photo);
    cues.filled = filledFrame<cv::Vec3b>(bgr, cues.inside);
    cv::cvtColor(cues.filled, cues.lab, cv::COLOR_BGR2Lab);
    // The local mean of the fine detail, the photo's own when it is known.
    if (photo.detail.size() == photo.frame.size()) {
        const QImage detail = photo.detail.convertToFormat(QImage::Format_Grayscale8);
        filledFrame<uchar>(viewOf(detail, CV_8UC1), cues.inside)
            .convertTo(cues.detail, CV_32F, 1.0 / kDetailGain);
    } else {
        cues.detail = fineDetail(cues.filled);
    }
    cv::GaussianBlur(cues.detail, cues.detail, cv::Size(), std::max(1.5, 0.06 * g.d));
    cues.skin = faceSkinOf(cues.lab, cues.inside, photo, g);
    std::vector<float> crown;
    for (int y = g.crown.y; y < g.crown.br().y; ++y) {
        for (int x = g.crown.x; x < g.crown.br().x; ++x) {
            if (cues.inside.at<uchar>(y, x) && !cues.skin.at<uchar>(y, x)) {
                crown.push_back(cues.detail.at<float>(y, x));
            }
        }
    }
    if (!crown.empty()) {
        std::nth_element(crown.begin(), crown.begin() + crown.size() / 2, crown.end());
        cues.crownDetail = std::max(0.05f, crown[crown.size() / 2]);
    }
    return cues;
}

cv::Mat seedsOf(const AlignedPhoto& photo, const Geometry& g, const Cues& cues) {
    const int width = photo.frame.width();
    const int height = photo.frame.height();
    cv::Mat seeds(height, width, CV_8UC1, cv::Scalar(label(PixelLabel::ProbablyBackground)));
    if (!(g.d > 0)) {
        return seeds;
    }
    cv::ellipse(seeds, cv::Point2d(g.mid.x, g.mid.y - 0.25 * g.d), cv::Size2d(2.0 * g.d, 2.4 * g.d),
                0, 0, 360, cv::Scalar(label(PixelLabel::ProbablySelected)), cv::FILLED);
    seeds.setTo(label(PixelLabel::ProbablyBackground), cues.skin);
    seeds(g.box(g.mid.x - 0.7 * g.d, g.mid.y + 1.7 * g.d, g.mid.x + 0.7 * g.d, height))
        .setTo(label(PixelLabel::ProbablyBackground));
    const cv::Mat smooth = cues.detail < kSmoothShare * cues.crownDetail;
    seeds.setTo(label(PixelLabel::ProbablyBackground),
                smooth & (seeds == label(PixelLabel::ProbablySelected)));

    const double band = std::max(3.0, 0.15 * g.d);
    const uchar background = label(PixelLabel::Background);
    seeds(g.box(0, 0, width, band - 1)).setTo(background);
    seeds(g.box(0, 0, band - 1, g.mid.y)).setTo(background);
    seeds(g.box(width - band, 0, width, g.mid.y)).setTo(background);
    seeds.setTo(background, cues.inside == 0);
    seeds(g.face).setTo(background);

    const cv::Mat crownSmooth = cues.detail < kCrownSmoothShare * cues.crownDetail;
    for (int y = g.crown.y; y < g.crown.br().y; ++y) {
        for (int x = g.crown.x; x < g.crown.br().x; ++x) {
            if (cues.inside.at<uchar>(y, x) && !cues.skin.at<uchar>(y, x) &&
                !crownSmooth.at<uchar>(y, x)) {
                seeds.at<uchar>(y, x) = label(PixelLabel::Selected);
            }
        }
    }
    return seeds;
}

// The three channels the cut compares: lightness, the colour along the axis from the mean of the
// head's surroundings (the background above the eyes, beyond the hair ellipse or smooth, face and
// skin left out) to the certain hair's, and the fine detail.
cv::Mat featuresOf(const Cues& cues, const cv::Mat& labels, const Geometry& g) {
    cv::Mat surroundings(labels.size(), CV_8UC1, cv::Scalar(255));
    cv::ellipse(surroundings, cv::Point2d(g.mid.x, g.mid.y - 0.25 * g.d),
                cv::Size2d(2.0 * g.d, 2.4 * g.d), 0, 0, 360, cv::Scalar(0), cv::FILLED);
    surroundings.setTo(255, cues.detail < kSmoothShare * cues.crownDetail);
    surroundings(g.box(0, g.mid.y, labels.cols, labels.rows)).setTo(0);
    surroundings(g.face).setTo(0);
    surroundings.setTo(0, cues.skin);
    surroundings &= cues.inside;
    cv::Vec2d hair(0, 0);
    cv::Vec2d rest(0, 0);
    double hairCount = 0;
    double restCount = 0;
    for (int y = 0; y < labels.rows; ++y) {
        for (int x = 0; x < labels.cols; ++x) {
            if (!cues.inside.at<uchar>(y, x)) {
                continue;
            }
            const cv::Vec3b p = cues.lab.at<cv::Vec3b>(y, x);
            const uchar l = labels.at<uchar>(y, x);
            if (l == label(PixelLabel::Selected)) {
                hair += cv::Vec2d(p[1], p[2]);
                ++hairCount;
            } else if ((l & 1) == 0 && surroundings.at<uchar>(y, x)) {
                rest += cv::Vec2d(p[1], p[2]);
                ++restCount;
            }
        }
    }
    // The detail is scaled by the certain hair's own.
    std::vector<float> hairDetail;
    for (int y = 0; y < labels.rows; ++y) {
        for (int x = 0; x < labels.cols; ++x) {
            if (labels.at<uchar>(y, x) == label(PixelLabel::Selected)) {
                hairDetail.push_back(cues.detail.at<float>(y, x));
            }
        }
    }
    double detailScale = kDetailScale / cues.crownDetail;
    if (!hairDetail.empty()) {
        std::nth_element(hairDetail.begin(), hairDetail.begin() + hairDetail.size() / 2,
                         hairDetail.end());
        detailScale = kDetailScale / std::max(0.05f, hairDetail[hairDetail.size() / 2]);
    }
    // Along the axis from grey: a colour's own chroma, as far as it parts hair from the rest.
    cv::Vec2d axis(0, 1);
    const cv::Vec2d centre(128, 128);
    if (hairCount > 0 && restCount > 0) {
        hair /= hairCount;
        rest /= restCount;
        const cv::Vec2d apart = hair - rest;
        if (cv::norm(apart) >= 1) {
            axis = apart / cv::norm(apart);
        }
    }
    cv::Mat features(labels.size(), CV_8UC3);
    for (int y = 0; y < labels.rows; ++y) {
        const cv::Vec3b* lab = cues.lab.ptr<cv::Vec3b>(y);
        const float* detail = cues.detail.ptr<float>(y);
        cv::Vec3b* out = features.ptr<cv::Vec3b>(y);
        for (int x = 0; x < labels.cols; ++x) {
            const double along = kChromaGain * ((lab[x][1] - centre[0]) * axis[0] +
                                                (lab[x][2] - centre[1]) * axis[1]);
            out[x] = cv::Vec3b(lab[x][0], cv::saturate_cast<uchar>(128 + along),
                               cv::saturate_cast<uchar>(detail[x] * detailScale));
        }
    }
    return features;
}

QRect changedArea(const QImage& before, const QImage& after) {
    const cv::Mat a = viewOf(before, CV_8UC1);
    const cv::Mat b = viewOf(after, CV_8UC1);
    const cv::Rect area = cv::boundingRect(a != b);
    return area.empty() ? QRect() : QRect(area.x, area.y, area.width, area.height);
}

}  // namespace

AlignedPhoto alignPhoto(const QImage& photo, const EyePair& eyes, const EyePair& model,
                        QSize size) {
    AlignedPhoto aligned;
    const QImage source = photo.convertToFormat(QImage::Format_RGB32);
    aligned.frame = preparePhotoAt(source, eyes, model, size).picture;
    aligned.eyes = model;
    aligned.photoArea = eyeAlignment(eyes, model)
                            .map(QPolygonF{QPointF(0, 0), QPointF(source.width() - 1, 0),
                                           QPointF(source.width() - 1, source.height() - 1),
                                           QPointF(0, source.height() - 1)});
    // Strands are measured at no more than four times the frame's scale, so a huge photo's noise
    // does not pass for detail.
    const double photoDistance =
        std::hypot(eyes.right.x() - eyes.left.x(), eyes.right.y() - eyes.left.y());
    const double frameDistance =
        std::hypot(model.right.x() - model.left.x(), model.right.y() - model.left.y());
    if (source.isNull() || !(photoDistance > 0) || !(frameDistance > 0)) {
        return aligned;
    }
    // Only the part of the photo the frame shows, with a margin for the blur.
    const QRect shown = eyeAlignment(eyes, model)
                            .inverted()
                            .mapRect(QRectF(QPointF(-1, -1), QSizeF(size) + QSizeF(2, 2)))
                            .toAlignedRect()
                            .adjusted(-8, -8, 8, 8) &
                        source.rect();
    if (shown.isEmpty()) {
        return aligned;
    }
    const double reduce = std::min(1.0, 4 * frameDistance / photoDistance);
    cv::Mat bgr;
    cv::cvtColor(
        viewOf(source, CV_8UC4)(cv::Rect(shown.x(), shown.y(), shown.width(), shown.height())), bgr,
        cv::COLOR_BGRA2BGR);
    if (reduce < 1) {
        cv::resize(bgr, bgr, cv::Size(), reduce, reduce, cv::INTER_AREA);
    }
    cv::Mat detail;
    fineDetail(bgr).convertTo(detail, CV_8U, kDetailGain);
    QImage plane(detail.cols, detail.rows, QImage::Format_RGB32);
    cv::Mat planeView = viewOf(plane, CV_8UC4);
    cv::cvtColor(detail, planeView, cv::COLOR_GRAY2BGRA);
    const auto scaled = [&](const QPointF& p) {
        return QPointF((p.x() - shown.x() + 0.5) * detail.cols / shown.width() - 0.5,
                       (p.y() - shown.y() + 0.5) * detail.rows / shown.height() - 0.5);
    };
    aligned.detail =
        preparePhotoAt(plane, EyePair{scaled(eyes.left), scaled(eyes.right)}, model, size)
            .picture.convertToFormat(QImage::Format_Grayscale8);
    return aligned;
}

QImage hairSeeds(const AlignedPhoto& photo) {
    if (photo.frame.isNull()) {
        return {};
    }
    const Geometry g(photo);
    return greyPicture(seedsOf(photo, g, cuesOf(photo, g)));
}

QImage faceSkin(const AlignedPhoto& photo) {
    if (photo.frame.isNull()) {
        return {};
    }
    const Geometry g(photo);
    return greyPicture(cuesOf(photo, g).skin);
}

struct HairSelection::State {
    cv::Mat labels;
    cv::Mat backgroundModel;
    cv::Mat hairModel;
    QImage hard;
    QImage alpha;
};

struct HairSelection::Impl {
    AlignedPhoto photo;
    double d = 0;
    QImage filled;  // RGB32, the frame with the photo's edge repeated outside it
    cv::Mat features;
    std::vector<State> states;  // [0] the automatic selection, then one per stroke
    std::vector<Stroke> strokes;
    QImage colour;

    // One run of the cut over `state`'s labels; `learn` starts the models from the labels.
    void cut(State& state, bool learn) const {
        const bool both = cv::countNonZero((state.labels & 1) != 0) > 0 &&
                          cv::countNonZero((state.labels & 1) == 0) > 0;
        if (both) {
            try {
                if (learn) {
                    cv::theRNG().state = kCutSeed;
                    cv::grabCut(features, state.labels, cv::Rect(), state.backgroundModel,
                                state.hairModel, 0, cv::GC_INIT_WITH_MASK);
                    cv::grabCut(features, state.labels, cv::Rect(), state.backgroundModel,
                                state.hairModel, 1, cv::GC_EVAL_FREEZE_MODEL);
                }
                cv::grabCut(features, state.labels, cv::Rect(), state.backgroundModel,
                            state.hairModel, 2, cv::GC_EVAL);
            } catch (const cv::Exception&) {
                // The labels stand as they are.
            }
        }
        state.hard = finish(state.labels);
    }

    // A stroke changes what it touches, and whole regions the cut now sees differently (a flag
    // taken for hair goes with one stroke across it); the cut's one- or two-pixel shifts of the
    // outline elsewhere are left out, so the rest of the outline stays as the stylist saw it.
    void keepNear(State& state, const State& before, const cv::Mat& stamped,
                  const Stroke& stroke) const {
        const cv::Mat changed = ((state.labels & 1) != 0) != ((before.labels & 1) != 0);
        cv::Mat near = stamped != before.labels;
        const int reach = 2 * (stroke.radius + kSoftBand) + 1;
        cv::dilate(near, near,
                   cv::getStructuringElement(cv::MORPH_ELLIPSE, cv::Size(reach, reach)));
        // Thick: a changed pixel with no unchanged pixel within two pixels, and what is connected
        // to it through changed pixels.
        cv::Mat depth;
        cv::distanceTransform(changed, depth, cv::DIST_L2, 3);
        cv::Mat pieces;
        const int count = cv::connectedComponents(changed, pieces, 8, CV_32S);
        std::vector<char> thick(std::size_t(count), 0);
        for (int y = 0; y < pieces.rows; ++y) {
            for (int x = 0; x < pieces.cols; ++x) {
                if (depth.at<float>(y, x) > 2.5f) {
                    thick[std::size_t(pieces.at<int>(y, x))] = 1;
                }
            }
        }
        for (int y = 0; y < pieces.rows; ++y) {
            for (int x = 0; x < pieces.cols; ++x) {
                const int piece = pieces.at<int>(y, x);
                if (piece > 0 && !thick[std::size_t(piece)] && !near.at<uchar>(y, x)) {
                    state.labels.at<uchar>(y, x) = before.labels.at<uchar>(y, x);
                }
            }
        }
        state.hard = finish(state.labels);
    }

    // The selected pieces that hold a certainly selected pixel, small holes filled.
    QImage finish(const cv::Mat& labels) const {
        cv::Mat selected = (labels & 1) != 0;
        cv::Mat pieces;
        int count = cv::connectedComponents(selected, pieces, 8, CV_32S);
        std::vector<char> keep(std::size_t(count), 0);
        for (int y = 0; y < labels.rows; ++y) {
            for (int x = 0; x < labels.cols; ++x) {
                if (labels.at<uchar>(y, x) == label(PixelLabel::Selected)) {
                    keep[std::size_t(pieces.at<int>(y, x))] = 1;
                }
            }
        }
        keep[0] = 0;
        for (int y = 0; y < labels.rows; ++y) {
            for (int x = 0; x < labels.cols; ++x) {
                selected.at<uchar>(y, x) = keep[std::size_t(pieces.at<int>(y, x))] ? 255 : 0;
            }
        }
        cv::Mat holes;
        cv::Mat stats;
        cv::Mat centres;
        count = cv::connectedComponentsWithStats(selected == 0, holes, stats, centres, 4, CV_32S);
        std::vector<char> fill(std::size_t(count), 0);
        for (int i = 1; i < count; ++i) {
            const cv::Rect box(
                stats.at<int>(i, cv::CC_STAT_LEFT), stats.at<int>(i, cv::CC_STAT_TOP),
                stats.at<int>(i, cv::CC_STAT_WIDTH), stats.at<int>(i, cv::CC_STAT_HEIGHT));
            const bool onBorder =
                box.x == 0 || box.y == 0 || box.br().x == labels.cols || box.br().y == labels.rows;
            fill[std::size_t(i)] =
                !onBorder && stats.at<int>(i, cv::CC_STAT_AREA) < kSmallHole * d * d;
        }
        for (int y = 0; y < labels.rows; ++y) {
            for (int x = 0; x < labels.cols; ++x) {
                if (labels.at<uchar>(y, x) == label(PixelLabel::Background)) {
                    fill[std::size_t(holes.at<int>(y, x))] = 0;
                }
            }
        }
        for (int y = 0; y < labels.rows; ++y) {
            for (int x = 0; x < labels.cols; ++x) {
                if (fill[std::size_t(holes.at<int>(y, x))]) {
                    selected.at<uchar>(y, x) = 255;
                }
            }
        }
        return greyPicture(selected);
    }

    void showState() { colour = strandColour(filled, states.back().alpha); }

    // The automatic selection from `labels`.
    void begin(const Geometry& g, const Cues& cues, cv::Mat labels) {
        d = g.d;
        filled = rgbPicture(cues.filled);
        State state;
        state.labels = std::move(labels);
        features = featuresOf(cues, state.labels, g);
        cut(state, true);
        state.alpha = softAlpha(filled, state.hard);
        states.push_back(std::move(state));
        showState();
    }
};

HairSelection::HairSelection() : impl_(std::make_unique<Impl>()) {}
HairSelection::~HairSelection() = default;

void HairSelection::start(const AlignedPhoto& photo) {
    *impl_ = Impl{};
    impl_->photo = photo;
    if (!photo.frame.isNull()) {
        const Geometry g(photo);
        const Cues cues = cuesOf(photo, g);
        impl_->begin(g, cues, seedsOf(photo, g, cues));
    }
}

void HairSelection::start(const AlignedPhoto& photo, const QImage& seeds) {
    *impl_ = Impl{};
    impl_->photo = photo;
    if (!photo.frame.isNull() && seeds.size() == photo.frame.size()) {
        const Geometry g(photo);
        impl_->begin(g, cuesOf(photo, g),
                     viewOf(seeds.convertToFormat(QImage::Format_Grayscale8), CV_8UC1).clone());
    }
}

bool HairSelection::started() const {
    return !impl_->states.empty();
}

void HairSelection::addStroke(const Stroke& stroke) {
    Impl& impl = *impl_;
    if (impl.states.empty()) {
        return;
    }
    const State& before = impl.states.back();
    State state;
    state.labels = before.labels.clone();
    state.backgroundModel = before.backgroundModel.clone();
    state.hairModel = before.hairModel.clone();
    QImage labels(state.labels.data, state.labels.cols, state.labels.rows,
                  static_cast<qsizetype>(state.labels.step), QImage::Format_Grayscale8);
    stampStroke(labels, stroke);
    const cv::Mat stamped = state.labels.clone();
    impl.cut(state, before.hairModel.empty() || before.backgroundModel.empty());
    impl.keepNear(state, before, stamped, stroke);
    const QRect changed = changedArea(before.hard, state.hard);
    state.alpha =
        changed.isNull() ? before.alpha : softAlpha(impl.filled, state.hard, before.alpha, changed);
    impl.states.push_back(std::move(state));
    impl.strokes.push_back(stroke);
    impl.showState();
}

bool HairSelection::undo() {
    Impl& impl = *impl_;
    if (impl.strokes.empty()) {
        return false;
    }
    impl.strokes.pop_back();
    impl.states.pop_back();
    impl.showState();
    return true;
}

void HairSelection::reset() {
    Impl& impl = *impl_;
    if (impl.states.size() > 1) {
        impl.states.resize(1);
        impl.strokes.clear();
        impl.showState();
    }
}

const std::vector<Stroke>& HairSelection::strokes() const {
    return impl_->strokes;
}

const AlignedPhoto& HairSelection::photo() const {
    return impl_->photo;
}

QImage HairSelection::labels() const {
    return impl_->states.empty() ? QImage() : greyPicture(impl_->states.back().labels);
}

QImage HairSelection::hardMask() const {
    return impl_->states.empty() ? QImage() : impl_->states.back().hard;
}

QImage HairSelection::alpha() const {
    return impl_->states.empty() ? QImage() : impl_->states.back().alpha;
}

QImage HairSelection::colour() const {
    return impl_->colour;
}

}  // namespace crinova
