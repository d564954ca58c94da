#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <cstddef>
#include <list>

#include "platform/plain_file.h"

namespace crinova {

// Why a picture could not be loaded.
enum class PictureFault { None, Missing, Empty, Unreadable, NotAPicture, TooLarge, NotAFile };

struct PictureLoad {
    QImage picture;  // RGB32; null exactly when `fault` is not None
    PictureFault fault = PictureFault::None;
    QString path;  // the full path asked for, for messages
    QSize size;    // the picture's size in pixels as its file gives it, also when it was TooLarge
    qint64 needed = 0;  // the bytes reading it would have taken, when that refused it
    int limitMb = 0;    // the memory it was allowed, then

    bool ok() const { return fault == PictureFault::None; }
};

// How much of a picture its caller shows, so that no more of it is read: the reader clips or
// scales while it decodes where the format allows (JPEG); otherwise (BMP) the whole picture is
// decoded once, in the file's own pixel format, and cut or reduced at once.
struct PictureShown {
    enum class Way { Whole, TopLeft, Reduced };
    Way way = Way::Whole;
    QSize size;

    static PictureShown whole() { return {}; }
    // A picture box of `size` (the main picture's buffers): the picture stands at its top-left
    // corner, unscaled, and only the part inside the box is read.
    static PictureShown topLeft(QSize size) { return {Way::TopLeft, size}; }
    // A thumbnail: the whole picture reduced to fit inside `size`, keeping its proportions; a
    // picture that already fits is read as it is.
    static PictureShown reducedInto(QSize size) { return {Way::Reduced, size}; }

    bool operator==(const PictureShown&) const = default;
};

// The memory reading one picture may take, in MB: the decoded picture in the file's pixel format
// (the whole of it where the reader cannot clip or scale while decoding) and the RGB32 copy kept.
// Qt's default (128 MB) refuses an ordinary 48-megapixel phone photo (8000 x 6000 at 4 bytes a
// pixel is 192 MB). 512 MB holds 134 megapixels, past the 108-megapixel photos of today's phones,
// while the copies the program keeps of a photo (the cache's and the working picture's) still fit
// in an ordinary 4 GB desktop beside the system.
inline constexpr int kPictureMemoryLimitMb = 512;

// Sets Qt's decoding limit to kPictureMemoryLimitMb; called once when the program starts.
void allowLargePictures();

// Loads a JPEG or BMP file, recognising the format from the content and never from the name, so a
// bitmap saved under a ".jpg" name loads. Only a plain file is opened (a pipe or a device never
// holds the program: NotAFile). A failure is an error value naming the file, never a silent empty
// picture. A picture wider or higher than `largest` (when given), or one that would take more
// memory than kPictureMemoryLimitMb, is refused as TooLarge from its header, undecoded.
PictureLoad loadPicture(const QString& path, QSize largest = {});

// Loads as loadPicture does, reading no more of the picture than `shown`, within `limitMb` of
// memory.
PictureLoad loadShownPicture(const QString& path, const PictureShown& shown,
                             int limitMb = kPictureMemoryLimitMb);

// The Spanish sentence a stylist reads when a picture cannot be opened; it names the file.
QString pictureFaultMessage(const PictureLoad& load);
inline const char* const kPictureFaultTitle = "Error al Abrir la Imagen";

// Writes a picture as a Windows bitmap, replacing `path` whole or not at all: a crash or a full
// disk never leaves half a file. On failure answers false and, when `error` is given, a Spanish
// reason.
bool savePictureBmp(const QImage& picture, const QString& path, QString* error = nullptr);

// Loads pictures as loadShownPicture does, but decodes a file again only when it changed, so
// repeated compositions do not pay for decoding, nor for reading a large file. A change is told by
// the file's identity (device, inode, size, modification and status-change times to the
// nanosecond), which the file system gives without reading the file. A file changed within
// `settling` nanoseconds of being read is not known by its identity alone: a file system's clock
// moves in ticks (two seconds on FAT), and a rewrite within the tick keeps the identity; its bytes
// are compared by length and a hash until the identity has settled. A deleted file is reported as
// missing. The pictures kept take at most kKeptMb; a larger one is read and given, not kept.
class PictureCache {
  public:
    static constexpr qint64 kSettling = 2'000'000'000;
    static constexpr int kKeptMb = 128;

    explicit PictureCache(std::size_t capacity = 24, qint64 settling = kSettling)
        : capacity_(capacity), settling_(settling) {}

    PictureLoad load(const QString& path, const PictureShown& shown = {});
    void clear() { entries_.clear(); }
    // How many loads read a file's bytes (to decode or to compare them).
    std::size_t filesRead() const { return filesRead_; }

  private:
    struct Entry {
        QString path;
        PictureShown shown;
        FileIdentity identity;
        bool settled = false;
        std::size_t hash = 0;  // of the bytes, while not settled
        PictureLoad load;
    };
    std::size_t capacity_;
    qint64 settling_;
    std::size_t filesRead_ = 0;
    std::list<Entry> entries_;  // most recently used first
};

}  // namespace crinova
