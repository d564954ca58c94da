#include "clients/visits.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLocale>
#include <QRegularExpression>
#include <map>

#include "clients/client_records.h"
#include "platform/pictures.h"
#include "program/folder_names.h"

namespace crinova {
namespace {

const QString kStampFormat = QStringLiteral("yyyyMMdd-HHmmss");

bool fail(QString* error, const QString& reason) {
    if (error) {
        *error = reason;
    }
    return false;
}

bool insertPhoto(Database& database, const QString& codigo, const QDateTime& when,
                 const VisitPhoto& photo, QString* error) {
    return database.Execute(QStringLiteral("INSERT OR REPLACE INTO visita (codigocliente, fecha, "
                                           "posicion, fichero) VALUES (?, ?, ?, ?)"),
                            {codigo, visitDateText(when), photo.posicion, photo.fichero}, error);
}

// Whether a path, once links and ".." are resolved, lies inside the folder.
bool staysInside(const QString& folder, const QString& path) {
    const QString root = QFileInfo(folder).canonicalFilePath();
    const QFileInfo file(path);
    // A file that does not exist has no canonical path: its folder must then be inside.
    const QString real = file.exists() ? file.canonicalFilePath()
                                       : QFileInfo(file.absolutePath()).canonicalFilePath() +
                                             QLatin1Char('/') + file.fileName();
    return !root.isEmpty() && !real.isEmpty() && real.startsWith(root + QLatin1Char('/'));
}

// The visits kept in one client's folder, by the program's own file names only.
std::map<QString, std::vector<VisitPhoto>> visitsOnDisk(const ProgramFolder& folder,
                                                        const QString& codigo) {
    static const QRegularExpression name(QStringLiteral("^(\\d{8}-\\d{6})-foto([1-6])\\.bmp$"));
    std::map<QString, std::vector<VisitPhoto>> found;
    const QString relative = clientFolderName(codigo);
    const QString dir = folder.fullPath(relative);
    if (!staysInside(folder.fullPath(kClientsFolder), dir)) {
        return found;
    }
    const QFileInfoList files = QDir(dir).entryInfoList(QDir::Files | QDir::NoSymLinks, QDir::Name);
    for (const QFileInfo& file : files) {
        const QRegularExpressionMatch match = name.match(file.fileName());
        if (!match.hasMatch() ||
            !QDateTime::fromString(match.captured(1), kStampFormat).isValid()) {
            continue;
        }
        found[match.captured(1)].push_back(
            VisitPhoto{match.captured(2).toInt(), relative + QLatin1Char('\\') + file.fileName()});
    }
    return found;
}

}  // namespace

QString visitDateText(const QDateTime& when) {
    return when.toString(Qt::ISODate);
}

QString visitDateShown(const QDateTime& when) {
    return when.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
}

bool visitTableMissing(Database& database, QString* error, bool* failed) {
    const RecordSet rows = database.OpenRecordset(
        QStringLiteral("Select name From sqlite_master where type='table' and name='visita'"), {},
        error);
    *failed = !rows.isOpen();
    return rows.isOpen() && rows.RecordCount() == 0;
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
        byFolder[clientFolderName(codigo)] << codigo;
    }
    for (const auto& [relative, codes] : byFolder) {
        if (codes.size() != 1) {
            continue;
        }
        for (const auto& [stamp, photos] : visitsOnDisk(folder, codes.first())) {
            const QDateTime when = QDateTime::fromString(stamp, kStampFormat);
            for (const VisitPhoto& photo : photos) {
                if (!insertPhoto(database, codes.first(), when, photo, error)) {
                    return false;
                }
            }
        }
    }
    return true;
}

bool saveClientVisit(Database& database, const QString& codigo, const QString& nombre,
                     const QString& fprograma, const QDateTime& when,
                     const std::vector<VisitPhoto>& photos, QString* error) {
    return database.transaction(
        [&](QString* reason) {
            if (!database.Execute(QStringLiteral("DELETE FROM cliente WHERE codigocliente=?"),
                                  {codigo}, reason) ||
                !database.Execute(QStringLiteral("INSERT INTO cliente (codigocliente, "
                                                 "nombrecliente, Fprograma) VALUES (?, ?, ?)"),
                                  {codigo, nombre, fprograma}, reason)) {
                return false;
            }
            for (const VisitPhoto& photo : photos) {
                if (!insertPhoto(database, codigo, when, photo, reason)) {
                    return false;
                }
            }
            return true;
        },
        error);
}

bool loadVisits(Database& database, const QString& codigo, std::vector<Visit>& visits,
                QString* error) {
    visits.clear();
    RecordSet rows = database.OpenRecordset(
        QStringLiteral("Select fecha, posicion, fichero From visita where codigocliente=? "
                       "order by fecha desc, posicion"),
        {codigo}, error);
    if (!rows.isOpen()) {
        return false;
    }
    QString current;
    for (; !rows.Eof(); rows.MoveNext()) {
        const QString fecha = rows.Fields(QStringLiteral("fecha"));
        if (visits.empty() || fecha != current) {
            current = fecha;
            visits.push_back(Visit{QDateTime::fromString(fecha, Qt::ISODate), {}});
        }
        visits.back().photos.push_back(VisitPhoto{rows.Fields(QStringLiteral("posicion")).toInt(),
                                                  rows.Fields(QStringLiteral("fichero"))});
    }
    return true;
}

int countVisits(Database& database, const QString& codigo) {
    const RecordSet rows = database.OpenRecordset(
        QStringLiteral("Select count(distinct fecha) As visitas From visita where codigocliente=?"),
        {codigo});
    return rows.isOpen() ? rows.Fields(QStringLiteral("visitas")).toInt() : -1;
}

QString visitFilePath(const ProgramFolder& folder, const QString& fichero) {
    const QString path = folder.fullPath(fichero);
    return staysInside(folder.fullPath(kClientsFolder), path) ? path : QString();
}

QDateTime freeVisitTime(Database& database, const ProgramFolder& folder, const QString& codigo,
                        const QDateTime& when) {
    QDateTime free = when.addMSecs(-when.time().msec());
    const QString dir = folder.fullPath(clientFolderName(codigo));
    for (;;) {
        const RecordSet taken = database.OpenRecordset(
            QStringLiteral("Select fecha From visita where codigocliente=? and fecha=?"),
            {codigo, visitDateText(free)});
        const bool onDisk =
            !QDir(dir)
                 .entryList({free.toString(kStampFormat) + QStringLiteral("-foto*")}, QDir::Files)
                 .isEmpty();
        if (taken.RecordCount() == 0 && !onDisk) {
            return free;
        }
        free = free.addSecs(1);
    }
}

std::vector<QImage> placeVisitInSlots(const ProgramFolder& folder, const Visit& visit,
                                      QStringList* missing, QString* error) {
    std::vector<QImage> placed;
    for (const VisitPhoto& photo : visit.photos) {
        if (placed.size() == 6) {
            break;
        }
        const QString source = visitFilePath(folder, photo.fichero);
        const PictureLoad load = source.isEmpty() ? PictureLoad{} : loadPicture(source);
        if (source.isEmpty() || !load.ok()) {
            if (missing) {
                *missing << folder.fullPath(photo.fichero);
            }
            continue;
        }
        const int slot = static_cast<int>(placed.size()) + 1;
        const QString target = folder.fullPath(slotFileName(slot));
        deleteFile(target);
        if (!QFile::copy(source, target)) {
            fail(error, QStringLiteral("No se ha podido copiar %1 en %2.").arg(source, target));
            return placed;
        }
        placed.push_back(load.picture);
    }
    for (int slot = static_cast<int>(placed.size()) + 1; slot <= 6; ++slot) {
        deleteFile(folder.fullPath(slotFileName(slot)));
    }
    return placed;
}

}  // namespace crinova
