#pragma once

#include <QImage>
#include <QPointF>
#include <QRect>
#include <QString>

#include <memory>
#include <optional>

namespace crinova {

// The centres of a person's two eyes on a picture, in pixels (pixel (i, j) is the point (i, j)),
// named by their side on the screen: `left` has the smaller x.
struct EyePair {
    QPointF left;
    QPointF right;
};

// The folder where Debian's opencv-data package installs the Haar cascades.
inline const QString kHaarCascadeFolder = QStringLiteral("/usr/share/opencv4/haarcascades");
inline const QString kFaceCascadeFile = QStringLiteral("haarcascade_frontalface_default.xml");
inline const QString kEyeCascadeFile = QStringLiteral("haarcascade_eye.xml");

// The trained face and eye detectors. Loading reads two XML files; keep one loaded set for the
// run (sharedCascades) rather than loading per search.
class FaceCascades {
  public:
    FaceCascades();
    ~FaceCascades();
    FaceCascades(const FaceCascades&) = delete;
    FaceCascades& operator=(const FaceCascades&) = delete;

    // Loads both cascades from `folder`. On failure answers false and names, in `missingFile`,
    // the full path of the first file that is missing or cannot be read as a cascade.
    bool load(const QString& folder, QString* missingFile = nullptr);
    bool loaded() const;
    // The file that failed at the last load, or empty.
    const QString& missingFile() const { return missing_; }

    struct Detectors;
    Detectors& detectors() const { return *detectors_; }

  private:
    std::unique_ptr<Detectors> detectors_;
    QString missing_;
};

// The cascades of kHaarCascadeFolder, loaded once at the first call; later calls answer the same
// set (loaded or not: a failed load is not retried during the run).
FaceCascades& sharedCascades();

enum class EyeFault {
    None,
    CascadeMissing,  // a cascade file is missing (FaceCascades::missingFile names it)
    NoFace,
    NoEyes,  // a face, but not two eyes side by side in its upper half
};

struct EyeSearch {
    std::optional<EyePair> eyes;  // set exactly when `fault` is None
    EyeFault fault = EyeFault::NoFace;
    QRect face;  // the face used, when one was found
};

// Finds the eyes of the largest frontal face on `photo`: the face cascade over the picture, the
// eye cascade inside the face's upper part, of the candidates the pair that lies side by side at
// a similar height (a line within 30 degrees of level) widest apart, and each centre refined to the
// darkest spot inside its box (the pupil and iris). A head tilted past the face cascade's reach is
// looked for again on the picture turned back 15 degrees either way. Any picture is accepted: a
// null, tiny, dark or black picture simply gives NoFace.
EyeSearch findEyes(const QImage& photo, const FaceCascades& cascades = sharedCascades());

// How the face detector scans a picture: the smallest face it looks for, in pixels (0: a tenth of
// the picture's shorter side, at least 24), and the factor between one size tried and the next.
struct FaceScan {
    int smallestFace = 0;
    double step = 1.1;
};

// The same search without the second look for a tilted head: one pass, for a live picture, where
// a coarser scan (`scan`) may buy speed.
EyeSearch findEyesUpright(const QImage& photo, const FaceCascades& cascades = sharedCascades(),
                          FaceScan scan = {});

}  // namespace crinova
