#include "clients/records_upload.h"

#include <vector>

#include "clients/client_records.h"
#include "clients/visits.h"
#include "program/large_companions.h"
#include "program/picture_store.h"
#include "program/visit_table.h"

namespace crinova {
namespace {

// The pictures of a client's record and visits, with their large companions where they exist.
QStringList picturesOf(const ProgramFolder& folder, const ClientRecord& client,
                       const std::vector<Visit>& visits) {
    QStringList pictures{client.fprograma};
    for (const Visit& visit : visits) {
        for (const VisitPhoto& photo : visit.photos) {
            pictures << photo.fichero;
        }
    }
    QStringList names;
    for (const QString& picture : pictures) {
        if (picture.isEmpty()) {
            continue;
        }
        names << picture;
        for (const QString& companion : largeCompanionCandidates(folder.fullPath(picture))) {
            if (fileExists(companion)) {
                names << folder.relativeName(companion);
            }
        }
    }
    return names;
}

}  // namespace

QString RecordsUpload::report() const {
    QString text = QStringLiteral(
                       "Clientes copiados al servidor: %1; ya estaban: %2.\n"
                       "Fotos de visitas copiadas: %3; ya estaban: %4.")
                       .arg(clientsCopied)
                       .arg(clientsThere)
                       .arg(visitsCopied)
                       .arg(visitsThere);
    if (!conflicts.isEmpty()) {
        text += QStringLiteral("\n\nSe han dejado como están en el servidor:\n") +
                conflicts.join(QLatin1Char('\n'));
    }
    if (!failures.isEmpty()) {
        text += QStringLiteral("\n\nNo se han podido copiar:\n") + failures.join(QLatin1Char('\n'));
    }
    return text;
}

RecordsUpload uploadRecords(Database& local, Database& server, const ProgramFolder& folder) {
    RecordsUpload upload;
    std::vector<ClientRecord> clients;
    QString error;
    if (!loadClients(local, clients, &error)) {
        upload.failures << error;
        return upload;
    }
    for (const ClientRecord& client : clients) {
        if (client.damaged()) {
            continue;
        }
        std::vector<Visit> visits;
        if (!loadVisits(local, client.codigo, visits, &error)) {
            upload.failures
                << QStringLiteral("%1 (código %2): %3").arg(client.nombre, client.codigo, error);
            continue;
        }
        RecordsUpload counted;
        const bool copied = server.transaction(
            [&](QString* reason) {
                const RecordSet there = server.OpenRecordset(
                    QStringLiteral("Select nombrecliente From cliente where codigocliente=? "
                                   "For Update"),
                    {client.codigo}, reason);
                if (!there.isOpen()) {
                    return false;
                }
                if (there.RecordCount() > 0) {
                    const QString name = there.Fields(QStringLiteral("nombrecliente"));
                    if (name != client.nombre) {
                        counted.conflicts << QStringLiteral(
                                                 "El código %1 es de «%2» en el servidor y de «%3» "
                                                 "en este ordenador.")
                                                 .arg(client.codigo, name, client.nombre);
                        return true;
                    }
                    ++counted.clientsThere;
                } else {
                    if (!server.Execute(
                            QStringLiteral("INSERT INTO cliente (codigocliente, "
                                           "nombrecliente, Fprograma) VALUES (?, ?, ?)"),
                            {client.codigo, client.nombre, client.fprograma}, reason)) {
                        return false;
                    }
                    ++counted.clientsCopied;
                }
                for (const Visit& visit : visits) {
                    for (const VisitPhoto& photo : visit.photos) {
                        const RecordSet row = server.OpenRecordset(
                            QStringLiteral("Select fichero From visita where codigocliente=? and "
                                           "fecha=? and posicion=?"),
                            {client.codigo, visitDateText(visit.fecha), photo.posicion}, reason);
                        if (!row.isOpen()) {
                            return false;
                        }
                        if (row.RecordCount() > 0) {
                            ++counted.visitsThere;
                            continue;
                        }
                        if (!insertVisitRow(server, client.codigo, visitDateText(visit.fecha),
                                            photo.posicion, photo.fichero, reason)) {
                            return false;
                        }
                        ++counted.visitsCopied;
                    }
                }
                return syncPictures(server, folder, picturesOf(folder, client, visits), reason);
            },
            &error);
        if (!copied) {
            upload.failures
                << QStringLiteral("%1 (código %2): %3").arg(client.nombre, client.codigo, error);
            continue;
        }
        upload.clientsCopied += counted.clientsCopied;
        upload.clientsThere += counted.clientsThere;
        upload.visitsCopied += counted.visitsCopied;
        upload.visitsThere += counted.visitsThere;
        upload.conflicts << counted.conflicts;
    }
    return upload;
}

}  // namespace crinova
