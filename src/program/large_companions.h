#pragma once

#include <QImage>
#include <QMap>
#include <QSize>
#include <QString>

namespace crinova {

// How many times larger than the screen's picture a large companion is, in each direction.
inline constexpr int kLargeFactor = 4;

// A picture's large companion is the same picture drawn or rendered kLargeFactor times larger,
// beside it under the same name with "-grande" before the extension: "\pelo3.jpg" has
// "\pelo3-grande.jpg", the slot "\foto2.bmp" has "\foto2-grande.png". Full paths in, full path out;
// `extension` without the dot.
QString largeCompanionPath(const QString& picturePath, const QString& extension);

// The companion names looked for, in order: ".png", then ".jpg".
QStringList largeCompanionCandidates(const QString& picturePath);

// The picture a companion's name belongs to, with `pictureExtension` (without the dot):
// "\foto2-grande.png" with "bmp" is "\foto2.bmp". Empty when the name is not a companion's.
QString companionPicturePath(const QString& companionPath, const QString& pictureExtension);

// Whether the file at `path` is a companion the program wrote: it carries a stamp. A photo that
// merely has a companion's name (a client's photo chosen as "ana-grande.jpg") does not.
bool isStampedCompanion(const QString& path);

// A companion belongs to the exact bytes of its picture: it carries, as the text kStampKey, the
// stamp of the picture it was made for (an MD5 of the file, in hex). A picture written over later
// (the eraser's, a replaced slot) no longer matches, and its old companion is not used.
inline const char* const kStampKey = "crinova-pequena";
QString pictureStamp(const QString& path);  // empty when the file cannot be read

// The texts a look's companion carries besides the stamp: the style's name and its colour.
inline const char* const kStyleKey = "estilo";
inline const char* const kColourKey = "color";

// Writes `picture` as the companion of `picturePath`, PNG or JPEG by `companionPath`'s extension,
// with the stamp of `picturePath` as it is now and `texts`: whole or not at all (a full disk or a
// crash never leaves half a file). On failure answers false and, when `error` is given, a Spanish
// reason.
bool writeLargeCompanion(const QImage& picture, const QString& companionPath,
                         const QString& picturePath, const QMap<QString, QString>& texts = {},
                         QString* error = nullptr);

// A picture's companion as it stands: found among the candidates, readable, exactly kLargeFactor
// times the picture's size and stamped for the picture's present bytes. `texts`, when given,
// receives its texts. Null otherwise.
QImage loadLargeCompanion(const QString& picturePath, QMap<QString, QString>* texts = nullptr);

// Companions are written on a thread of their own (a PNG of a large look takes a while). A path
// is pending from the moment its write is queued until it is written or dropped; whoever reads,
// copies or deletes a companion waits for it first, so nobody sees an old one or half a new one.
void markCompanionPending(const QString& companionPath);
void companionSettled(const QString& companionPath);
void waitForCompanion(const QString& companionPath);

// Deletes every companion of `picturePath` (after any pending write); answers whether none is
// left.
bool deleteLargeCompanions(const QString& picturePath);

// Makes `toPicture`'s companion a copy of `fromPicture`'s (deleting it when the source has none),
// after any pending write of either. Answers false when a copy could not be made.
bool copyLargeCompanion(const QString& fromPicture, const QString& toPicture);

}  // namespace crinova
