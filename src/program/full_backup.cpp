#include "program/full_backup.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include "program/database_maintenance.h"
#include "program/folder_names.h"
#include "program/program_database.h"

namespace crinova {
namespace {

const QString kDatabaseEntry = QStringLiteral("crinova.db");
const QString kClientsEntry = QStringLiteral("clientes");
// The catalogue's pictures with the salon's own styles; older backups have none.
const QString kCatalogueEntry = QStringLiteral("fotos");
// The last entry: how many entries come before it and their bytes. A copy cut short at an entry's
// boundary still reads as a tar archive; without this list it would pass as whole.
const QString kListEntry = QStringLiteral("copia-crinova.txt");

bool fail(QString* error, const QString& reason) {
    if (error) {
        *error = reason;
    }
    return false;
}

QString stamp(const QDateTime& when) {
    return when.toString(QStringLiteral("yyyyMMdd-HHmmss"));
}

bool renamePath(const QString& from, const QString& to) {
    return QFileInfo::exists(from) && QDir().rename(from, to);
}

// The catalogue's folder, when there is one, as entries under "fotos/" (links not followed).
void addCatalogueEntries(const ProgramFolder& folder, std::vector<ArchiveEntry>& entries,
                         qint64& bytes) {
    const QString root = folder.fullPath(kCatalogueFolder);
    if (!QFileInfo(root).isDir()) {
        return;
    }
    entries.push_back(ArchiveEntry{kCatalogueEntry, {}, {}, true});
    QDirIterator walk(
        root, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks | QDir::Hidden,
        QDirIterator::Subdirectories);
    QStringList found;
    while (walk.hasNext()) {
        found << walk.next();
    }
    found.sort();
    for (const QString& path : found) {
        const QFileInfo info(path);
        entries.push_back(
            ArchiveEntry{kCatalogueEntry + QLatin1Char('/') + QDir(root).relativeFilePath(path),
                         info.isDir() ? QString() : path,
                         {},
                         info.isDir()});
        bytes += info.isDir() ? 0 : info.size();
    }
}

}  // namespace

QString fullBackupName(const QDateTime& when) {
    return kBackupFolder + QStringLiteral("\\crinova-") + stamp(when) + QStringLiteral(".tar");
}

QString backupSnapshotName(const QDateTime& when) {
    return kBackupFolder + QStringLiteral("\\.crinova-") + stamp(when) + QStringLiteral(".db");
}

bool writeFullBackup(const ProgramFolder& folder, const QString& snapshot, const QString& target,
                     const ArchiveProgress& progress, QString* error) {
    std::vector<ArchiveEntry> entries;
    entries.push_back(ArchiveEntry{kDatabaseEntry, snapshot, {}, false});
    entries.push_back(ArchiveEntry{kClientsEntry, {}, {}, true});
    const QString clients = folder.fullPath(kClientsFolder);
    qint64 bytes = QFileInfo(snapshot).size();
    // Links are not followed: only what lies in the folder itself is the salon's.
    QDirIterator walk(
        clients, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks | QDir::Hidden,
        QDirIterator::Subdirectories);
    QStringList found;
    while (walk.hasNext()) {
        found << walk.next();
    }
    found.sort();
    for (const QString& path : found) {
        const QFileInfo info(path);
        const QString name =
            kClientsEntry + QLatin1Char('/') + QDir(clients).relativeFilePath(path);
        entries.push_back(ArchiveEntry{name, info.isDir() ? QString() : path, {}, info.isDir()});
        bytes += info.isDir() ? 0 : info.size();
    }
    addCatalogueEntries(folder, entries, bytes);
    const QByteArray list = QStringLiteral("%1 %2\n").arg(entries.size()).arg(bytes).toUtf8();
    entries.push_back(ArchiveEntry{kListEntry, {}, list, false});
    if (!QDir().mkpath(QFileInfo(target).path())) {
        return fail(
            error,
            QStringLiteral("No se ha podido crear la carpeta %1.").arg(QFileInfo(target).path()));
    }
    return writeTarArchive(entries, target, progress, error);
}

bool prepareFullRestore(const ProgramFolder& folder, const QString& archive, QString* error) {
    discardFullRestore(folder);
    const QString incoming = folder.fullPath(kRestoreIncoming);
    if (!QDir().mkpath(incoming)) {
        return fail(error, QStringLiteral("No se ha podido crear la carpeta %1.").arg(incoming));
    }
    const auto refuse = [&](const QString& reason) {
        discardFullRestore(folder);
        return fail(error, reason);
    };
    QStringList names;
    QString reason;
    if (!extractTarArchive(archive, incoming, &names, &reason)) {
        return refuse(reason);
    }
    const QString damaged = QStringLiteral("La copia %1 está incompleta o dañada: %2").arg(archive);
    if (names.isEmpty() || names.last() != kListEntry) {
        return refuse(damaged.arg(QStringLiteral("le falta el final")));
    }
    QFile listFile(incoming + QLatin1Char('/') + kListEntry);
    const QStringList counts =
        listFile.open(QIODevice::ReadOnly)
            ? QString::fromUtf8(listFile.readAll()).simplified().split(QLatin1Char(' '))
            : QStringList();
    qint64 bytes = 0;
    for (qsizetype i = 0; i + 1 < names.size(); ++i) {
        const QFileInfo info(incoming + QLatin1Char('/') + names[i]);
        bytes += info.isDir() ? 0 : info.size();
    }
    if (counts.size() != 2 || counts[0] != QString::number(names.size() - 1) ||
        counts[1] != QString::number(bytes)) {
        return refuse(damaged.arg(QStringLiteral("faltan archivos")));
    }
    if (!names.contains(kDatabaseEntry)) {
        return refuse(damaged.arg(QStringLiteral("no tiene la base de datos")));
    }
    for (const QString& name : names) {
        if (name != kDatabaseEntry && name != kListEntry && name != kClientsEntry &&
            !name.startsWith(kClientsEntry + QLatin1Char('/')) && name != kCatalogueEntry &&
            !name.startsWith(kCatalogueEntry + QLatin1Char('/'))) {
            return refuse(damaged.arg(QStringLiteral("tiene un archivo ajeno (%1)").arg(name)));
        }
    }
    if (!isSoundDatabase(incoming + QLatin1Char('/') + kDatabaseEntry, &reason)) {
        return refuse(damaged.arg(reason));
    }
    QFile::remove(incoming + QLatin1Char('/') + kListEntry);
    QDir().mkpath(incoming + QLatin1Char('/') + kClientsEntry);
    return true;
}

bool swapInFullRestore(Database& database, const ProgramFolder& folder,
                       const QString& previousDatabase, QString* error) {
    const QString incoming = folder.fullPath(kRestoreIncoming);
    const QString aside = folder.fullPath(kRestoreAside);
    const QString liveDb = folder.fullPath(kDatabase);
    const QString liveClients = folder.fullPath(kClientsFolder);
    const QString asideDb = aside + QLatin1Char('/') + kDatabaseEntry;
    const QString asideClients = aside + QLatin1Char('/') + kClientsEntry;
    // The catalogue's pictures change only when the backup holds them.
    const QString incomingCatalogue = incoming + QLatin1Char('/') + kCatalogueEntry;
    const QString liveCatalogue = folder.fullPath(kCatalogueFolder);
    const QString asideCatalogue = aside + QLatin1Char('/') + kCatalogueEntry;
    const bool catalogueComes = QFileInfo(incomingCatalogue).isDir();
    bool catalogueAside = false;
    bool catalogueIn = false;
    // An aside left by a restore that was cut short may hold the salon's only files: kept apart.
    if (QFileInfo::exists(aside)) {
        QDir().rename(aside, aside + QStringLiteral("-") + stamp(QDateTime::currentDateTime()));
    }
    bool done = QDir().mkpath(aside);
    database.close();
    const bool hadDb = QFileInfo::exists(liveDb);
    const bool hadClients = QFileInfo::exists(liveClients);
    bool dbAside = false;
    bool clientsAside = false;
    bool dbIn = false;
    done = done && (!catalogueComes || !QFileInfo::exists(liveCatalogue) ||
                    (catalogueAside = renamePath(liveCatalogue, asideCatalogue)));
    done =
        done && (!catalogueComes || (catalogueIn = renamePath(incomingCatalogue, liveCatalogue)));
    done = done && (!hadDb || (dbAside = renamePath(liveDb, asideDb)));
    done = done && (!hadClients || (clientsAside = renamePath(liveClients, asideClients)));
    done = done && (dbIn = renamePath(incoming + QLatin1Char('/') + kDatabaseEntry, liveDb));
    done = done && renamePath(incoming + QLatin1Char('/') + kClientsEntry, liveClients);
    if (!done) {
        // Back as it was: what came in goes out again, what was set aside returns.
        if (dbIn) {
            QDir().rename(liveDb, incoming + QLatin1Char('/') + kDatabaseEntry);
        }
        if (clientsAside) {
            QDir().rename(asideClients, liveClients);
        }
        if (dbAside) {
            QDir().rename(asideDb, liveDb);
        }
        if (catalogueIn) {
            QDir().rename(liveCatalogue, incomingCatalogue);
        }
        if (catalogueAside) {
            QDir().rename(asideCatalogue, liveCatalogue);
        }
        fail(error, QStringLiteral("No se ha podido poner la copia en su sitio; la base de datos "
                                   "y las fichas siguen como estaban."));
    } else {
        QDir().mkpath(QFileInfo(previousDatabase).path());
        if (hadDb && !QDir().rename(asideDb, previousDatabase)) {
            QFile::copy(asideDb, previousDatabase);
        }
        // Left in the aside when it cannot be moved: the next restore keeps that aside apart.
        const bool clientsKept =
            !hadClients || renamePath(asideClients, previousClientsFolder(previousDatabase));
        // Styles added after the backup are kept the same way.
        const bool catalogueKept =
            !catalogueAside ||
            renamePath(asideCatalogue, previousCatalogueFolder(previousDatabase));
        if (clientsKept && catalogueKept) {
            QDir(aside).removeRecursively();
        }
    }
    discardFullRestore(folder);
    QString reopenError;
    if (!openProgramDatabase(database, folder, &reopenError)) {
        return fail(error, reopenError);
    }
    return done;
}

QString previousClientsFolder(const QString& previousDatabase) {
    QString name = previousDatabase;
    if (name.endsWith(QStringLiteral(".db"))) {
        name.chop(3);
    }
    return name + QStringLiteral("-clientes");
}

QString previousCatalogueFolder(const QString& previousDatabase) {
    QString name = previousClientsFolder(previousDatabase);
    name.chop(QStringLiteral("clientes").size());
    return name + kCatalogueEntry;
}

void discardFullRestore(const ProgramFolder& folder) {
    QDir(folder.fullPath(kRestoreIncoming)).removeRecursively();
}

}  // namespace crinova
