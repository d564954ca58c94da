#include "clients/visits.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLocale>

#include "clients/client_records.h"
#include "platform/pictures.h"
#include "program/folder_names.h"
#include "program/large_companions.h"
#include "program/visit_table.h"

namespace crinova {
namespace {

bool fail(QString* error, const QString& reason) {
    if (error) {
        *error = reason;
    }
    return false;
}

bool insertPhoto(Database& database, const QString& codigo, const QDateTime& when,
                 const VisitPhoto& photo, QString* error) {
    return insertVisitRow(database, codigo, visitDateText(when), photo.posicion, photo.fichero,
                          error);
}

}  // namespace

QString visitDateShown(const QDateTime& when) {
    return when.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
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
                 .entryList({free.toString(kVisitStampFormat) + QStringLiteral("-foto*")},
                            QDir::Files)
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
        if (!QFile::copy(source, target) || !copyLargeCompanion(source, target)) {
            fail(error, QStringLiteral("No se ha podido copiar %1 en %2.").arg(source, target));
            return placed;
        }
        placed.push_back(load.picture);
    }
    for (int slot = static_cast<int>(placed.size()) + 1; slot <= 6; ++slot) {
        deleteFile(folder.fullPath(slotFileName(slot)));
        deleteLargeCompanions(folder.fullPath(slotFileName(slot)));
    }
    return placed;
}

}  // namespace crinova
