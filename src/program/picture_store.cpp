#include "program/picture_store.h"

#include <sys/stat.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QSaveFile>
#include <tuple>

#include "platform/system_errors.h"

namespace crinova {
namespace {

bool fail(QString* error, const QString& reason) {
    if (error) {
        *error = reason;
    }
    return false;
}

// A file as it is on disk now: a file replaced or changed in place has another identity.
using FileIdentity = std::tuple<dev_t, ino_t, off_t, qint64>;

bool identify(const QString& path, FileIdentity* identity) {
    struct stat status {};
    if (stat(QFile::encodeName(path).constData(), &status) != 0) {
        return false;
    }
    *identity = {status.st_dev, status.st_ino, status.st_size,
                 qint64(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec};
    return true;
}

// The checksums of the local copies already read or written by this program, by path and
// identity, so an unchanged copy is not read and hashed again at every use.
struct KnownChecksums {
    QMutex lock;
    QHash<QString, std::pair<FileIdentity, QString>> byPath;
};

KnownChecksums& known() {
    static KnownChecksums checksums;
    return checksums;
}

void remember(const QString& path, const QString& checksum) {
    FileIdentity identity;
    if (identify(path, &identity)) {
        const QMutexLocker locker(&known().lock);
        known().byPath.insert(path, {identity, checksum});
    }
}

// The checksum of a local file, or an empty text when it cannot be read.
QString fileChecksum(const QString& path) {
    FileIdentity identity;
    if (!identify(path, &identity)) {
        return QString();
    }
    {
        const QMutexLocker locker(&known().lock);
        const auto found = known().byPath.constFind(path);
        if (found != known().byPath.cend() && found->first == identity) {
            return found->second;
        }
    }
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file)) {
        return QString();
    }
    const QString checksum = QString::fromLatin1(hash.result().toHex());
    remember(path, checksum);
    return checksum;
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

std::vector<PictureFetch> fetchPictures(Database& server, const ProgramFolder& folder,
                                        const QStringList& relativeNames, QString* error) {
    std::vector<PictureFetch> outcomes(static_cast<std::size_t>(relativeNames.size()),
                                       PictureFetch::NotOnServer);
    QVariantList asked;
    for (qsizetype i = 0; i < relativeNames.size(); ++i) {
        if (isPictureName(folder, relativeNames[i])) {
            asked << relativeNames[i];
        } else {
            outcomes[static_cast<std::size_t>(i)] = PictureFetch::Failed;
            fail(
                error,
                QStringLiteral("%1 no es un nombre de imagen del programa.").arg(relativeNames[i]));
        }
    }
    // One question for all the checksums and one for every content that differs: each question
    // to the server costs more than hashing a photo here.
    const auto among = [](qsizetype count) {
        QStringList marks;
        marks.fill(QStringLiteral("?"), count);
        return QStringLiteral(" From imagen where nombre in (%1)")
            .arg(marks.join(QLatin1Char(',')));
    };
    const auto markAll = [&](const QVariantList& names, PictureFetch outcome) {
        for (const QVariant& name : names) {
            outcomes[static_cast<std::size_t>(relativeNames.indexOf(name.toString()))] = outcome;
        }
    };
    if (asked.isEmpty()) {
        return outcomes;
    }
    RecordSet listed = server.OpenRecordset(
        QStringLiteral("Select nombre, suma") + among(asked.size()), asked, error);
    if (!listed.isOpen()) {
        markAll(asked, PictureFetch::Failed);
        return outcomes;
    }
    QVariantList stale;
    for (; !listed.Eof(); listed.MoveNext()) {
        const QString name = listed.Fields(QStringLiteral("nombre"));
        const bool current =
            fileChecksum(folder.fullPath(name)) == listed.Fields(QStringLiteral("suma"));
        markAll({name}, PictureFetch::Current);
        if (!current) {
            stale << name;
        }
    }
    if (stale.isEmpty()) {
        return outcomes;
    }
    markAll(stale, PictureFetch::NotOnServer);  // unless it is still there now
    // Each content with its own checksum: another station may have replaced it in between.
    RecordSet rows = server.OpenRecordset(
        QStringLiteral("Select nombre, suma, contenido") + among(stale.size()), stale, error);
    if (!rows.isOpen()) {
        markAll(stale, PictureFetch::Failed);
        return outcomes;
    }
    for (; !rows.Eof(); rows.MoveNext()) {
        const QString name = rows.Fields(QStringLiteral("nombre"));
        const QString path = folder.fullPath(name);
        const QByteArray content = rows.Value(QStringLiteral("contenido")).toByteArray();
        QSaveFile file(path);
        if (pictureChecksum(content) != rows.Fields(QStringLiteral("suma"))) {
            fail(error, QStringLiteral("La imagen %1 del servidor está dañada: no corresponde a "
                                       "su suma de comprobación.")
                            .arg(name));
            markAll({name}, PictureFetch::Failed);
        } else if (!QDir().mkpath(QFileInfo(path).absolutePath()) ||
                   !file.open(QIODevice::WriteOnly) || file.write(content) != content.size() ||
                   !file.commit()) {
            fail(error, QStringLiteral("No se ha podido escribir la copia local %1.").arg(path));
            markAll({name}, PictureFetch::Failed);
        } else {
            remember(path, rows.Fields(QStringLiteral("suma")));
            markAll({name}, PictureFetch::Fetched);
        }
    }
    return outcomes;
}

PictureFetch fetchPicture(Database& server, const ProgramFolder& folder,
                          const QString& relativeName, QString* error) {
    return fetchPictures(server, folder, {relativeName}, error).front();
}

bool syncPictures(Database& server, const ProgramFolder& folder, const QStringList& relativeNames,
                  QString* error) {
    QString reason;
    const std::vector<PictureFetch> fetched = fetchPictures(server, folder, relativeNames, &reason);
    bool whole = true;
    for (std::size_t i = 0; i < fetched.size(); ++i) {
        if (fetched[i] == PictureFetch::Failed) {
            whole = false;
            continue;
        }
        if (fetched[i] != PictureFetch::NotOnServer) {
            continue;
        }
        QFile file(folder.fullPath(relativeNames[int(i)]));
        if (!file.exists()) {
            continue;
        }
        if (!file.open(QIODevice::ReadOnly)) {
            whole = false;
            reason = spanishSystemError(file.errorString());
            continue;
        }
        if (!putPicture(server, folder, relativeNames[int(i)], file.readAll(), &reason)) {
            whole = false;
        }
    }
    if (!whole && error) {
        *error = reason;
    }
    return whole;
}

bool deletePictures(Database& server, const QStringList& relativeNames, QString* error) {
    return server.transaction(
        [&](QString* reason) {
            for (const QString& name : relativeNames) {
                if (!server.Execute(QStringLiteral("DELETE FROM imagen WHERE nombre=?"), {name},
                                    reason)) {
                    return false;
                }
            }
            return true;
        },
        error);
}

}  // namespace crinova
