#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <vector>

#include "clients/client_records.h"
#include "platform/files.h"
#include "platform/record_sets.h"
#include "program/visit_table.h"

namespace crinova {

// One photo of a visit: a row of `visita`.
struct VisitPhoto {
    int posicion = 0;  // the slot it was saved from, 1 to 6
    QString fichero;   // relative to the program folder: "\clientes\<code>\<stamp>-foto<N>.bmp"
};

// A client's visit: the photos saved by one "Guardar Ficha Cliente", in slot order.
struct Visit {
    QDateTime fecha;
    std::vector<VisitPhoto> photos;
};

// How a visit is shown to the stylist: "07/12/2026 09:30:05".
QString visitDateShown(const QDateTime& when);

// Writes the client's row again and enters one visit (the files `photos`, all taken at `when`) in
// one transaction.
bool saveClientVisit(Database& database, const QString& codigo, const QString& nombre,
                     const QString& fprograma, const QDateTime& when,
                     const std::vector<VisitPhoto>& photos, QString* error);

// Copies the stored slots `slotNumbers`, each with its large companion, to wait under
// "\guardando\" for the client's visit at `when`. Answers the visit's photos by the names they
// will have in the client's folder, "\clientes\<folder>\<yyyyMMdd-HHmmss>-foto<N>.bmp". On a
// failure `error` says which photo could not be copied, and copying stops.
std::vector<VisitPhoto> stageVisitPhotos(const ProgramFolder& folder, const QString& codigo,
                                         const QDateTime& when, const std::vector<int>& slotNumbers,
                                         QString* error);
// Moves the waiting photos, and their companions, into the client's folder once their rows are
// written.
bool placeStagedPhotos(const ProgramFolder& folder, const std::vector<VisitPhoto>& photos,
                       QString* error);
// Deletes waiting photos whose rows were not written.
void discardStagedPhotos(const ProgramFolder& folder, const std::vector<VisitPhoto>& photos);

// "Guardar Ficha Cliente": writes the client's record with a visit of the stored slots
// `slotNumbers`, at the first free second from `now`. The photos wait under "\guardando\" until the
// rows are written, and only then go into the client's folder, so that a save cut short leaves no
// photo without its row (finishVisitSaves ends it at the next start). Answers false, with the
// reasons, when anything was left unsaved; the record is then written with the photos that could be
// kept.
bool saveVisit(Database& database, const ProgramFolder& folder, const ClientRecord& client,
               const std::vector<int>& slotNumbers, const QDateTime& now, QString* error);

// A client's visits, newest first.
bool loadVisits(Database& database, const QString& codigo, std::vector<Visit>& visits,
                QString* error);
// How many visits a client has; -1 when the table cannot be read.
int countVisits(Database& database, const QString& codigo);

// The full path of a visit file, or an empty text when its name would lead out of the clients'
// folder (a stored name is never trusted to stay inside it).
QString visitFilePath(const ProgramFolder& folder, const QString& fichero);

// The time a new visit is saved under: `when`, moved on by seconds while the client already has a
// visit or a kept file at that second, so two saves always make two visits.
QDateTime freeVisitTime(Database& database, const ProgramFolder& folder, const QString& codigo,
                        const QDateTime& when);

// Puts a visit's photos into the slots 1, 2, 3... in order and deletes the slot files (and their
// large companions) after them. A photo whose file has gone or cannot be read is skipped and its
// name (with the reason when the picture was too large) added to `missing`. Each photo is read
// reduced into `shown`, the main picture's size, as the slots hold it: a photo larger than that is
// written reduced into its slot, any other is copied as it is with its large companion when it
// has one. Answers the pictures placed, slot 1 first; `error` says which slot could not be written
// (the slots then hold what was written so far).
std::vector<QImage> placeVisitInSlots(const ProgramFolder& folder, const Visit& visit, QSize shown,
                                      QStringList* missing, QString* error);

}  // namespace crinova
