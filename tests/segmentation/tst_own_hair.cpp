#include <QtTest>

#include <opencv2/imgproc.hpp>

#include "debian_photo.h"
#include "face/photo_preparation.h"
#include "hair_styles.h"
#include "overlay/lab_colour.h"
#include "real_hair.h"
#include "sample_folder.h"
#include "segmentation/own_hair.h"

using namespace crinova;
using namespace crinova::test;

Q_DECLARE_METATYPE(std::vector<QPointF>)

namespace {

cv::Mat matOf(const QImage& grey) {
    return cv::Mat(grey.height(), grey.width(), CV_8UC1, const_cast<uchar*>(grey.constBits()),
                   std::size_t(grey.bytesPerLine()))
        .clone();
}

// Per pixel: L*, a*, b* and the spread of L* over 3, 9 and 17 pixels square (strands have it, a
// backdrop less; the widest tells dark strands from dark leaves).
cv::Mat featuresOf(const QImage& frame) {
    cv::Mat rgb(frame.height(), frame.width(), CV_8UC4, const_cast<uchar*>(frame.constBits()),
                std::size_t(frame.bytesPerLine()));
    cv::Mat lab;
    cv::Mat(rgb).convertTo(lab, CV_32FC4, 1.0 / 255);
    cv::cvtColor(lab, lab, cv::COLOR_BGRA2BGR);
    cv::cvtColor(lab, lab, cv::COLOR_BGR2Lab);
    std::vector<cv::Mat> channels;
    cv::split(lab, channels);
    for (const int side : {3, 9, 17}) {
        cv::Mat mean, square, spread;
        cv::blur(channels[0], mean, {side, side});
        cv::blur(channels[0].mul(channels[0]), square, {side, side});
        cv::sqrt(cv::max(square - mean.mul(mean), 0), spread);
        channels.push_back(spread);
    }
    for (int c : {1, 2}) {
        cv::GaussianBlur(channels[std::size_t(c)], channels[std::size_t(c)], {}, 1.5);
    }
    cv::Mat features;
    cv::merge(channels, features);
    return features.reshape(1, int(features.total()));
}

// "Still looks like hair": Gaussians of the photo's own hair, backdrop and skin; a pixel is hair
// when the hair's likelihood beats both others' by more than it does on all but 5 % of the true
// backdrop.
struct HairLook {
    struct Model {
        cv::Mat mean, inverse;
        double logDet = 0;
        double logLikelihood(const cv::Mat& row) const {
            const cv::Mat d = row - mean;
            return -0.5 * (cv::Mat(d * inverse * d.t()).at<double>(0) + logDet);
        }
    };
    Model hair, backdrop, skin;
    double threshold = 0;

    static Model model(const cv::Mat& features, const cv::Mat& mask) {
        cv::Mat samples;
        for (int i = 0; i < mask.rows * mask.cols; ++i) {
            if (mask.data[i]) {
                samples.push_back(features.row(i));
            }
        }
        Model m;
        cv::Mat covariance;
        cv::calcCovarMatrix(samples, covariance, m.mean,
                            cv::COVAR_NORMAL | cv::COVAR_ROWS | cv::COVAR_SCALE, CV_64F);
        covariance += cv::Mat::eye(features.cols, features.cols, CV_64F) * 0.5;
        m.inverse = covariance.inv();
        m.logDet = std::log(cv::determinant(covariance));
        return m;
    }
    double score(const cv::Mat& features, int i) const {
        cv::Mat row;
        features.row(i).convertTo(row, CV_64F);
        return hair.logLikelihood(row) -
               std::max(backdrop.logLikelihood(row), skin.logLikelihood(row));
    }
    HairLook(const cv::Mat& features, const cv::Mat& hairMask, const cv::Mat& backdropMask,
             const cv::Mat& skinMask)
        : hair(model(features, hairMask)),
          backdrop(model(features, backdropMask)),
          skin(model(features, skinMask)) {
        std::vector<double> scores;
        for (int i = 0; i < backdropMask.rows * backdropMask.cols; ++i) {
            if (backdropMask.data[i]) {
                scores.push_back(score(features, i));
            }
        }
        std::nth_element(scores.begin(), scores.begin() + scores.size() * 95 / 100, scores.end());
        threshold = scores[scores.size() * 95 / 100];
    }
    // The share of `where` that looks like hair on `frame`.
    double share(const QImage& frame, const cv::Mat& where) const {
        const cv::Mat features = featuresOf(frame);
        int flagged = 0;
        for (int i = 0; i < where.rows * where.cols; ++i) {
            flagged += where.data[i] && score(features, i) > threshold;
        }
        return double(flagged) / std::max(1, cv::countNonZero(where));
    }
};

// The mean CIEDE2000 difference of two pictures smoothed by a Gaussian of 2 pixels within
// `where` (so that nothing next to it bleeds in), and the ratio of their fine lightness detail
// (the median of |L* less its smoothing|), over `where`.
std::pair<double, double> fillAgainstTruth(const QImage& filled, const QImage& truth,
                                           const cv::Mat& where) {
    cv::Mat weight, total;
    where.convertTo(weight, CV_32F, 1.0 / 255);
    cv::GaussianBlur(weight, total, {}, 2);
    const auto smooth = [&](const QImage& picture) {
        cv::Mat rgb, sum;
        cv::Mat(picture.height(), picture.width(), CV_8UC4, const_cast<uchar*>(picture.constBits()),
                std::size_t(picture.bytesPerLine()))
            .convertTo(rgb, CV_32FC4);
        cv::Mat weight4;
        cv::merge(std::vector<cv::Mat>(4, weight), weight4);
        cv::GaussianBlur(rgb.mul(weight4), sum, {}, 2);
        return sum;
    };
    const cv::Mat a = smooth(filled);
    const cv::Mat b = smooth(truth);
    const auto detail = [&](const QImage& picture) {
        cv::Mat l = featuresOf(picture).col(0).clone().reshape(1, picture.height());
        cv::Mat blurred;
        cv::GaussianBlur(l, blurred, {}, 2);
        const cv::Mat fine = cv::abs(l - blurred);
        std::vector<float> values;
        for (int i = 0; i < where.rows * where.cols; ++i) {
            if (where.data[i]) {
                values.push_back(fine.at<float>(i));
            }
        }
        std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
        return double(values[values.size() / 2]);
    };
    double sum = 0;
    for (int y = 0; y < where.rows; ++y) {
        for (int x = 0; x < where.cols; ++x) {
            if (where.at<uchar>(y, x)) {
                const auto rgb = [&](const cv::Mat& m) {
                    const cv::Vec4f v = m.at<cv::Vec4f>(y, x) / total.at<float>(y, x);
                    return qRgb(int(v[2] + 0.5f), int(v[1] + 0.5f), int(v[0] + 0.5f));
                };
                sum += deltaE2000(labFromRgb(rgb(a)), labFromRgb(rgb(b)));
            }
        }
    }
    return {sum / cv::countNonZero(where), detail(filled) / detail(truth)};
}

}  // namespace

class TestOwnHair : public QObject {
    Q_OBJECT

  private slots:
    void realPhotographs_data();
    void realPhotographs();
};

void TestOwnHair::realPhotographs_data() {
    QTest::addColumn<QString>("package");
    QTest::addColumn<QString>("file");
    QTest::addColumn<std::vector<QPointF>>("outline");
    QTest::addColumn<double>("coverage");   // of the hand-drawn hair by the region, at least
    QTest::addColumn<double>("hairLeft");   // of the region still looking like hair, at most
    QTest::addColumn<double>("ringDelta");  // smoothed CIEDE2000 on a ring of true backdrop
    QTest::addColumn<bool>("shortStyle");   // the short installed style on top
    QTest::newRow("astronaut before a studio backdrop")
        << kAstronautPackage << kAstronautFile << kAstronautHair << 0.99 << 0.02 << 1.6 << true;
    QTest::newRow("man with short dark hair before foliage")
        << kManPackage << kManFile << kManHair << 0.95 << 0.08 << 7.0 << false;
}

void TestOwnHair::realPhotographs() {
    QFETCH(QString, package);
    QFETCH(QString, file);
    QFETCH(std::vector<QPointF>, outline);
    QFETCH(double, coverage);
    QFETCH(double, hairLeft);
    QFETCH(double, ringDelta);
    QFETCH(bool, shortStyle);
    const QString path = debianPackageFile(QStringLiteral(CRINOVA_DEBIAN_PHOTOS), package, file);
    if (path.isEmpty()) {
        QSKIP("the package could not be downloaded");
    }
    const QImage original = QImage(path).convertToFormat(QImage::Format_RGB32);
    const EyeSearch search = findEyesReduced(original);
    QVERIFY(search.eyes.has_value());
    const QTransform toFrame = eyeAlignment(*search.eyes, modelEyes());
    AlignedPhoto photo;
    photo.frame = preparePhotoAt(original, *search.eyes, modelEyes(), kStyleSize).picture;
    photo.eyes = modelEyes();
    photo.photoArea = toFrame.map(QPolygonF(QRectF(QPointF(0, 0), original.size() - QSize(1, 1))));

    OwnHair own;
    own.start(photo);
    QVERIFY(own.hairFound());
    const cv::Mat region = matOf(own.region()) != 0;
    const cv::Mat truth = matOf(outlineOnFrame(outline, toFrame)) != 0;
    cv::Mat inPhoto = cv::Mat::zeros(truth.size(), CV_8UC1);
    std::vector<cv::Point> corners;
    for (const QPointF& p : photo.photoArea) {
        corners.emplace_back(int(p.x()), int(p.y()));
    }
    cv::fillConvexPoly(inPhoto, corners, 255);
    cv::erode(inPhoto, inPhoto, cv::Mat());

    // Nothing outside the region changes, and the result keeps bit for bit as a PNG.
    for (int y = 0; y < region.rows; ++y) {
        for (int x = 0; x < region.cols; ++x) {
            QVERIFY(region.at<uchar>(y, x) || own.hidden().pixel(x, y) == photo.frame.pixel(x, y));
        }
    }
    QTemporaryDir folder;
    QVERIFY(own.hidden().save(folder.filePath(QStringLiteral("x-sinpelo.png"))));
    QCOMPARE(QImage(folder.filePath(QStringLiteral("x-sinpelo.png")))
                 .convertToFormat(QImage::Format_RGB32),
             own.hidden());

    const double covered = double(cv::countNonZero(truth & region)) / cv::countNonZero(truth);
    QVERIFY2(covered >= coverage, qPrintable(QString::number(covered)));

    // The classifier learns from the photo itself: the hand-drawn hair, the backdrop around the
    // region (above the chin, off the face), the skin. "Before" is measured on the hand-drawn
    // hair: the region also holds whatever backdrop the selection took in.
    const cv::Mat skin = (matOf(faceSkin(photo)) != 0) & (region == 0);
    cv::Mat oval = cv::Mat::zeros(truth.size(), CV_8UC1);
    for (int y = 0; y < oval.rows; ++y) {
        for (int x = 0; x < oval.cols; ++x) {
            oval.at<uchar>(y, x) = faceOval(photo.eyes).coverage(x, y) > 0 ? 255 : 0;
        }
    }
    cv::dilate(oval, oval, cv::Mat(), {-1, -1}, 3);
    const double eyeDistance = photo.eyes.right.x() - photo.eyes.left.x();
    cv::Mat aboveChin = cv::Mat::zeros(truth.size(), CV_8UC1);
    aboveChin.rowRange(0, int(photo.eyes.left.y() + 1.6 * eyeDistance)).setTo(255);
    cv::Mat near, hairCore;
    cv::dilate(region, near, cv::getStructuringElement(cv::MORPH_ELLIPSE, {91, 91}));
    cv::erode(truth, hairCore, cv::Mat(), {-1, -1}, 2);
    const cv::Mat backdrop = near & (region == 0) & (oval == 0) & (skin == 0) & aboveChin & inPhoto;
    const HairLook look(featuresOf(photo.frame), hairCore, backdrop, skin);
    const cv::Mat regionInPhoto = region & inPhoto;
    const double before = look.share(photo.frame, hairCore);
    const double after = look.share(own.hidden(), regionInPhoto);
    if (shortStyle) {
        const QImage mask = samples::drawHairStyle(samples::sampleStyles()[2].style)
                                .mask.convertToFormat(QImage::Format_Grayscale8);
        const double uncovered = look.share(own.hidden(), regionInPhoto & (matOf(mask) != 0));
        qInfo("under the short style, uncovered: %.4f looks like hair", uncovered);
        QVERIFY2(uncovered <= 0.02, qPrintable(QString::number(uncovered)));
    }

    // A ring of 20 pixels of true backdrop around the region, hidden too, against the truth:
    // above the jaw and clear of the skin, where the backdrop is all there is.
    cv::Mat ring, nearSkin;
    cv::dilate(region, ring, cv::getStructuringElement(cv::MORPH_ELLIPSE, {41, 41}));
    cv::dilate(skin, nearSkin, cv::getStructuringElement(cv::MORPH_ELLIPSE, {11, 11}));
    ring &= backdrop & (nearSkin == 0);
    ring.rowRange(int(photo.eyes.left.y()), ring.rows).setTo(0);
    const cv::Mat hiddenWithRing = ring | region;
    const QImage ringed =
        fillOwnHair(photo, QImage(hiddenWithRing.data, hiddenWithRing.cols, hiddenWithRing.rows,
                                  int(hiddenWithRing.step), QImage::Format_Grayscale8));
    const auto [delta, texture] = fillAgainstTruth(ringed, photo.frame, ring);
    qInfo("hair covered %.3f; looks like hair %.3f before, %.4f after; ring dE %.2f, texture %.2f",
          covered, before, after, delta, texture);
    QVERIFY2(before > 0.8, qPrintable(QString::number(before)));
    QVERIFY2(after <= hairLeft, qPrintable(QString::number(after)));
    QVERIFY2(delta <= ringDelta, qPrintable(QString::number(delta)));
    QVERIFY2(texture >= 0.6 && texture <= 1.3, qPrintable(QString::number(texture)));
}

QTEST_MAIN(TestOwnHair)
#include "tst_own_hair.moc"
