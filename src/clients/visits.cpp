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

// The waiting folders go once nothing waits in them.
void removeEmptyStaging(const ProgramFolder& folder, const std::vector<VisitPhoto>& photos) {
    if (!photos.empty()) {
        QDir().rmdir(QFileInfo(folder.fullPath(stagedVisitName(photos.front().fichero))).path());
    }
    QDir().rmdir(folder.fullPath(kVisitStaging));
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
            if (database.dialect() == Dialect::PostgreSQL) {
                // Another station may have deleted her meanwhile: her record is not brought back.
                const RecordSet row = database.OpenRecordset(
                    QStringLiteral("Select codigocliente From cliente where codigocliente=? "
                                   "For Update"),
                    {codigo}, reason);
                if (!row.isOpen()) {
                    return false;
                }
                if (row.RecordCount() == 0) {
                    return fail(reason, QStringLiteral("La ficha de %1 ya no está en el servidor "
                                                       "del salón: la han eliminado en otro "
                                                       "puesto.")
                                            .arg(nombre));
                }
                // Updated in place: a row deleted and inserted again would look deleted to a
                // station waiting on its lock, saving a visit of hers at the same moment.
                if (!database.Execute(QStringLiteral("UPDATE cliente SET nombrecliente=?, "
                                                     "Fprograma=? WHERE codigocliente=?"),
                                      {nombre, fprograma, codigo}, reason)) {
                    return false;
                }
            } else if (!database.Execute(
                           QStringLiteral("DELETE FROM cliente WHERE codigocliente=?"), {codigo},
                           reason) ||
                       !database.Execute(QStringLiteral("INSERT INTO cliente (codigocliente, "
                                                        "nombrecliente, Fprograma) VALUES (?, ?, "
                                                        "?)"),
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

std::vector<VisitPhoto> stageVisitPhotos(const ProgramFolder& folder, const QString& codigo,
                                         const QDateTime& when, const std::vector<int>& slotNumbers,
                                         QString* error) {
    std::vector<VisitPhoto> staged;
    const QString stamp = when.toString(kVisitStampFormat);
    for (const int slot : slotNumbers) {
        const VisitPhoto photo{slot, clientFolderName(codigo) +
                                         QStringLiteral("\\%1-foto%2.bmp").arg(stamp).arg(slot)};
        const QString target = folder.fullPath(stagedVisitName(photo.fichero));
        if (const QString refusal = linkLeadingOut(folder, QFileInfo(target).absolutePath());
            !refusal.isEmpty()) {
            fail(error, refusal);
            return staged;
        }
        if (!QDir().mkpath(QFileInfo(target).absolutePath())) {
            fail(error, QStringLiteral("No se ha podido crear la carpeta %1.")
                            .arg(QFileInfo(target).absolutePath()));
            return staged;
        }
        deleteFile(target);
        const QString source = folder.fullPath(slotFileName(slot));
        if (!QFile::copy(source, target) || !copyLargeCompanion(source, target)) {
            fail(error,
                 QStringLiteral("No se ha podido copiar la foto %1 en %2.").arg(slot).arg(target));
            return staged;
        }
        staged.push_back(photo);
    }
    return staged;
}

bool placeStagedPhotos(const ProgramFolder& folder, const std::vector<VisitPhoto>& photos,
                       QString* error) {
    for (const VisitPhoto& photo : photos) {
        const QString target = folder.fullPath(photo.fichero);
        if (const QString refusal = linkLeadingOut(folder, QFileInfo(target).absolutePath());
            !refusal.isEmpty()) {
            return fail(error, refusal);
        }
        const QString staged = folder.fullPath(stagedVisitName(photo.fichero));
        if (!QDir().mkpath(QFileInfo(target).absolutePath()) || !QFile::rename(staged, target)) {
            // It waits where it is; the next start puts it in place.
            return fail(error, QStringLiteral("No se ha podido llevar la foto %1 a %2.")
                                   .arg(photo.posicion)
                                   .arg(target));
        }
        // Its large companion follows; one left behind is put in place at the next start.
        for (const QString& companion : largeCompanionCandidates(staged)) {
            if (fileExists(companion)) {
                QFile::rename(companion, largeCompanionPath(target, QFileInfo(companion).suffix()));
            }
        }
    }
    removeEmptyStaging(folder, photos);
    return true;
}

void discardStagedPhotos(const ProgramFolder& folder, const std::vector<VisitPhoto>& photos) {
    for (const VisitPhoto& photo : photos) {
        deleteFile(folder.fullPath(stagedVisitName(photo.fichero)));
        deleteLargeCompanions(folder.fullPath(stagedVisitName(photo.fichero)));
    }
    removeEmptyStaging(folder, photos);
}

bool saveVisit(Database& database, const ProgramFolder& folder, const ClientRecord& client,
               const std::vector<int>& slotNumbers, const QDateTime& now, QString* error) {
    const QDateTime when = freeVisitTime(database, folder, client.codigo, now);
    QString stageError;
    const std::vector<VisitPhoto> photos =
        stageVisitPhotos(folder, client.codigo, when, slotNumbers, &stageError);
    QString saveError;
    if (!saveClientVisit(database, client.codigo, client.nombre, client.fprograma, when, photos,
                         &saveError)) {
        discardStagedPhotos(folder, photos);
        return fail(error,
                    stageError.isEmpty() ? saveError : stageError + QLatin1Char('\n') + saveError);
    }
    QString placeError;
    placeStagedPhotos(folder, photos, &placeError);
    const QString reasons = QStringList{stageError, placeError}.join(QLatin1Char('\n')).trimmed();
    return reasons.isEmpty() || fail(error, reasons);
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

std::vector<QImage> placeVisitInSlots(const ProgramFolder& folder, const Visit& visit, QSize shown,
                                      QStringList* missing, QString* error) {
    std::vector<QImage> placed;
    for (const VisitPhoto& photo : visit.photos) {
        if (placed.size() == 6) {
            break;
        }
        const QString source = visitFilePath(folder, photo.fichero);
        const PictureLoad load = source.isEmpty()
                                     ? PictureLoad{}
                                     : loadShownPicture(source, PictureShown::reducedInto(shown));
        if (source.isEmpty() || !load.ok()) {
            if (missing) {
                *missing << (load.fault == PictureFault::TooLarge
                                 ? QStringLiteral("%1 (%L2 × %L3 píxeles, demasiado grande)")
                                       .arg(folder.fullPath(photo.fichero))
                                       .arg(load.size.width())
                                       .arg(load.size.height())
                                 : folder.fullPath(photo.fichero));
            }
            continue;
        }
        const int slot = static_cast<int>(placed.size()) + 1;
        const QString target = folder.fullPath(slotFileName(slot));
        deleteFile(target);
        QString reason;
        // A photo copied as it is keeps its large companion; one written reduced has none.
        const bool written =
            load.picture.size() == load.size
                ? QFile::copy(source, target) && copyLargeCompanion(source, target)
                : savePictureBmp(load.picture, target, &reason) && deleteLargeCompanions(target);
        if (!written) {
            fail(error, reason.isEmpty()
                            ? QStringLiteral("No se ha podido copiar %1 en %2.").arg(source, target)
                            : reason);
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
