#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <cstddef>
#include <list>

namespace crinova {

// Why a picture could not be loaded.
enum class PictureFault { None, Missing, Empty, Unreadable, NotAPicture, TooLarge };

struct PictureLoad {
    QImage picture;  // RGB32; null exactly when `fault` is not None
    PictureFault fault = PictureFault::None;
    QString path;  // the full path asked for, for messages
    QSize size;    // the picture's size in pixels, also when it was TooLarge

    bool ok() const { return fault == PictureFault::None; }
};

// The memory one decoded picture may take, in MB. Qt's default (128 MB) refuses an ordinary
// 48-megapixel phone photo (8000 x 6000 at 4 bytes a pixel is 192 MB). 512 MB holds 134
// megapixels, past the 108-megapixel photos of today's phones, while the copies the program keeps
// of a photo (the cache's and the working picture's) still fit in an ordinary 4 GB desktop beside
// the system.
inline constexpr int kPictureMemoryLimitMb = 512;

// Sets Qt's decoding limit to kPictureMemoryLimitMb; called once when the program starts.
void allowLargePictures();

// Loads a JPEG or BMP file, recognising the format from the content and never from the name, so a
// bitmap saved under a ".jpg" name loads. A failure is an error value naming the file, never a
// silent empty picture. A picture wider or higher than `largest` (when given), or one that would
// take more memory than Qt's decoding limit, is refused as TooLarge from its header, undecoded.
PictureLoad loadPicture(const QString& path, QSize largest = {});

// The Spanish sentence a stylist reads when a picture cannot be opened; it names the file.
QString pictureFaultMessage(const PictureLoad& load);
inline const char* const kPictureFaultTitle = "Error al Abrir la Imagen";

// Writes a picture as a Windows bitmap, replacing `path` whole or not at all: a crash or a full
// disk never leaves half a file. On failure answers false and, when `error` is given, a Spanish
// reason.
bool savePictureBmp(const QImage& picture, const QString& path, QString* error = nullptr);

// Loads pictures as loadPicture does, but decodes a file again only when its bytes changed, so
// repeated compositions do not pay for decoding. The file is read at every load and compared by
// its length and a hash: a replacement is picked up even when it has the same size and the same
// modification time (a coarse clock, a copy that keeps times), and a deleted file is reported as
// missing.
class PictureCache {
  public:
    explicit PictureCache(std::size_t capacity = 24) : capacity_(capacity) {}

    PictureLoad load(const QString& path);
    void clear() { entries_.clear(); }

  private:
    struct Entry {
        QString path;
        qsizetype length = 0;
        std::size_t hash = 0;
        QImage picture;
    };
    std::size_t capacity_;
    std::list<Entry> entries_;  // most recently used first
};

}  // namespace crinova
