#include "eraser/kept_original.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "platform/system_errors.h"

namespace crinova {

QString keptOriginalPath(const QString& photoPath) {
    const QFileInfo photo(photoPath);
    return photo.absolutePath() + QStringLiteral("/originales/") + photo.fileName();
}

bool keepOriginal(const QString& photoPath, QString* error) {
    if (!QFileInfo(photoPath).isFile()) {
        return true;
    }
    const QString kept = keptOriginalPath(photoPath);
    if (QFileInfo(kept).isFile()) {
        return true;
    }
    auto fail = [&](const QString& reason) {
        if (error) {
            *error = QStringLiteral(
                         "No se ha podido guardar una copia de la Fotografía original "
                         "en:\n%1\n\n%2\n\nLa Fotografía no se ha guardado, para no "
                         "perder el original.")
                         .arg(QDir::toNativeSeparators(kept), reason);
        }
        return false;
    };
    if (!QDir().mkpath(QFileInfo(kept).absolutePath())) {
        return fail(QStringLiteral("No se puede crear la carpeta de los originales."));
    }
    QFile source(photoPath);
    if (!source.open(QIODevice::ReadOnly)) {
        return fail(QStringLiteral("No se puede leer la Fotografía. %1")
                        .arg(spanishSystemError(source.errorString())));
    }
    QSaveFile copy(kept);
    if (!copy.open(QIODevice::WriteOnly)) {
        return fail(QStringLiteral("No se puede escribir la copia. %1")
                        .arg(spanishSystemError(copy.errorString())));
    }
    char block[1 << 16];
    for (;;) {
        const qint64 read = source.read(block, sizeof block);
        if (read < 0) {
            copy.cancelWriting();
            return fail(QStringLiteral("No se puede leer la Fotografía. %1")
                            .arg(spanishSystemError(source.errorString())));
        }
        if (read == 0) {
            break;
        }
        if (copy.write(block, read) != read) {
            copy.cancelWriting();
            return fail(QStringLiteral("No se puede escribir la copia. %1")
                            .arg(spanishSystemError(copy.errorString())));
        }
    }
    if (!copy.commit()) {
        return fail(QStringLiteral("El disco no ha aceptado la copia. %1")
                        .arg(spanishSystemError(copy.errorString())));
    }
    return true;
}

}  // namespace crinova
