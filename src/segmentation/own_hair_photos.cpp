#include "segmentation/own_hair_photos.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QJsonDocument>
#include <QSaveFile>

#include "face/photo_preparation.h"
#include "overlay/hair_colour.h"
#include "platform/system_errors.h"
#include "program/folder_names.h"

namespace crinova {
namespace {

// The PNG's text keys: the photo's checksum and the strokes.
const QString kChecksumKey = QStringLiteral("foto");
const QString kStrokesKey = QStringLiteral("trazos");
const QString kEyesKey = QStringLiteral("ojos");  // clicked ones only: "lx ly rx ry"

QString eyesText(const EyePair& eyes) {
    return QStringLiteral("%1 %2 %3 %4")
        .arg(eyes.left.x())
        .arg(eyes.left.y())
        .arg(eyes.right.x())
        .arg(eyes.right.y());
}

std::optional<EyePair> eyesFromText(const QString& text) {
    const QStringList parts = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (parts.size() != 4) {
        return std::nullopt;
    }
    double values[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        values[i] = parts[i].toDouble(&ok);
        if (!ok) {
            return std::nullopt;
        }
    }
    return EyePair{QPointF(values[0], values[1]), QPointF(values[2], values[3])};
}

QByteArray checksumOf(const QImage& photo) {
    const QImage rgb = photo.convertToFormat(QImage::Format_RGB32);
    QCryptographicHash hash(QCryptographicHash::Sha1);
    hash.addData(QByteArray::number(rgb.width()) + 'x' + QByteArray::number(rgb.height()));
    for (int y = 0; y < rgb.height(); ++y) {
        hash.addData(QByteArrayView(reinterpret_cast<const char*>(rgb.constScanLine(y)),
                                    qsizetype(rgb.width()) * 4));
    }
    return hash.result().toHex();
}

AlignedPhoto alignedWorkingPhoto(const QImage& photo, const EyePair& eyes) {
    return AlignedPhoto{photo.convertToFormat(QImage::Format_RGB32), eyes, {}, {}};
}

}  // namespace

std::optional<EyePair> OwnHairPhotos::eyesOn(const QString& path, const Photo& entry,
                                             const QImage& photo) const {
    if (entry.clickedEyes) {
        return entry.clickedEyes;
    }
    const EyeSearch search = findEyesReduced(photo);
    if (search.eyes || !preparedEyes_) {
        return search.eyes;
    }
    return preparedEyes_(path, photo.size());
}

QString OwnHairPhotos::storedName(const QString& path) {
    return hiddenHairPath(path);
}

QImage OwnHairPhotos::hidden(const QString& path, const QImage& photo) {
    const auto known = photos_.find(path);
    if (known != photos_.end() && known->second.photoKey == photo.cacheKey()) {
        return known->second.hidden;
    }
    const QByteArray checksum = checksumOf(photo);
    if (known != photos_.end() && known->second.checksum == checksum) {
        known->second.photoKey = photo.cacheKey();
        return known->second.hidden;
    }
    Photo& entry = photos_[path];
    entry = Photo{};
    entry.checksum = checksum;
    entry.photoKey = photo.cacheKey();
    // Kept beside the photo from an earlier run, for these very pixels.
    QImageReader reader(storedName(path), "png");
    if (reader.text(kChecksumKey).toLatin1() == checksum) {
        const QImage stored = reader.read().convertToFormat(QImage::Format_RGB32);
        const auto strokes =
            strokesFromJson(QJsonDocument::fromJson(reader.text(kStrokesKey).toUtf8()).array());
        if (stored.size() == photo.size() && strokes) {
            entry.faceFound = entry.hairFound = true;
            entry.hidden = stored;
            entry.strokes = *strokes;
            entry.clickedEyes = eyesFromText(reader.text(kEyesKey));
            return entry.hidden;
        }
    }
    const std::optional<EyePair> eyes = eyesOn(path, entry, photo);
    entry.faceFound = eyes.has_value();
    if (!entry.faceFound) {
        entry.hidden = photo.convertToFormat(QImage::Format_RGB32);
        return entry.hidden;
    }
    select(path, entry, photo, *eyes);
    return entry.hidden;
}

void OwnHairPhotos::select(const QString& path, Photo& entry, const QImage& photo,
                           const EyePair& eyes) {
    entry.own = std::make_unique<OwnHair>();
    entry.own->start(alignedWorkingPhoto(photo, eyes));
    entry.hairFound = entry.own->hairFound();
    entry.hidden = entry.own->hidden();
    entry.strokes.clear();
    entry.colour.reset();
    if (entry.hairFound) {
        store(path, entry);
    }
}

void OwnHairPhotos::hideWithEyes(const QString& path, const QImage& photo, const EyePair& eyes) {
    hidden(path, photo);
    Photo& entry = *find(path);
    entry.faceFound = true;
    entry.clickedEyes = eyes;
    select(path, entry, photo, eyes);
}

OwnHairPhotos::Photo* OwnHairPhotos::find(const QString& path) {
    const auto known = photos_.find(path);
    return known == photos_.end() ? nullptr : &known->second;
}

OwnHair* OwnHairPhotos::selection(const QString& path, const QImage& photo) {
    Photo* entry = find(path);
    if (!entry) {
        hidden(path, photo);
        entry = find(path);
    }
    if (!entry->own) {
        const std::optional<EyePair> eyes = eyesOn(path, *entry, photo);
        if (!eyes) {
            return nullptr;
        }
        entry->own = std::make_unique<OwnHair>();
        entry->own->start(alignedWorkingPhoto(photo, *eyes), entry->strokes);
    }
    return entry->own.get();
}

QImage OwnHairPhotos::recoloured(const QString& path, const QImage& photo,
                                 const HairColour& colour) {
    hidden(path, photo);
    Photo* entry = find(path);
    if (!entry->hairFound || !selection(path, photo)) {
        return photo;
    }
    if (entry->colour != colour || entry->recoloured.isNull()) {
        entry->recoloured = photo.convertToFormat(QImage::Format_RGB32);
        recolourRegion(entry->recoloured, entry->own->selection().alpha(), colour);
        entry->colour = colour;
    }
    return entry->recoloured;
}

void OwnHairPhotos::corrected(const QString& path) {
    Photo* entry = find(path);
    if (!entry || !entry->own) {
        return;
    }
    entry->own->update();
    entry->hairFound = entry->own->hairFound();
    entry->hidden = entry->own->hidden();
    entry->strokes = entry->own->selection().strokes();
    entry->colour.reset();
    store(path, *entry);
}

void OwnHairPhotos::store(const QString& path, Photo& photo) {
    const QString name = storedName(path);
    QSaveFile file(name);
    QImageWriter writer(&file, "png");
    writer.setText(kChecksumKey, QString::fromLatin1(photo.checksum));
    writer.setText(kStrokesKey,
                   QString::fromUtf8(
                       QJsonDocument(strokesToJson(photo.strokes)).toJson(QJsonDocument::Compact)));
    if (photo.clickedEyes) {
        writer.setText(kEyesKey, eyesText(*photo.clickedEyes));
    }
    QString reason;
    if (!file.open(QIODevice::WriteOnly)) {
        reason = spanishSystemError(file.errorString());
    } else if (!writer.write(photo.hidden)) {
        reason = writer.errorString();
        file.cancelWriting();
    } else if (!file.commit()) {
        reason = spanishSystemError(file.errorString());
    }
    const bool wasFailing = !photo.storeError.isEmpty();
    photo.storeError = reason.isEmpty()
                           ? QString()
                           : QStringLiteral("%1\n\n%2").arg(QDir::toNativeSeparators(name), reason);
    photo.storeErrorTold = photo.storeErrorTold && wasFailing && !reason.isEmpty();
}

}  // namespace crinova
