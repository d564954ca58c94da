#include "platform/pictures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>
#include <filesystem>
#include <system_error>

namespace crinova {
namespace {

PictureLoad failure(const QString& path, PictureFault fault) {
    PictureLoad load;
    load.fault = fault;
    load.path = path;
    return load;
}

}  // namespace

PictureLoad loadPicture(const QString& path) {
    QFile file(path);
    if (path.isEmpty() || !QFileInfo(path).isFile()) {
        return failure(path, PictureFault::Missing);
    }
    if (!file.open(QIODevice::ReadOnly)) {
        return failure(path, PictureFault::Unreadable);
    }
    if (file.size() == 0) {
        return failure(path, PictureFault::Empty);
    }
    QImageReader reader(&file);
    reader.setDecideFormatFromContent(true);
    const QByteArray format = reader.format();
    if (format != "jpeg" && format != "bmp") {
        return failure(path, PictureFault::NotAPicture);
    }
    QImage picture = reader.read();
    if (picture.isNull()) {
        return failure(path, PictureFault::NotAPicture);
    }
    PictureLoad load;
    load.picture = picture.convertToFormat(QImage::Format_RGB32);
    load.path = path;
    return load;
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
        if (QFileInfo::exists(path)) {
            return fail(
                QStringLiteral("No se puede reemplazar el archivo (%1).").arg(file.errorString()));
        }
        return fail(
            QStringLiteral("No se puede escribir en esa carpeta (%1).").arg(file.errorString()));
    }
    QImageWriter writer(&file, "bmp");
    if (!writer.write(picture)) {
        file.cancelWriting();
        return fail(writer.errorString());
    }
    if (!file.commit()) {
        return fail(
            QStringLiteral("El disco no ha aceptado el archivo (%1).").arg(file.errorString()));
    }
    return true;
}

PictureLoad PictureCache::load(const QString& path) {
    std::error_code code;
    const std::filesystem::path native(QFile::encodeName(path).toStdString());
    const auto size = std::filesystem::file_size(native, code);
    const auto modified =
        code ? std::filesystem::file_time_type{} : std::filesystem::last_write_time(native, code);
    if (code) {
        return loadPicture(path);  // reports the fault; nothing worth keeping
    }
    const std::int64_t stamp = modified.time_since_epoch().count();
    for (auto it = entries_.begin(); it != entries_.end(); ++it) {
        if (it->path == path) {
            if (it->size == static_cast<std::int64_t>(size) && it->modified == stamp) {
                entries_.splice(entries_.begin(), entries_, it);
                PictureLoad load;
                load.picture = it->picture;
                load.path = path;
                return load;
            }
            entries_.erase(it);
            break;
        }
    }
    PictureLoad load = loadPicture(path);
    if (load.ok()) {
        entries_.push_front(Entry{path, static_cast<std::int64_t>(size), stamp, load.picture});
        if (entries_.size() > capacity_) {
            entries_.pop_back();
        }
    }
    return load;
}

}  // namespace crinova
