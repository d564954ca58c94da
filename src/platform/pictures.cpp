#include "platform/pictures.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>

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
PictureFault openPictureFile(const QString& path, QFile& file) {
    if (path.isEmpty() || !QFileInfo(path).isFile()) {
        return PictureFault::Missing;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        return PictureFault::Unreadable;
    }
    if (file.size() == 0) {
        return PictureFault::Empty;
    }
    return PictureFault::None;
}

// Whether the picture, as the RGB32 it becomes, stays within Qt's decoding limit.
bool fitsDecodingLimit(QSize size) {
    const qint64 limitMb = QImageReader::allocationLimit();  // 0: no limit
    return limitMb == 0 || qint64(size.width()) * size.height() * 4 <= limitMb * 1024 * 1024;
}

PictureLoad decodePicture(const QString& path, QIODevice& device, QSize largest) {
    QImageReader reader(&device);
    reader.setDecideFormatFromContent(true);
    const QByteArray format = reader.format();
    if (format != "jpeg" && format != "bmp") {
        return failure(path, PictureFault::NotAPicture);
    }
    const QSize size = reader.size();
    const bool beyondLargest =
        largest.isValid() && (size.width() > largest.width() || size.height() > largest.height());
    if (size.isValid() && (beyondLargest || !fitsDecodingLimit(size))) {
        return failure(path, PictureFault::TooLarge, size);
    }
    QImage picture = reader.read();
    if (picture.isNull()) {
        return failure(path, PictureFault::NotAPicture);
    }
    PictureLoad load;
    load.picture = picture.convertToFormat(QImage::Format_RGB32);
    load.path = path;
    load.size = load.picture.size();
    return load;
}

}  // namespace

void allowLargePictures() {
    QImageReader::setAllocationLimit(kPictureMemoryLimitMb);
}

PictureLoad loadPicture(const QString& path, QSize largest) {
    QFile file(path);
    const PictureFault fault = openPictureFile(path, file);
    if (fault != PictureFault::None) {
        return failure(path, fault);
    }
    return decodePicture(path, file, largest);
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
        case PictureFault::TooLarge: {
            reason = QStringLiteral("La imagen es demasiado grande: %L1 × %L2 píxeles.")
                         .arg(load.size.width())
                         .arg(load.size.height());
            const qint64 limitMb = QImageReader::allocationLimit();
            if (limitMb > 0) {
                reason += QStringLiteral(
                              " Crinova abre imágenes de hasta %L1 megapíxeles; "
                              "redúzcala e inténtelo de nuevo.")
                              .arg(limitMb * 1024 * 1024 / 4 / 1000000);
            }
            break;
        }
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
        // The writer knows only that it failed; the file tells why (a full disk, say) once it has
        // tried to write out what it holds.
        file.flush();
        const QString reason =
            file.error() != QFileDevice::NoError ? file.errorString() : writer.errorString();
        file.cancelWriting();
        return fail(spanishSystemError(reason));
    }
    if (!file.commit()) {
        return fail(QStringLiteral("El disco no ha aceptado el archivo. %1")
                        .arg(spanishSystemError(file.errorString())));
    }
    return true;
}

PictureLoad PictureCache::load(const QString& path) {
    QFile file(path);
    const PictureFault fault = openPictureFile(path, file);
    if (fault != PictureFault::None) {
        return failure(path, fault);
    }
    const QByteArray bytes = file.readAll();
    const std::size_t hash = qHash(bytes);
    for (auto it = entries_.begin(); it != entries_.end(); ++it) {
        if (it->path == path) {
            if (it->length == bytes.size() && it->hash == hash) {
                entries_.splice(entries_.begin(), entries_, it);
                PictureLoad load;
                load.picture = it->picture;
                load.path = path;
                load.size = it->picture.size();
                return load;
            }
            entries_.erase(it);
            break;
        }
    }
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    PictureLoad load = decodePicture(path, buffer, {});
    if (load.ok()) {
        entries_.push_front(Entry{path, bytes.size(), hash, load.picture});
        if (entries_.size() > capacity_) {
            entries_.pop_back();
        }
    }
    return load;
}

}  // namespace crinova
