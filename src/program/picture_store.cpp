#include "program/picture_store.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace crinova {
namespace {

bool fail(QString* error, const QString& reason) {
    if (error) {
        *error = reason;
    }
    return false;
}

// The checksum of a local file, or an empty text when it cannot be read.
QString fileChecksum(const QString& path) {
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file)) {
        return QString();
    }
    return QString::fromLatin1(hash.result().toHex());
}

// Whether `path` would lie inside `root` once written: its nearest existing folder, with links
// resolved, is `root` or inside it.
bool landsInside(const QString& root, const QString& path) {
    const QString top = QFileInfo(root).canonicalFilePath();
    QFileInfo existing(QFileInfo(path).absolutePath());
    while (!existing.exists() && existing.absoluteFilePath() != existing.absolutePath()) {
        existing = QFileInfo(existing.absolutePath());
    }
    const QString real = existing.canonicalFilePath();
    return !top.isEmpty() && (real == top || real.startsWith(top + QLatin1Char('/')));
}

}  // namespace

bool addPictureTable(Database& database, const ProgramFolder& folder, QString* error) {
    (void)folder;
    return database.Execute(QStringLiteral("CREATE TABLE imagen (nombre TEXT PRIMARY KEY, suma "
                                           "TEXT NOT NULL, contenido BYTEA NOT NULL)"),
                            {}, error);
}

QString pictureChecksum(const QByteArray& content) {
    return QString::fromLatin1(
        QCryptographicHash::hash(content, QCryptographicHash::Sha256).toHex());
}

bool isPictureName(const ProgramFolder& folder, const QString& relativeName) {
    if (relativeName.contains(QLatin1String("..")) || relativeName.contains(QLatin1Char('/')) ||
        relativeName.endsWith(QLatin1Char('\\'))) {
        return false;
    }
    for (const char* root : {"\\clientes", "\\fotos"}) {
        const QString top = QString::fromLatin1(root);
        if (relativeName.startsWith(top + QLatin1Char('\\'))) {
            // The folder itself may still be missing: then nothing can lead out of it.
            return !QFileInfo::exists(folder.fullPath(top)) ||
                   landsInside(folder.fullPath(top), folder.fullPath(relativeName));
        }
    }
    return false;
}

bool putPicture(Database& server, const ProgramFolder& folder, const QString& relativeName,
                const QByteArray& content, QString* error) {
    if (!isPictureName(folder, relativeName)) {
        return fail(error,
                    QStringLiteral("%1 no es un nombre de imagen del programa.").arg(relativeName));
    }
    return server.Execute(
        QStringLiteral("INSERT INTO imagen (nombre, suma, contenido) VALUES (?, ?, ?) ON "
                       "CONFLICT (nombre) DO UPDATE SET suma=excluded.suma, "
                       "contenido=excluded.contenido"),
        {relativeName, pictureChecksum(content), content}, error);
}

PictureFetch fetchPicture(Database& server, const ProgramFolder& folder,
                          const QString& relativeName, QString* error) {
    if (!isPictureName(folder, relativeName)) {
        fail(error, QStringLiteral("%1 no es un nombre de imagen del programa.").arg(relativeName));
        return PictureFetch::Failed;
    }
    const RecordSet listed = server.OpenRecordset(
        QStringLiteral("Select suma From imagen where nombre=?"), {relativeName}, error);
    if (!listed.isOpen()) {
        return PictureFetch::Failed;
    }
    if (listed.RecordCount() == 0) {
        return PictureFetch::NotOnServer;
    }
    const QString path = folder.fullPath(relativeName);
    const QString suma = listed.Fields(QStringLiteral("suma"));
    if (fileChecksum(path) == suma) {
        return PictureFetch::Current;
    }
    // The content with its own checksum: another station may have replaced it in between.
    const RecordSet row = server.OpenRecordset(
        QStringLiteral("Select suma, contenido From imagen where nombre=?"), {relativeName}, error);
    if (row.RecordCount() == 0) {
        return row.isOpen() ? PictureFetch::NotOnServer : PictureFetch::Failed;
    }
    const QByteArray content = row.Value(QStringLiteral("contenido")).toByteArray();
    if (pictureChecksum(content) != row.Fields(QStringLiteral("suma"))) {
        fail(error, QStringLiteral("La imagen %1 del servidor está dañada: no corresponde a su "
                                   "suma de comprobación.")
                        .arg(relativeName));
        return PictureFetch::Failed;
    }
    QSaveFile file(path);
    if (!QDir().mkpath(QFileInfo(path).absolutePath()) || !file.open(QIODevice::WriteOnly) ||
        file.write(content) != content.size() || !file.commit()) {
        fail(error, QStringLiteral("No se ha podido escribir la copia local %1.").arg(path));
        return PictureFetch::Failed;
    }
    return PictureFetch::Fetched;
}

}  // namespace crinova
