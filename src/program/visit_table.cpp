#include "program/visit_table.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <map>
#include <utility>
#include <vector>

#include "program/folder_names.h"
#include "program/large_companions.h"

namespace crinova {
namespace {

// The visits kept in one client's folder, by the program's own file names only.
std::map<QString, std::vector<std::pair<int, QString>>> visitsOnDisk(const ProgramFolder& folder,
                                                                     const QString& codigo) {
    static const QRegularExpression name(QStringLiteral("^(\\d{8}-\\d{6})-foto([1-6])\\.bmp$"));
    std::map<QString, std::vector<std::pair<int, QString>>> found;
    const QString relative = legacyClientFolderName(codigo);
    const QString dir = folder.fullPath(relative);
    if (!staysInside(folder.fullPath(kClientsFolder), dir)) {
        return found;
    }
    const QFileInfoList files = QDir(dir).entryInfoList(QDir::Files | QDir::NoSymLinks, QDir::Name);
    for (const QFileInfo& file : files) {
        const QRegularExpressionMatch match = name.match(file.fileName());
        if (!match.hasMatch() ||
            !QDateTime::fromString(match.captured(1), kVisitStampFormat).isValid()) {
            continue;
        }
        found[match.captured(1)].push_back(std::pair<int, QString>{
            match.captured(2).toInt(), relative + QLatin1Char('\\') + file.fileName()});
    }
    return found;
}

}  // namespace

QString stagedVisitName(const QString& fichero) {
    return kVisitStaging + fichero.mid(kClientsFolder.size());
}

QString visitDateText(const QDateTime& when) {
    return when.toString(Qt::ISODate);
}

bool staysInside(const QString& folder, const QString& path) {
    const QString root = QFileInfo(folder).canonicalFilePath();
    const QFileInfo file(path);
    // A file that does not exist has no canonical path: its folder must then be inside.
    const QString real = file.exists() ? file.canonicalFilePath()
                                       : QFileInfo(file.absolutePath()).canonicalFilePath() +
                                             QLatin1Char('/') + file.fileName();
    return !root.isEmpty() && !real.isEmpty() && real.startsWith(root + QLatin1Char('/'));
}

bool insertVisitRow(Database& database, const QString& codigo, const QString& fecha, int posicion,
                    const QString& fichero, QString* error) {
    return database.Execute(
        database.dialect() == Dialect::SQLite
            ? QStringLiteral("INSERT OR REPLACE INTO visita (codigocliente, fecha, posicion, "
                             "fichero) VALUES (?, ?, ?, ?)")
            : QStringLiteral("INSERT INTO visita (codigocliente, fecha, posicion, fichero) "
                             "VALUES (?, ?, ?, ?) ON CONFLICT (codigocliente, fecha, posicion) "
                             "DO UPDATE SET fichero=EXCLUDED.fichero"),
        {codigo, fecha, posicion, fichero}, error);
}

bool visitTableMissing(Database& database, QString* error, bool* failed) {
    const bool present = database.hasTable(QStringLiteral("visita"), error, failed);
    return !*failed && !present;
}

bool addVisitTable(Database& database, const ProgramFolder& folder, QString* error) {
    if (!database.Execute(QStringLiteral("CREATE TABLE visita (codigocliente TEXT, fecha "
                                         "TEXT, posicion INTEGER, fichero TEXT, PRIMARY KEY "
                                         "(codigocliente, fecha, posicion))"),
                          {}, error)) {
        return false;
    }
    RecordSet clients = database.OpenRecordset(
        QStringLiteral("Select codigocliente From cliente where codigocliente is not null"), {},
        error);
    if (!clients.isOpen()) {
        return false;
    }
    // Two codes that make the same folder name cannot tell whose files those are.
    std::map<QString, QStringList> byFolder;
    for (; !clients.Eof(); clients.MoveNext()) {
        const QString codigo = clients.Fields(QStringLiteral("codigocliente"));
        byFolder[legacyClientFolderName(codigo)] << codigo;
    }
    for (const auto& [relative, codes] : byFolder) {
        if (codes.size() != 1) {
            continue;
        }
        for (const auto& [stamp, photos] : visitsOnDisk(folder, codes.first())) {
            const QString fecha = visitDateText(QDateTime::fromString(stamp, kVisitStampFormat));
            for (const auto& [posicion, fichero] : photos) {
                if (!insertVisitRow(database, codes.first(), fecha, posicion, fichero, error)) {
                    return false;
                }
            }
        }
    }
    return true;
}

bool visitFoldersNotSeparated(Database& database, QString* error, bool* failed) {
    const RecordSet rows = database.OpenRecordset(
        QStringLiteral(
            "Select name From sqlite_master where type='index' and name='visita_fichero'"),
        {}, error);
    *failed = !rows.isOpen();
    return rows.isOpen() && rows.RecordCount() == 0;
}

bool separateVisitFolders(Database& database, const ProgramFolder& folder, QString* error) {
    RecordSet rows = database.OpenRecordset(
        QStringLiteral("Select codigocliente, fecha, posicion, fichero From visita "
                       "where codigocliente is not null"),
        {}, error);
    if (!rows.isOpen()) {
        return false;
    }
    const QString clients = folder.fullPath(kClientsFolder);
    QStringList leftFolders;
    for (; !rows.Eof(); rows.MoveNext()) {
        const QString fichero = rows.Fields(QStringLiteral("fichero"));
        const QString from = folder.fullPath(fichero);
        const QString wanted = clientFolderName(rows.Fields(QStringLiteral("codigocliente"))) +
                               QLatin1Char('\\') + QFileInfo(from).fileName();
        const QString to = folder.fullPath(wanted);
        if (fichero == wanted || !staysInside(clients, from) ||
            !QDir().mkpath(QFileInfo(to).absolutePath()) || !staysInside(clients, to)) {
            continue;
        }
        if (QFileInfo(from).isFile() && (QFileInfo::exists(to) || !QFile::rename(from, to))) {
            continue;  // still found where it is
        }
        if (!database.Execute(QStringLiteral("UPDATE visita SET fichero=? WHERE codigocliente=? "
                                             "and fecha=? and posicion=?"),
                              {wanted, rows.Fields(QStringLiteral("codigocliente")),
                               rows.Fields(QStringLiteral("fecha")),
                               rows.Fields(QStringLiteral("posicion")).toInt()},
                              error)) {
            return false;
        }
        leftFolders << QFileInfo(from).absolutePath();
    }
    // A folder emptied by the moves goes; one still holding files of nobody's rows stays.
    leftFolders.removeDuplicates();
    for (const QString& left : leftFolders) {
        QDir().rmdir(left);
    }
    return database.Execute(QStringLiteral("CREATE INDEX visita_fichero ON visita (fichero)"), {},
                            error);
}

void finishVisitSaves(Database& database, const ProgramFolder& folder) {
    const QString staging = folder.fullPath(kVisitStaging);
    if (!database.isOpen() || !QFileInfo(staging).isDir()) {
        return;  // whose rows were written cannot be told
    }
    const QFileInfoList waiting =
        QDir(staging).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks);
    for (const QFileInfo& client : waiting) {
        for (const QFileInfo& photo :
             QDir(client.filePath()).entryInfoList(QDir::Files | QDir::NoSymLinks)) {
            const QString name = kClientsFolder + QLatin1Char('\\') + client.fileName() +
                                 QLatin1Char('\\') + photo.fileName();
            // A photo's large companion goes wherever its photo goes.
            const QString ofPicture = companionPicturePath(name, QStringLiteral("bmp"));
            const QString fichero = ofPicture.isEmpty() ? name : ofPicture;
            const RecordSet row = database.OpenRecordset(
                QStringLiteral("Select fichero From visita where fichero=?"), {fichero});
            if (!row.isOpen()) {
                continue;
            }
            const QString target = folder.fullPath(name);
            if (row.RecordCount() == 0) {
                QFile::remove(photo.filePath());  // its save never wrote the rows
            } else if (!QFileInfo::exists(target) &&
                       QDir().mkpath(QFileInfo(target).absolutePath())) {
                QFile::rename(photo.filePath(), target);
            }
        }
        QDir().rmdir(client.filePath());
    }
    QDir().rmdir(staging);
}

}  // namespace crinova
