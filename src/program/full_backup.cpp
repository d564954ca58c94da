#include "program/full_backup.h"

#include <fcntl.h>
#include <unistd.h>

#include <map>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "platform/system_errors.h"
#include "program/database_maintenance.h"
#include "program/folder_names.h"
#include "program/program_database.h"

namespace crinova {
namespace {

const QString kDatabaseEntry = QStringLiteral("crinova.db");
// The last entry: how many entries come before it, their bytes and when the backup was made. A
// copy cut short at an entry's boundary still reads as a tar archive; without this list it would
// pass as whole.
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

QString shown(const QString& path) {
    return shortenedMiddle(QDir::toNativeSeparators(path));
}

bool present(const QString& path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

bool renamePath(const QString& from, const QString& to) {
    return present(from) && !present(to) && QDir().rename(from, to);
}

// The names on the disk, so a crash right after a rename finds it done.
void syncFolder(const QString& folder) {
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// One archived folder's entries, sorted; links and special files go to `skipped` instead.
void addFolder(const QString& root, const QString& name, std::vector<ArchiveEntry>& entries,
               qint64& bytes, QStringList& skipped) {
    const QFileInfo rootInfo(root);
    if (!rootInfo.exists() && !rootInfo.isSymLink()) {
        return;  // not in the backup, so a restore leaves that folder as it finds it
    }
    if (rootInfo.isSymLink() || (rootInfo.exists() && !rootInfo.isDir())) {
        skipped << QStringLiteral("%1: %2").arg(
            name, rootInfo.isSymLink()
                      ? QStringLiteral("un enlace a %1").arg(shown(rootInfo.symLinkTarget()))
                      : QStringLiteral("no es una carpeta"));
        return;
    }
    entries.push_back(ArchiveEntry{name, {}, {}, true});
    // Links are not followed: only what lies in the folder itself is the salon's.
    QDirIterator walk(root, QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot,
                      QDirIterator::Subdirectories);
    QStringList found;
    while (walk.hasNext()) {
        found << walk.next();
    }
    found.sort();
    for (const QString& path : found) {
        const QFileInfo info(path);
        const QString entry = name + QLatin1Char('/') + QDir(root).relativeFilePath(path);
        if (info.isSymLink()) {
            skipped << QStringLiteral("%1: un enlace a %2")
                           .arg(shortenedMiddle(entry), shown(info.symLinkTarget()));
        } else if (!info.isDir() && !info.isFile()) {
            skipped << QStringLiteral("%1: no es un archivo normal").arg(shortenedMiddle(entry));
        } else {
            entries.push_back(
                ArchiveEntry{entry, info.isDir() ? QString() : path, {}, info.isDir()});
            bytes += info.isDir() ? 0 : info.size();
        }
    }
}

// A folder of this station with another laid over it: an entry of the same name is taken from
// the other.
void addMerged(const QString& root, const QString& over, const QString& name,
               std::vector<ArchiveEntry>& entries, qint64& bytes, QStringList& skipped) {
    std::vector<ArchiveEntry> own;
    std::vector<ArchiveEntry> laid;
    qint64 unused = 0;
    addFolder(root, name, own, unused, skipped);
    addFolder(over, name, laid, unused, skipped);
    std::map<QString, ArchiveEntry> byName;
    for (std::vector<ArchiveEntry>* list : {&own, &laid}) {
        for (ArchiveEntry& entry : *list) {
            byName.insert_or_assign(entry.name, std::move(entry));
        }
    }
    for (auto& [entryName, entry] : byName) {
        bytes += entry.folder ? 0 : QFileInfo(entry.source).size();
        entries.push_back(std::move(entry));
    }
}

// The items a swap moves: the database first (its arrival is the point after which a swap cut
// short is finished rather than undone), then the folders the backup has.
QStringList swapItems(const QString& incoming) {
    QStringList items{kDatabaseEntry};
    for (const QString& name : archivedFolders()) {
        if (QFileInfo(incoming + QLatin1Char('/') + name).isDir()) {
            items << name;
        }
    }
    return items;
}

// The journal: where the previous database goes, and each item swapped.
struct Journal {
    QString previousDatabase;
    QStringList items;
};

bool writeJournal(const ProgramFolder& folder, const Journal& journal) {
    QSaveFile file(folder.fullPath(kRestoreJournal));
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    QString text = QStringLiteral("Crinova: restauración de una copia de seguridad en curso.\n");
    text += QStringLiteral("anterior=%1\n").arg(journal.previousDatabase);
    for (const QString& item : journal.items) {
        text += QStringLiteral("cambia=%1\n").arg(item);
    }
    // QSaveFile puts the bytes on the disk before it gives the file its name.
    if (file.write(text.toUtf8()) < 0 || !file.commit()) {
        return false;
    }
    syncFolder(folder.path());
    return true;
}

bool readJournal(const ProgramFolder& folder, Journal& journal) {
    QFile file(folder.fullPath(kRestoreJournal));
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    for (const QString& line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        const QString key = line.left(equals);
        const QString value = line.mid(equals + 1);
        if (key == QLatin1String("anterior")) {
            journal.previousDatabase = value;
        } else if (key == QLatin1String("cambia") &&
                   (value == kDatabaseEntry || archivedFolders().contains(value))) {
            journal.items << value;
        }
    }
    return !journal.previousDatabase.isEmpty() && journal.items.value(0) == kDatabaseEntry;
}

// Where the previous database and folders are, said after a restore.
QString previousPlaces(const QString& previousDatabase) {
    QString text;
    if (QFileInfo::exists(previousDatabase)) {
        text +=
            QStringLiteral("\nLa base de datos anterior está en:\n%1").arg(shown(previousDatabase));
    }
    for (const QString& name : archivedFolders()) {
        if (QFileInfo::exists(previousFolder(previousDatabase, name))) {
            text += QStringLiteral("\nLa carpeta «%1» anterior está en:\n%2")
                        .arg(name, shown(previousFolder(previousDatabase, name)));
        }
    }
    return text;
}

// Keeps what was set aside beside the previous database; then the aside folder goes. Answers
// whether the aside folder is gone.
bool keepPrevious(const ProgramFolder& folder, const QString& previousDatabase) {
    const QString aside = folder.fullPath(kRestoreAside);
    QDir().mkpath(QFileInfo(previousDatabase).path());
    const QString asideDb = aside + QLatin1Char('/') + kDatabaseEntry;
    if (present(asideDb) && !renamePath(asideDb, previousDatabase) &&
        QFile::copy(asideDb, previousDatabase)) {
        QFile::remove(asideDb);
    }
    for (const QString& name : archivedFolders()) {
        renamePath(aside + QLatin1Char('/') + name, previousFolder(previousDatabase, name));
    }
    if (QDir(aside).isEmpty(QDir::AllEntries | QDir::System | QDir::Hidden |
                            QDir::NoDotAndDotDot)) {
        return QDir().rmdir(aside);
    }
    // What could not be moved (the copies folder full or read-only) is kept apart under a name of
    // its own, never removed.
    return QDir().rename(aside, aside + QLatin1Char('-') + stamp(QDateTime::currentDateTime()));
}

}  // namespace

QString fullBackupName(const QDateTime& when) {
    return kBackupFolder + QStringLiteral("\\crinova-") + stamp(when) + QStringLiteral(".tar");
}

QString backupSnapshotName(const QDateTime& when) {
    return kBackupFolder + QStringLiteral("\\.crinova-") + stamp(when) + QStringLiteral(".db");
}

const QStringList& archivedFolders() {
    // "fotos" holds the catalogue's pictures with the salon's own styles.
    static const QStringList folders{QStringLiteral("clientes"), QStringLiteral("fotos")};
    return folders;
}

bool writeFullBackup(const ProgramFolder& folder, const QString& snapshot, const QString& target,
                     const ArchiveProgress& progress, QString* error, QStringList* skipped,
                     const QString& serverPictures) {
    std::vector<ArchiveEntry> entries;
    entries.push_back(ArchiveEntry{kDatabaseEntry, snapshot, {}, false});
    qint64 bytes = QFileInfo(snapshot).size();
    QStringList left;
    for (const QString& name : archivedFolders()) {
        const QString root = folder.fullPath(QLatin1Char('\\') + name);
        if (serverPictures.isEmpty()) {
            addFolder(root, name, entries, bytes, left);
        } else if (name == QLatin1String("clientes")) {
            // The server's clients alone: this station's folder may hold some it never had.
            addFolder(serverPictures + QLatin1Char('/') + name, name, entries, bytes, left);
        } else {
            // The installed styles are each station's own; the server's pictures lie over them.
            addMerged(root, serverPictures + QLatin1Char('/') + name, name, entries, bytes, left);
        }
    }
    if (skipped) {
        *skipped = left;
    }
    const QByteArray list = QStringLiteral("%1 %2\n").arg(entries.size()).arg(bytes).toUtf8();
    // The list's own time is when the backup was made: the moment the database was copied. (Its
    // text stays as earlier versions read it.)
    entries.push_back(
        ArchiveEntry{kListEntry, {}, list, false, QFileInfo(snapshot).lastModified()});
    if (!QDir().mkpath(QFileInfo(target).path())) {
        return fail(error, QStringLiteral("No se ha podido crear la carpeta %1.")
                               .arg(shown(QFileInfo(target).path())));
    }
    return writeTarArchive(entries, target, progress, error);
}

void removeUnfinishedBackups(const ProgramFolder& folder) {
    const QString copies = folder.fullPath(kBackupFolder);
    if (!linkLeadingOut(folder, copies).isEmpty()) {
        return;
    }
    const QFileInfoList left = QDir(copies).entryInfoList(
        {QStringLiteral(".crinova-*.tar.part"), QStringLiteral(".crinova-*.db")},
        QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo& file : left) {
        QFile::remove(file.absoluteFilePath());  // a link is removed itself, never its target
    }
    // The server's pictures fetched for a backup.
    const QFileInfoList fetched = QDir(copies).entryInfoList(
        {QStringLiteral(".crinova-*-servidor")}, QDir::Dirs | QDir::Hidden | QDir::NoSymLinks);
    for (const QFileInfo& pictures : fetched) {
        removeFolder(folder, pictures.absoluteFilePath());
    }
}

QDateTime backupMadeAt(const QString& copy) {
    QDateTime made;
    // Backups that did not record it leave their list at the start of time.
    if (copy.endsWith(QLatin1String(".tar"), Qt::CaseInsensitive) &&
        readTarEntry(copy, kListEntry, nullptr, &made) && made.isValid() &&
        made.toSecsSinceEpoch() > 0) {
        return made;
    }
    return QFileInfo(copy).lastModified();
}

bool prepareFullRestore(const ProgramFolder& folder, const QString& archive, QString* error,
                        const ArchiveProgress& progress, bool* unwritable) {
    const QString incoming = folder.fullPath(kRestoreIncoming);
    QString reason;
    if (!removeFolder(folder, incoming, &reason)) {
        if (unwritable) {
            *unwritable = true;
        }
        return fail(error, reason);
    }
    if (!QDir().mkpath(incoming)) {
        if (unwritable) {
            *unwritable = true;
        }
        return fail(error,
                    QStringLiteral("No se ha podido crear la carpeta %1.").arg(shown(incoming)));
    }
    const auto refuse = [&](const QString& why) {
        discardFullRestore(folder);
        return fail(error, why);
    };
    QStringList names;
    if (!extractTarArchive(archive, incoming, &names, &reason, progress, unwritable)) {
        return refuse(reason);
    }
    const QString damaged =
        QStringLiteral("La copia %1 está incompleta o dañada: %2. Elija otra copia.")
            .arg(shown(archive));
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
    if (!names.contains(kDatabaseEntry) ||
        !QFileInfo(incoming + QLatin1Char('/') + kDatabaseEntry).isFile()) {
        return refuse(damaged.arg(QStringLiteral("no tiene la base de datos")));
    }
    for (const QString& name : names) {
        const QString top = name.section(QLatin1Char('/'), 0, 0);
        if (name != kDatabaseEntry && name != kListEntry && !archivedFolders().contains(top)) {
            return refuse(damaged.arg(
                QStringLiteral("tiene un archivo ajeno (%1)").arg(shortenedMiddle(name))));
        }
    }
    // Put in place, a file where the program keeps a folder would make every later save fail.
    for (const QString& name : archivedFolders()) {
        const QFileInfo entry(incoming + QLatin1Char('/') + name);
        if (entry.exists() && !entry.isDir()) {
            return refuse(damaged.arg(
                QStringLiteral("«%1» es un archivo, y tendría que ser una carpeta").arg(name)));
        }
    }
    if (!isSoundDatabase(incoming + QLatin1Char('/') + kDatabaseEntry, &reason)) {
        // Without the path inside the incoming folder, which says nothing to the stylist.
        return refuse(QStringLiteral("La base de datos de la copia %1 no se puede usar. %2 Elija "
                                     "otra copia.")
                          .arg(shown(archive), reason.section(QStringLiteral("\n\n"), -1)));
    }
    QFile::remove(incoming + QLatin1Char('/') + kListEntry);
    return true;
}

bool swapInFullRestore(Database& database, const ProgramFolder& folder,
                       const QString& previousDatabase, QString* error,
                       const std::function<void()>& afterEachStep) {
    const auto step = [&afterEachStep] {
        if (afterEachStep) {
            afterEachStep();
        }
    };
    const QString incoming = folder.fullPath(kRestoreIncoming);
    const QString aside = folder.fullPath(kRestoreAside);
    const auto live = [&folder](const QString& item) {
        return folder.fullPath(QLatin1Char('\\') + item);
    };
    // Nothing is written or emptied through a link planted in the program folder.
    for (const QString& path : {incoming, aside, previousDatabase}) {
        const QString refusal = linkLeadingOut(folder, path, path != previousDatabase);
        if (!refusal.isEmpty()) {
            discardFullRestore(folder);
            return fail(error, QStringLiteral("No se ha restaurado la copia. %1").arg(refusal));
        }
    }
    // An aside left by a restore that was cut short before journals were kept may hold the
    // salon's only files: kept apart.
    if (present(aside)) {
        QDir().rename(aside, aside + QStringLiteral("-") + stamp(QDateTime::currentDateTime()));
    }
    const QStringList items = swapItems(incoming);
    if (!QDir().mkpath(aside) || !writeJournal(folder, Journal{previousDatabase, items})) {
        QDir().rmdir(aside);
        discardFullRestore(folder);
        return fail(error, QStringLiteral("No se ha podido empezar la restauración: no se puede "
                                          "escribir en la carpeta del programa %1. Nada ha "
                                          "cambiado.")
                               .arg(shown(folder.path())));
    }
    step();
    database.close();
    QStringList setAside;
    QStringList broughtIn;
    bool done = true;
    for (const QString& item : items) {
        if (present(live(item))) {
            done = renamePath(live(item), aside + QLatin1Char('/') + item);
            if (!done) {
                break;
            }
            setAside << item;
            step();
        }
    }
    for (qsizetype i = 0; done && i < items.size(); ++i) {
        done = renamePath(incoming + QLatin1Char('/') + items[i], live(items[i]));
        if (done) {
            broughtIn << items[i];
            step();
        }
    }
    if (!done) {
        // Back as it was: what came in goes out again, what was set aside returns.
        bool back = true;
        for (const QString& item : broughtIn) {
            back = renamePath(live(item), incoming + QLatin1Char('/') + item) && back;
        }
        for (const QString& item : setAside) {
            back = renamePath(aside + QLatin1Char('/') + item, live(item)) && back;
        }
        if (!back) {
            // The journal stays: the next start finishes or undoes what is left.
            return fail(error,
                        QStringLiteral("No se ha podido poner la copia en su sitio, ni tampoco "
                                       "devolverlo todo a su sitio: parte de la base de datos y "
                                       "de las fichas está en %1 y en %2. No borre esas "
                                       "carpetas. Cierre Crinova y vuelva a abrirlo: al empezar "
                                       "lo dejará todo entero.")
                            .arg(shown(aside), shown(incoming)));
        }
        QDir().rmdir(aside);
        discardFullRestore(folder);
        QFile::remove(folder.fullPath(kRestoreJournal));
        fail(error, QStringLiteral("No se ha podido poner la copia en su sitio; la base de datos "
                                   "y las fichas siguen como estaban."));
    } else {
        keepPrevious(folder, previousDatabase);
        step();
        discardFullRestore(folder);
        QFile::remove(folder.fullPath(kRestoreJournal));
        syncFolder(folder.path());
    }
    QString reopenError;
    if (!openProgramDatabase(database, folder, &reopenError)) {
        return fail(error, reopenError);
    }
    return done;
}

QString previousFolder(const QString& previousDatabase, const QString& name) {
    QString base = previousDatabase;
    if (base.endsWith(QStringLiteral(".db"))) {
        base.chop(3);
    }
    return base + QLatin1Char('-') + name;
}

void discardFullRestore(const ProgramFolder& folder) {
    removeFolder(folder, folder.fullPath(kRestoreIncoming));
}

QString setPreparedRestoreApart(const ProgramFolder& folder) {
    const QString incoming = folder.fullPath(kRestoreIncoming);
    const QString apart =
        incoming + QStringLiteral("-descartado-%1").arg(QDateTime::currentMSecsSinceEpoch());
    if (!present(incoming) || !linkLeadingOut(folder, incoming, true).isEmpty() ||
        !QDir().rename(incoming, apart)) {
        discardFullRestore(folder);
        return QString();
    }
    return apart;
}

QString finishInterruptedRestore(const ProgramFolder& folder) {
    const QString journalPath = folder.fullPath(kRestoreJournal);
    // Restores prepared but never begun: their incoming folders hold only a copy's files.
    for (const QString& apart :
         QDir(folder.path())
             .entryList({QFileInfo(folder.fullPath(kRestoreIncoming)).fileName() +
                         QStringLiteral("-descartado-*")},
                        QDir::Dirs | QDir::Hidden | QDir::System)) {
        removeFolder(folder, folder.path() + QLatin1Char('/') + apart);
    }
    if (!QFileInfo::exists(journalPath)) {
        discardFullRestore(folder);
        return QString();
    }
    Journal journal;
    const QString incoming = folder.fullPath(kRestoreIncoming);
    const QString aside = folder.fullPath(kRestoreAside);
    const auto live = [&folder](const QString& item) {
        return folder.fullPath(QLatin1Char('\\') + item);
    };
    const QString stuck = QStringLiteral(
        "Una restauración de una copia de seguridad se interrumpió, y Crinova no ha podido ni "
        "terminarla ni deshacerla: %1 La base de datos y las fichas de clientes están repartidas "
        "entre la carpeta del programa, %2 y %3. No borre nada; pida ayuda a su técnico. Crinova "
        "no abrirá la base de datos mientras exista %4.");
    const auto refuse = [&](const QString& why) {
        return stuck.arg(why, shown(aside), shown(incoming), shown(journalPath));
    };
    if (!readJournal(folder, journal)) {
        return refuse(QStringLiteral("su registro no se puede leer."));
    }
    for (const QString& path : {incoming, aside}) {
        const QString refusal = linkLeadingOut(folder, path, true);
        if (!refusal.isEmpty()) {
            return refuse(refusal);
        }
    }
    const QString incomingDb = incoming + QLatin1Char('/') + kDatabaseEntry;
    const QString asideDb = aside + QLatin1Char('/') + kDatabaseEntry;
    // The backup's database is in place once it has left the incoming folder for the live name:
    // from there the swap goes forward; before it, back.
    const bool forward = !present(incomingDb) && present(live(kDatabaseEntry));
    if (!forward && !present(incomingDb) && !present(asideDb)) {
        return refuse(QStringLiteral("falta la base de datos."));
    }
    QString message;
    if (forward) {
        for (const QString& item : journal.items) {
            const QString waiting = incoming + QLatin1Char('/') + item;
            if (present(waiting) && !renamePath(waiting, live(item))) {
                return refuse(
                    QStringLiteral("no se ha podido poner en su sitio %1.").arg(shown(waiting)));
            }
        }
        keepPrevious(folder, journal.previousDatabase);
        message = QStringLiteral(
                      "Una restauración de una copia de seguridad se interrumpió "
                      "(Crinova se cerró en medio). Ahora se ha terminado: la base de "
                      "datos y las fichas de clientes son las de la copia.") +
                  previousPlaces(journal.previousDatabase);
    } else {
        for (const QString& item : journal.items) {
            const QString setAside = aside + QLatin1Char('/') + item;
            if (present(setAside) && !renamePath(setAside, live(item))) {
                return refuse(
                    QStringLiteral("no se ha podido devolver a su sitio %1.").arg(shown(setAside)));
            }
        }
        QDir().rmdir(aside);
        message = QStringLiteral(
            "Una restauración de una copia de seguridad se interrumpió "
            "(Crinova se cerró en medio) antes de cambiar nada que no se "
            "pudiera deshacer. Se ha deshecho: la base de datos y las fichas "
            "de clientes siguen como estaban antes de restaurar.");
    }
    if (present(aside) && !keepPrevious(folder, journal.previousDatabase)) {
        return refuse(QStringLiteral("no se ha podido vaciar %1.").arg(shown(aside)));
    }
    discardFullRestore(folder);
    syncFolder(folder.path());
    QFile::remove(journalPath);
    return message;
}

}  // namespace crinova
