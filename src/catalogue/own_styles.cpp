#include "catalogue/own_styles.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <algorithm>
#include <cmath>

#include "platform/system_errors.h"
#include "program/folder_names.h"
#include "program/picture_store.h"

namespace crinova {
namespace {

const QString kTemporary = QStringLiteral(".nuevo");
const QString kAside = QStringLiteral(".antiguo");
const QString kStrokesSuffix = QStringLiteral("json");
// The thumbnails' quality, as the installed ones.
constexpr int kThumbnailQuality = 95;

bool fail(QString* error, const QString& reason) {
    if (error) {
        *error = reason;
    }
    return false;
}

bool isNameCharacter(QChar c) {
    return c.isLetterOrNumber() || c == QLatin1Char('-') || c == QLatin1Char('_');
}

// A name this module writes files for: one of the length words, and a name of the allowed
// characters, so no path can leave its folder.
bool isOwnStyleName(const QString& largura, const QString& nombre) {
    return kLengthWords.contains(largura) && !nombre.isEmpty() &&
           nombre.size() <= kLongestStyleName &&
           std::all_of(nombre.begin(), nombre.end(), isNameCharacter);
}

QString originalsFolder(const QString& largura) {
    return kOwnStylesFolder + QLatin1Char('\\') + largura;
}

QString strokesName(const QString& largura, const QString& nombre) {
    return originalsFolder(largura) + QLatin1Char('\\') + nombre + QLatin1Char('.') +
           kStrokesSuffix;
}

QByteArray encoded(const QImage& picture, const char* format, int quality = -1) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (quality >= 0) {
        writer.setQuality(quality);
    }
    return writer.write(picture) ? bytes : QByteArray();
}

QJsonArray pointJson(const QPointF& point) {
    return QJsonArray{point.x(), point.y()};
}

std::optional<QPointF> pointFromJson(const QJsonValue& value) {
    const QJsonArray xy = value.toArray();
    if (xy.size() != 2 || !xy[0].isDouble() || !xy[1].isDouble()) {
        return std::nullopt;
    }
    return QPointF(xy[0].toDouble(), xy[1].toDouble());
}

// Writes `bytes` whole as `path`, or answers false with the reason.
bool writeWhole(const QString& path, const QByteArray& bytes, QString* error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return fail(error, QStringLiteral("No se puede escribir %1. %2")
                               .arg(QDir::toNativeSeparators(path),
                                    spanishSystemError(file.errorString())));
    }
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return fail(error, QStringLiteral("El disco no ha aceptado %1. %2")
                               .arg(QDir::toNativeSeparators(path), spanishSystemError(reason)));
    }
    return true;
}

}  // namespace

NameRefusal checkStyleName(const QString& nombre, const QString& largura,
                           const ProgramFolder& folder, Database& database) {
    if (nombre.isEmpty()) {
        return NameRefusal::Empty;
    }
    if (!std::all_of(nombre.begin(), nombre.end(), isNameCharacter)) {
        return NameRefusal::Characters;
    }
    if (nombre.size() > kLongestStyleName) {
        return NameRefusal::TooLong;
    }
    const RecordSet rows = database.OpenRecordset(
        QStringLiteral("Select nombre From cabellos where largura=? and nombre=?"),
        {largura, nombre});
    if (rows.RecordCount() > 0) {
        return NameRefusal::Used;
    }
    for (const QString& name :
         {catalogueHairPath(largura, nombre), catalogueMaskPath(largura, nombre),
          catalogueAlphaPath(largura, nombre), strokesName(largura, nombre)}) {
        if (QFileInfo::exists(folder.fullPath(name))) {
            return NameRefusal::Used;
        }
    }
    // "xm" would be the mask of a style "x".
    if (nombre.endsWith(QLatin1Char('m')) &&
        QFileInfo::exists(folder.fullPath(catalogueHairPath(largura, nombre.chopped(1))))) {
        return NameRefusal::Used;
    }
    return NameRefusal::None;
}

QString nameRefusalMessage(NameRefusal refusal, const QString& nombre, const QString& largura) {
    switch (refusal) {
        case NameRefusal::None:
            return {};
        case NameRefusal::Empty:
            return QStringLiteral("Escriba un nombre para el cabello.");
        case NameRefusal::Characters:
            return QStringLiteral(
                       "El nombre «%1» no vale: solo puede llevar letras, números, «-» "
                       "y «_», sin espacios.")
                .arg(nombre);
        case NameRefusal::TooLong:
            return QStringLiteral("El nombre es demasiado largo: como mucho %1 letras.")
                .arg(kLongestStyleName);
        case NameRefusal::Used:
            return QStringLiteral("Ya hay un cabello llamado «%1» en «%2». Elija otro nombre.")
                .arg(nombre, largura);
    }
    return {};
}

QString proposeStyleName(const QString& photoPath, const QString& largura,
                         const ProgramFolder& folder, Database& database) {
    QString base;
    for (const QChar c : QFileInfo(photoPath).completeBaseName()) {
        base += isNameCharacter(c) ? c : QLatin1Char('_');
    }
    base = base.left(kLongestStyleName - 4);
    if (base.isEmpty()) {
        base = QStringLiteral("cabello");
    }
    QString name = base;
    for (int n = 2;
         checkStyleName(name, largura, folder, database) != NameRefusal::None && n < 1000; ++n) {
        name = base + QStringLiteral("-%1").arg(n);
    }
    return name;
}

StylePictures stylePictures(const QImage& colour, const QImage& alpha) {
    StylePictures pictures;
    const QSize size = alpha.size();
    const QImage coverage = alpha.convertToFormat(QImage::Format_Grayscale8);
    const QImage strands = colour.convertToFormat(QImage::Format_RGB32);
    pictures.alpha = coverage;
    pictures.hair = QImage(size, QImage::Format_RGB32);
    pictures.mask = QImage(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        const uchar* a = coverage.constScanLine(y);
        const QRgb* c = strands.size() == size
                            ? reinterpret_cast<const QRgb*>(strands.constScanLine(y))
                            : nullptr;
        QRgb* hair = reinterpret_cast<QRgb*>(pictures.hair.scanLine(y));
        QRgb* mask = reinterpret_cast<QRgb*>(pictures.mask.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            const bool covered = a[x] >= 128;
            hair[x] = covered && c ? (c[x] | 0xff000000u) : 0xff000000u;
            mask[x] = covered ? 0xff000000u : 0xffffffffu;
        }
    }
    pictures.thumbnail =
        pictures.hair.scaled(size / 2, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return pictures;
}

SourcePhoto loadSourcePhoto(const QString& path) {
    SourcePhoto photo;
    const QString shown = QDir::toNativeSeparators(path);
    QFile file(path);
    if (!QFileInfo(path).isFile()) {
        photo.error = QStringLiteral("No se encuentra la foto %1.").arg(shown);
        return photo;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        photo.error = QStringLiteral("No se puede leer la foto %1. %2")
                          .arg(shown, spanishSystemError(file.errorString()));
        return photo;
    }
    photo.bytes = file.readAll();
    QBuffer buffer(&photo.bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    // A phone photo held upright says so in its metadata: it is shown upright.
    reader.setAutoTransform(true);
    const QByteArray format = reader.format();
    const QSize size = reader.size();
    const char* const notAPicture =
        "El archivo %1 no es una foto JPG, BMP o PNG que se pueda abrir, o está dañado.";
    if ((format != "jpeg" && format != "png" && format != "bmp") || !size.isValid() ||
        size.isEmpty()) {
        photo.error = QString::fromUtf8(notAPicture).arg(shown);
        return photo;
    }
    photo.size = size;
    photo.suffix = format == "jpeg" ? QStringLiteral("jpg") : QString::fromLatin1(format);
    int reduction = 1;
    const int longest = std::max(size.width(), size.height());
    while (format == "jpeg" && reduction < 8 && longest / (2 * reduction) >= kSourceSide) {
        reduction *= 2;
    }
    if (reduction > 1) {
        // libjpeg decodes at a half, a quarter or an eighth directly.
        reader.setScaledSize(QSize((size.width() + reduction - 1) / reduction,
                                   (size.height() + reduction - 1) / reduction));
    }
    const QImage picture = reader.read();
    if (picture.isNull()) {
        photo.error = reader.error() == QImageReader::InvalidDataError ||
                              reader.error() == QImageReader::UnknownError
                          ? QString::fromUtf8(notAPicture).arg(shown)
                          : QStringLiteral(
                                "No se puede abrir la foto %1: es demasiado grande "
                                "(%2 × %3 píxeles).")
                                .arg(shown)
                                .arg(size.width())
                                .arg(size.height());
        return photo;
    }
    photo.picture = picture.convertToFormat(QImage::Format_RGB32);
    if (reader.transformation() & QImageIOHandler::TransformationRotate90) {
        photo.size.transpose();
    }
    photo.scale = double(photo.picture.width()) / photo.size.width();
    return photo;
}

QStringList styleFiles(const QString& largura, const QString& nombre, const QString& suffix) {
    QStringList files{catalogueHairPath(largura, nombre), catalogueMaskPath(largura, nombre),
                      catalogueAlphaPath(largura, nombre), catalogueThumbnailPath(largura, nombre)};
    if (!suffix.isEmpty()) {
        files << originalsFolder(largura) + QLatin1Char('\\') + nombre + QLatin1Char('.') + suffix
              << strokesName(largura, nombre);
    }
    return files;
}

QStringList styleFilesAnySource(const QString& largura, const QString& nombre) {
    QStringList names;
    for (const char* suffix : {"jpg", "png", "bmp"}) {
        for (const QString& name : styleFiles(largura, nombre, QString::fromLatin1(suffix))) {
            if (!names.contains(name)) {
                names << name;
            }
        }
    }
    return names;
}

bool saveOwnStyle(Database& database, const ProgramFolder& folder, const StylePictures& pictures,
                  const StyleSource& source, bool replace, QString* error) {
    const StyleRow& row = source.row;
    const QString what =
        QStringLiteral("No se ha guardado el cabello «%1»; no se ha escrito nada.").arg(row.nombre);
    auto refuse = [&](const QString& reason) {
        return fail(error, what + QStringLiteral("\n\n") + reason);
    };
    if (!isOwnStyleName(row.largura, row.nombre) ||
        !QStringList{QStringLiteral("jpg"), QStringLiteral("png"), QStringLiteral("bmp")}.contains(
            source.suffix)) {
        return refuse(nameRefusalMessage(NameRefusal::Characters, row.nombre, row.largura));
    }

    // Everything encoded first: a picture that cannot be encoded stops the save before the disk.
    QJsonObject kept{{QStringLiteral("foto"), row.nombre + QLatin1Char('.') + source.suffix},
                     {QStringLiteral("ojos"),
                      QJsonArray{pointJson(source.eyes.left), pointJson(source.eyes.right)}},
                     {QStringLiteral("trazos"), strokesToJson(source.strokes)},
                     {QStringLiteral("tpersona"), row.tpersona},
                     {QStringLiteral("tipo"), row.tipo},
                     {QStringLiteral("color"), row.color}};
    // Hair picture and mask are bitmaps under their ".jpg" names (pictures load by content): a
    // lossy encoding would tint the black and the white the exact composition relies on.
    const QStringList names = styleFiles(row.largura, row.nombre, source.suffix);
    const QList<QByteArray> contents{encoded(pictures.hair, "bmp"),
                                     encoded(pictures.mask, "bmp"),
                                     encoded(pictures.alpha, "png"),
                                     encoded(pictures.thumbnail, "jpg", kThumbnailQuality),
                                     source.photo,
                                     QJsonDocument(kept).toJson()};
    for (const QByteArray& bytes : contents) {
        if (bytes.isEmpty()) {
            return refuse(QStringLiteral("No se han podido preparar las imágenes del cabello."));
        }
    }

    QStringList made;  // folders this save created, removed again on failure
    QStringList written;
    auto undoWrites = [&] {
        for (const QString& path : written) {
            QFile::remove(path);
        }
        for (auto it = made.rbegin(); it != made.rend(); ++it) {
            QDir().rmdir(*it);
        }
    };
    for (const QString& name : names) {
        const QString dir = QFileInfo(folder.fullPath(name)).path();
        QStringList missing;
        for (QString up = dir; !QFileInfo::exists(up) && up.size() > folder.path().size();
             up = QFileInfo(up).path()) {
            missing.prepend(up);
        }
        for (const QString& part : missing) {
            if (!QDir().mkdir(part)) {
                undoWrites();
                return refuse(QStringLiteral("No se puede crear la carpeta %1.")
                                  .arg(QDir::toNativeSeparators(part)));
            }
            made << part;
        }
    }
    for (int i = 0; i < names.size(); ++i) {
        const QString temporary = folder.fullPath(names[i]) + kTemporary;
        QString reason;
        if (!writeWhole(temporary, contents[i], &reason)) {
            undoWrites();
            return refuse(reason);
        }
        written << temporary;
    }

    std::optional<StyleRow> previous;
    QString reason;
    const bool inserted = database.transaction(
        [&](QString* why) {
            if (replace) {
                RecordSet old = database.OpenRecordset(
                    QStringLiteral("Select * From cabellos where largura=? and nombre=?"),
                    {row.largura, row.nombre}, why);
                if (!old.isOpen()) {
                    return false;
                }
                if (old.RecordCount() > 0) {
                    previous = StyleRow{old.Fields(QStringLiteral("tpersona")), row.largura,
                                        old.Fields(QStringLiteral("tipo")),
                                        old.Fields(QStringLiteral("color")), row.nombre};
                }
                if (!database.Execute(
                        QStringLiteral("DELETE FROM cabellos WHERE largura=? AND nombre=?"),
                        {row.largura, row.nombre}, why)) {
                    return false;
                }
            }
            if (!database.Execute(QStringLiteral("INSERT INTO cabellos (tpersona, largura, "
                                                 "tipo, color, nombre) VALUES (?, ?, ?, ?, ?)"),
                                  {row.tpersona, row.largura, row.tipo, row.color, row.nombre},
                                  why)) {
                return false;
            }
            // On the salon's server the style's files go with its row, for every station.
            for (int i = 0; database.dialect() == Dialect::PostgreSQL && i < names.size(); ++i) {
                if (!putPicture(database, folder, names[i], contents[i], why)) {
                    return false;
                }
            }
            return true;
        },
        &reason);
    if (!inserted) {
        undoWrites();
        return refuse(QStringLiteral("La base de datos no ha aceptado el cabello: %1").arg(reason));
    }

    // Into place; what stood there is kept aside until every file is in.
    QStringList placed;
    QStringList aside;
    bool done = true;
    for (const QString& name : names) {
        const QString target = folder.fullPath(name);
        const QFileInfo there(target);
        if (there.exists() && !there.isFile()) {
            done = false;
            reason = QStringLiteral("%1 está ocupado por una carpeta.")
                         .arg(QDir::toNativeSeparators(target));
            break;
        }
        if (there.exists()) {
            QFile::remove(target + kAside);
            if (!QFile::rename(target, target + kAside)) {
                done = false;
                reason =
                    QStringLiteral("No se puede apartar %1.").arg(QDir::toNativeSeparators(target));
                break;
            }
            aside << target;
        }
        if (!QFile::rename(target + kTemporary, target)) {
            done = false;
            reason = QStringLiteral("No se puede poner en su sitio %1.")
                         .arg(QDir::toNativeSeparators(target));
            break;
        }
        placed << target;
    }
    if (!done) {
        for (const QString& target : placed) {
            QFile::remove(target);
        }
        for (const QString& target : aside) {
            QFile::rename(target + kAside, target);
        }
        for (const QString& path : written) {
            QFile::remove(path);
        }
        QString undoReason;
        database.transaction(
            [&](QString* why) {
                if (!database.Execute(
                        QStringLiteral("DELETE FROM cabellos WHERE largura=? AND nombre=?"),
                        {row.largura, row.nombre}, why)) {
                    return false;
                }
                return !previous ||
                       database.Execute(
                           QStringLiteral("INSERT INTO cabellos (tpersona, largura, "
                                          "tipo, color, nombre) VALUES (?, ?, ?, ?, ?)"),
                           {previous->tpersona, previous->largura, previous->tipo, previous->color,
                            previous->nombre},
                           why);
            },
            &undoReason);
        for (auto it = made.rbegin(); it != made.rend(); ++it) {
            QDir().rmdir(*it);
        }
        return refuse(reason);
    }
    for (const QString& target : aside) {
        QFile::remove(target + kAside);
    }
    // A photograph of another kind kept from before is not the style's any more.
    const QDir originals(folder.fullPath(originalsFolder(row.largura)));
    for (const QString& other :
         originals.entryList({row.nombre + QStringLiteral(".*")}, QDir::Files)) {
        if (!names.contains(originalsFolder(row.largura) + QLatin1Char('\\') + other)) {
            QFile::remove(originals.filePath(other));
        }
    }
    return true;
}

std::optional<StyleSource> readStyleSource(const ProgramFolder& folder, const QString& photoPath,
                                           Database& database) {
    const QString relative = folder.relativeName(photoPath);
    const QStringList parts = relative.split(QLatin1Char('\\'));
    // "\fotos\originales\<largura>\<nombre>.<suffix>"
    if (parts.size() != 5 || !relative.startsWith(kOwnStylesFolder + QLatin1Char('\\'))) {
        return std::nullopt;
    }
    const QFileInfo photo(photoPath);
    StyleSource source;
    source.row.largura = parts[3];
    source.row.nombre = photo.completeBaseName();
    source.suffix = photo.suffix();
    QFile file(folder.fullPath(strokesName(source.row.largura, source.row.nombre)));
    if (!kLengthWords.contains(source.row.largura) || !file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    const QJsonObject kept = QJsonDocument::fromJson(file.readAll()).object();
    const QJsonArray eyes = kept.value(QStringLiteral("ojos")).toArray();
    const std::optional<QPointF> left = pointFromJson(eyes.at(0));
    const std::optional<QPointF> right = pointFromJson(eyes.at(1));
    const std::optional<std::vector<Stroke>> strokes =
        strokesFromJson(kept.value(QStringLiteral("trazos")).toArray());
    if (!left || !right || !strokes ||
        kept.value(QStringLiteral("foto")).toString() != photo.fileName()) {
        return std::nullopt;
    }
    source.eyes = EyePair{*left, *right};
    source.strokes = *strokes;
    source.row.tpersona = kept.value(QStringLiteral("tpersona")).toString();
    source.row.tipo = kept.value(QStringLiteral("tipo")).toString();
    source.row.color = kept.value(QStringLiteral("color")).toString();
    // The row, when it is still in the catalogue, says best what the style is.
    const RecordSet rows = database.OpenRecordset(
        QStringLiteral("Select * From cabellos where largura=? and nombre=?"),
        {source.row.largura, source.row.nombre});
    if (rows.RecordCount() > 0) {
        source.row.tpersona = rows.Fields(QStringLiteral("tpersona"));
        source.row.tipo = rows.Fields(QStringLiteral("tipo"));
        source.row.color = rows.Fields(QStringLiteral("color"));
    }
    return source;
}

bool isOwnStyle(const ProgramFolder& folder, const QString& largura, const QString& nombre) {
    return isOwnStyleName(largura, nombre) &&
           QFileInfo(folder.fullPath(strokesName(largura, nombre))).isFile();
}

bool removeOwnStyleFiles(const ProgramFolder& folder, const QString& largura, const QString& nombre,
                         QString* error) {
    if (!isOwnStyleName(largura, nombre)) {
        return fail(error, nameRefusalMessage(NameRefusal::Characters, nombre, largura));
    }
    QStringList files = styleFiles(largura, nombre, {});
    const QDir originals(folder.fullPath(originalsFolder(largura)));
    for (const QString& kept : originals.entryList({nombre + QStringLiteral(".*")}, QDir::Files)) {
        files << originalsFolder(largura) + QLatin1Char('\\') + kept;
    }
    // The strokes last: while they are there the style is still known as the salon's own.
    files.removeAll(strokesName(largura, nombre));
    files << strokesName(largura, nombre);
    for (const QString& name : files) {
        if (!deleteFile(folder.fullPath(name))) {
            return fail(error, QStringLiteral("No se ha podido borrar %1.")
                                   .arg(QDir::toNativeSeparators(folder.fullPath(name))));
        }
    }
    return true;
}

}  // namespace crinova
