#include "program/large_companions.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>
#include <condition_variable>
#include <mutex>

#include "platform/files.h"

namespace crinova {
namespace {

struct PendingWrites {
    std::mutex mutex;
    std::condition_variable settled;
    QHash<QString, int> count;
};

PendingWrites& pending() {
    static PendingWrites writes;
    return writes;
}

}  // namespace

QString largeCompanionPath(const QString& picturePath, const QString& extension) {
    const QFileInfo info(picturePath);
    const QString stem = info.suffix().isEmpty()
                             ? picturePath
                             : picturePath.left(picturePath.size() - info.suffix().size() - 1);
    return stem + QStringLiteral("-grande.") + extension;
}

QStringList largeCompanionCandidates(const QString& picturePath) {
    return {largeCompanionPath(picturePath, QStringLiteral("png")),
            largeCompanionPath(picturePath, QStringLiteral("jpg"))};
}

QString companionPicturePath(const QString& companionPath, const QString& pictureExtension) {
    for (const QLatin1String extension : {QLatin1String("png"), QLatin1String("jpg")}) {
        const QString ending = QStringLiteral("-grande.") + extension;
        if (companionPath.endsWith(ending, Qt::CaseInsensitive) &&
            companionPath.size() > ending.size()) {
            return companionPath.left(companionPath.size() - ending.size()) + QLatin1Char('.') +
                   pictureExtension;
        }
    }
    return {};
}

bool isStampedCompanion(const QString& path) {
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    return QFileInfo(path).isFile() && !reader.text(QString::fromLatin1(kStampKey)).isEmpty();
}

QString pictureStamp(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    QCryptographicHash hash(QCryptographicHash::Md5);
    if (!hash.addData(&file)) {
        return {};
    }
    return QString::fromLatin1(hash.result().toHex());
}

bool writeLargeCompanion(const QImage& picture, const QString& companionPath,
                         const QString& picturePath, const QMap<QString, QString>& texts,
                         QString* error) {
    const QString stamp = pictureStamp(picturePath);
    const bool png = companionPath.endsWith(QLatin1String(".png"), Qt::CaseInsensitive);
    QSaveFile file(companionPath);
    if (!stamp.isEmpty() && file.open(QIODevice::WriteOnly)) {
        QImageWriter writer(&file, png ? "png" : "jpg");
        // A PNG at zlib's fastest compression (Qt maps quality 80 to level 1).
        writer.setQuality(png ? 80 : 95);
        writer.setText(QString::fromLatin1(kStampKey), stamp);
        for (auto text = texts.begin(); text != texts.end(); ++text) {
            writer.setText(text.key(), text.value());
        }
        if (writer.write(picture) && file.commit()) {
            return true;
        }
        file.cancelWriting();
    }
    if (error) {
        *error = stamp.isEmpty()
                     ? QStringLiteral("No se puede leer %1.").arg(picturePath)
                     : QStringLiteral("No se ha podido escribir %1.").arg(companionPath);
    }
    return false;
}

QImage loadLargeCompanion(const QString& picturePath, QMap<QString, QString>* texts) {
    for (const QString& candidate : largeCompanionCandidates(picturePath)) {
        if (!fileExists(candidate)) {
            continue;
        }
        waitForCompanion(candidate);
        QImageReader small(picturePath);
        small.setDecideFormatFromContent(true);
        QImageReader reader(candidate);
        reader.setDecideFormatFromContent(true);
        if (!small.canRead() || reader.size() != small.size() * kLargeFactor ||
            reader.text(QString::fromLatin1(kStampKey)) != pictureStamp(picturePath)) {
            return {};
        }
        if (texts) {
            texts->clear();
            for (const QString& key : reader.textKeys()) {
                texts->insert(key, reader.text(key));
            }
        }
        const QImage picture = reader.read();
        return picture.isNull() ? QImage() : picture.convertToFormat(QImage::Format_RGB32);
    }
    return {};
}

void markCompanionPending(const QString& companionPath) {
    PendingWrites& writes = pending();
    const std::lock_guard<std::mutex> lock(writes.mutex);
    ++writes.count[companionPath];
}

void companionSettled(const QString& companionPath) {
    PendingWrites& writes = pending();
    {
        const std::lock_guard<std::mutex> lock(writes.mutex);
        auto it = writes.count.find(companionPath);
        if (it != writes.count.end() && --it.value() <= 0) {
            writes.count.erase(it);
        }
    }
    writes.settled.notify_all();
}

void waitForCompanion(const QString& companionPath) {
    PendingWrites& writes = pending();
    std::unique_lock<std::mutex> lock(writes.mutex);
    writes.settled.wait(lock, [&] { return !writes.count.contains(companionPath); });
}

bool deleteLargeCompanions(const QString& picturePath) {
    bool gone = true;
    for (const QString& candidate : largeCompanionCandidates(picturePath)) {
        waitForCompanion(candidate);
        gone = deleteFile(candidate) && gone;
    }
    return gone;
}

bool copyLargeCompanion(const QString& fromPicture, const QString& toPicture) {
    if (!deleteLargeCompanions(toPicture)) {
        return false;
    }
    for (const QString& candidate : largeCompanionCandidates(fromPicture)) {
        waitForCompanion(candidate);
        if (fileExists(candidate)) {
            const QString target =
                largeCompanionPath(toPicture, QFileInfo(candidate).suffix().toLower());
            return QFile::copy(candidate, target);
        }
    }
    return true;
}

}  // namespace crinova
