#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "overlay/hair_shades.h"
#include "segmentation/own_hair.h"

namespace crinova {

// The working photos with the client's own hair hidden, one per photo file. The first time a
// photo is asked for, its hair is selected and hidden, and the result is kept beside the photo as
// a lossless PNG, "<name>-sinpelo.png", holding the strokes and a checksum of the photo's pixels;
// it is found there again the next time, and made again when the photo's contents changed. When
// the folder cannot be written, the result is kept for the run.
class OwnHairPhotos {
  public:
    struct Photo {
        QByteArray checksum;  // of the photo's pixels
        qint64 photoKey = 0;  // QImage::cacheKey of the picture last asked about
        bool faceFound = false;
        std::optional<EyePair> clickedEyes;  // where the stylist clicked them, no face being found
        bool hairFound = false;
        QImage hidden;       // the photo itself when no hair is hidden
        QString storeError;  // empty: stored beside the photo (or nothing to store)
        bool storeErrorTold = false;
        std::vector<Stroke> strokes;
        std::unique_ptr<OwnHair> own;      // the selection, made when the hair is corrected
        std::optional<HairColour> colour;  // of `recoloured`
        QImage recoloured;
    };

    // The photo with its hair hidden (the photo itself when there is none, or no face).
    QImage hidden(const QString& path, const QImage& photo);
    // What is known of a photo already asked about; null otherwise.
    Photo* find(const QString& path);
    // The selection of `photo` (read from `path`), started (the strokes replayed) when needed;
    // null without a face.
    OwnHair* selection(const QString& path, const QImage& photo);
    // The photo with its own hair in `colour`, soft at the hair's edge (the photo itself when it
    // has no hair).
    QImage recoloured(const QString& path, const QImage& photo, const HairColour& colour);
    // After the selection changed: hidden again, and kept again.
    void corrected(const QString& path);
    // A photo whose face was not found, with the eyes the stylist clicked (on the photo's
    // pixels): its hair selected and hidden from them, and kept with them.
    void hideWithEyes(const QString& path, const QImage& photo, const EyePair& eyes);

    static QString storedName(const QString& path);

    // Where preparation put the eyes on the working photo read from a path, with that size, if it
    // knows: taken when the eyes cannot be found on the small photo itself.
    void setPreparedEyes(std::function<std::optional<EyePair>(const QString&, QSize)> eyes) {
        preparedEyes_ = std::move(eyes);
    }

  private:
    std::optional<EyePair> eyesOn(const QString& path, const Photo& entry,
                                  const QImage& photo) const;
    // Selects and hides the hair of `photo` from `eyes`, keeping the result when there is hair.
    void select(const QString& path, Photo& entry, const QImage& photo, const EyePair& eyes);
    void store(const QString& path, Photo& photo);

    std::map<QString, Photo> photos_;
    std::function<std::optional<EyePair>(const QString&, QSize)> preparedEyes_;
};

}  // namespace crinova
