#include "platform/pictures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>

#include <time.h>

#include <algorithm>
#include <optional>

#include "platform/system_errors.h"

namespace crinova {
namespace {

PictureLoad failure(const QString& path, PictureFault fault, QSize size = {}) {
    PictureLoad load;
    load.fault = fault;
    load.path = path;
    load.size = size;
    return load;
}

// Opens a picture file for reading; None when there is something to decode.
PictureFault openPictureFile(const QString& path, QFile& file, FileIdentity* identity = nullptr) {
    FileIdentity opened;
    switch (openPlainFile(path, file, &opened)) {
        case PlainFileOpen::Opened:
            break;
        case PlainFileOpen::Missing:
            return PictureFault::Missing;
        case PlainFileOpen::NotPlain:
            return PictureFault::NotAFile;
        case PlainFileOpen::Unreadable:
            return PictureFault::Unreadable;
    }
    if (identity) {
        *identity = opened;
    }
    return opened.size == 0 ? PictureFault::Empty : PictureFault::None;
}

qint64 areaOf(QSize size) {
    return qint64(size.width()) * size.height();
}

int bytesPerPixel(QImage::Format format) {
    const int bits = QImage::toPixelFormat(format).bitsPerPixel();
    return bits <= 0 ? 4 : std::max(1, (bits + 7) / 8);
}

// A picture decoded whole, reduced to `size`: first by sampling to at most twice the size, in the
// file's own pixel format (an 8-bit picture stays 8-bit), then smoothly.
QImage reduced(const QImage& picture, QSize size) {
    QImage step = picture;
    if (step.width() > 2 * size.width() || step.height() > 2 * size.height()) {
        step = step.scaled(2 * size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    }
    return step.convertToFormat(QImage::Format_RGB32)
        .scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

PictureLoad decodePicture(const QString& path, QIODevice& device, const PictureShown& shown,
                          QSize largest, int limitMb = kPictureMemoryLimitMb) {
    QImageReader reader(&device);
    reader.setDecideFormatFromContent(true);
    const QByteArray format = reader.format();
    if (format != "jpeg" && format != "bmp") {
        return failure(path, PictureFault::NotAPicture);
    }
    const QSize size = reader.size();
    const bool beyondLargest =
        largest.isValid() && (size.width() > largest.width() || size.height() > largest.height());
    if (size.isValid() && beyondLargest) {
        return failure(path, PictureFault::TooLarge, size);
    }
    // What is kept, and whether the reader gets there while it decodes.
    QSize kept = size;
    QRect clip;
    bool reduce = false;
    if (size.isValid() && shown.way == PictureShown::Way::TopLeft &&
        (size.width() > shown.size.width() || size.height() > shown.size.height())) {
        clip = QRect(QPoint(0, 0), size).intersected(QRect(QPoint(0, 0), shown.size));
        kept = clip.size();
    } else if (size.isValid() && shown.way == PictureShown::Way::Reduced &&
               (size.width() > shown.size.width() || size.height() > shown.size.height())) {
        kept = size.scaled(shown.size, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
        reduce = true;
    }
    const bool bounded = clip.isNull() && !reduce
                             ? true
                             : reader.supportsOption(reduce ? QImageIOHandler::ScaledSize
                                                            : QImageIOHandler::ClipRect);
    if (size.isValid()) {
        // The decoded picture, and the RGB32 one kept unless it is that very picture.
        const int depth = bytesPerPixel(reader.imageFormat());
        const qint64 needed =
            areaOf(bounded ? kept : size) * depth + (bounded && depth == 4 ? 0 : areaOf(kept) * 4);
        if (needed > qint64(limitMb) * 1024 * 1024) {
            PictureLoad refused = failure(path, PictureFault::TooLarge, size);
            refused.needed = needed;
            refused.limitMb = limitMb;
            return refused;
        }
    }
    if (!clip.isNull()) {
        reader.setClipRect(clip);  // a reader that cannot clip cuts the decoded picture
    } else if (reduce && bounded) {
        reader.setScaledSize(kept);
    }
    QImage picture = reader.read();
    if (picture.isNull()) {
        return failure(path, PictureFault::NotAPicture);
    }
    PictureLoad load;
    load.picture =
        reduce && !bounded ? reduced(picture, kept) : picture.convertToFormat(QImage::Format_RGB32);
    load.path = path;
    load.size = size.isValid() ? size : picture.size();
    return load;
}

// A hash of a file's bytes, read in blocks from its start.
std::optional<std::size_t> hashOf(QFile& file) {
    if (!file.seek(0)) {
        return std::nullopt;
    }
    std::size_t hash = 0;
    QByteArray block(1 << 20, Qt::Uninitialized);
    for (;;) {
        const qint64 got = file.read(block.data(), block.size());
        if (got < 0) {
            return std::nullopt;
        }
        if (got == 0) {
            return file.seek(0) ? std::optional<std::size_t>(hash) : std::nullopt;
        }
        hash = qHash(QByteArrayView(block.constData(), got), hash);
    }
}

qint64 nowNanoseconds() {
    struct timespec now {};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

}  // namespace

void allowLargePictures() {
    QImageReader::setAllocationLimit(kPictureMemoryLimitMb);
}

PictureLoad loadPicture(const QString& path, QSize largest) {
    QFile file;
    const PictureFault fault = openPictureFile(path, file);
    if (fault != PictureFault::None) {
        return failure(path, fault);
    }
    return decodePicture(path, file, PictureShown::whole(), largest);
}

PictureLoad loadShownPicture(const QString& path, const PictureShown& shown, int limitMb) {
    QFile file;
    const PictureFault fault = openPictureFile(path, file);
    if (fault != PictureFault::None) {
        return failure(path, fault);
    }
    return decodePicture(path, file, shown, {}, limitMb);
}

QString pictureFaultMessage(const PictureLoad& load) {
    QString reason;
    switch (load.fault) {
        case PictureFault::None:
            return {};
        case PictureFault::Missing:
            reason = QStringLiteral("El archivo no existe.");
            break;
        case PictureFault::Empty:
            reason = QStringLiteral("El archivo está vacío.");
            break;
        case PictureFault::Unreadable:
            reason = QStringLiteral("No se tiene permiso para leer el archivo.");
            break;
        case PictureFault::NotAPicture:
            reason = QStringLiteral("El archivo no es una imagen JPG o BMP válida, o está dañado.");
            break;
        case PictureFault::TooLarge:
            reason = QStringLiteral("La imagen es demasiado grande: %L1 × %L2 píxeles.")
                         .arg(load.size.width())
                         .arg(load.size.height());
            if (load.needed > 0) {
                constexpr qint64 kMb = 1024 * 1024;
                reason += QStringLiteral(
                              " Abrirla necesitaría %L1 MB de memoria, y Crinova usa como mucho "
                              "%L2 MB para una imagen; redúzcala e inténtelo de nuevo.")
                              .arg((load.needed + kMb - 1) / kMb)
                              .arg(load.limitMb);
            }
            break;
        case PictureFault::NotAFile:
            reason = QStringLiteral(
                "No es un archivo corriente, sino una carpeta, una tubería o un dispositivo.");
            break;
    }
    return QStringLiteral("No se ha podido abrir la imagen:\n%1\n\n%2")
        .arg(QDir::toNativeSeparators(load.path), reason);
}

bool savePictureBmp(const QImage& picture, const QString& path, QString* error) {
    auto fail = [&](const QString& reason) {
        if (error) {
            *error = QStringLiteral("No se ha podido guardar la imagen:\n%1\n\n%2")
                         .arg(QDir::toNativeSeparators(path), reason);
        }
        return false;
    };
    if (picture.isNull()) {
        return fail(QStringLiteral("No hay ninguna imagen que guardar."));
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        // Say what is in the way: a file that is there and cannot be replaced (read-only, or a
        // folder of that name), or a folder where no file can be made.
        const QFileInfo target(path);
        if (target.isDir() || (target.exists() && !target.isWritable())) {
            return fail(QStringLiteral("No se puede reemplazar el archivo. %1")
                            .arg(spanishSystemError(file.errorString())));
        }
        return fail(QStringLiteral("No se puede escribir en esa carpeta. %1")
                        .arg(spanishSystemError(file.errorString())));
    }
    QImageWriter writer(&file, "bmp");
    if (!writer.write(picture)) {
        file.cancelWriting();
        return fail(spanishSystemError(writer.errorString()));
    }
    if (!file.commit()) {
        return fail(QStringLiteral("El disco no ha aceptado el archivo. %1")
                        .arg(spanishSystemError(file.errorString())));
    }
    return true;
}

PictureLoad PictureCache::load(const QString& path, const PictureShown& shown) {
    QFile file;
    FileIdentity identity;
    const PictureFault fault = openPictureFile(path, file, &identity);
    auto entry = std::find_if(entries_.begin(), entries_.end(),
                              [&](const Entry& e) { return e.path == path && e.shown == shown; });
    if (fault != PictureFault::None) {
        if (entry != entries_.end()) {
            entries_.erase(entry);
        }
        return failure(path, fault);
    }
    const bool settled =
        nowNanoseconds() - std::max(identity.modified, identity.changed) >= settling_;
    if (entry != entries_.end() && entry->identity == identity && entry->settled) {
        entries_.splice(entries_.begin(), entries_, entry);
        return entry->load;
    }
    ++filesRead_;
    // A file that has not settled is known by its bytes as well.
    std::optional<std::size_t> hash;
    if (!settled || (entry != entries_.end() && !entry->settled)) {
        hash = hashOf(file);
        if (!hash) {
            return failure(path, PictureFault::Unreadable);
        }
    }
    if (entry != entries_.end()) {
        if (!entry->settled && entry->identity.size == identity.size && hash &&
            entry->hash == *hash) {
            entry->identity = identity;
            entry->settled = settled;
            entries_.splice(entries_.begin(), entries_, entry);
            return entry->load;
        }
        entries_.erase(entry);
    }
    PictureLoad load = decodePicture(path, file, shown, {});
    if (load.ok()) {
        entries_.push_front(Entry{path, shown, identity, settled, hash.value_or(0), load});
        // A picture read whole may be large: the cache keeps at most kKeptMb of them.
        qint64 kept = 0;
        std::size_t count = 0;
        for (auto it = entries_.begin(); it != entries_.end();) {
            const qint64 bytes = it->load.picture.sizeInBytes();
            if (count == capacity_ || kept + bytes > qint64(kKeptMb) * 1024 * 1024) {
                it = entries_.erase(it);
                continue;
            }
            kept += bytes;
            ++count;
            ++it;
        }
    }
    return load;
}

}  // namespace crinova
