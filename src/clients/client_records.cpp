#include "clients/client_records.h"

#include <QDir>
#include <QFile>

#include "program/folder_names.h"
#include "program/large_companions.h"

namespace crinova {
namespace {

bool codeExists(Database& database, const QString& codigo, QString* error, bool* failed) {
    const RecordSet rows = database.OpenRecordset(
        QStringLiteral("Select codigocliente From cliente where codigocliente=?"), {codigo}, error);
    *failed = !rows.isOpen();
    return rows.RecordCount() > 0;
}

}  // namespace

bool loadClients(Database& database, std::vector<ClientRecord>& clients, QString* error) {
    RecordSet rows = database.OpenRecordset(
        QStringLiteral("Select rowid As fila, codigocliente, nombrecliente, Fprograma, "
                       "codigocliente Is Null As sincodigo, nombrecliente Is Null As sinnombre "
                       "From cliente order by nombrecliente, codigocliente"),
        {}, error);
    if (!rows.isOpen()) {
        return false;
    }
    clients.clear();
    clients.reserve(static_cast<std::size_t>(rows.RecordCount()));
    for (; !rows.Eof(); rows.MoveNext()) {
        ClientRecord client{rows.Fields(QStringLiteral("codigocliente")),
                            rows.Fields(QStringLiteral("nombrecliente")),
                            rows.Fields(QStringLiteral("Fprograma"))};
        client.rowId = rows.Fields(QStringLiteral("fila")).toLongLong();
        client.codeMissing = rows.Fields(QStringLiteral("sincodigo")) == QLatin1String("1");
        client.nameMissing = rows.Fields(QStringLiteral("sinnombre")) == QLatin1String("1");
        clients.push_back(client);
    }
    return true;
}

QString damagedClientName(const ClientRecord& client) {
    const QString name = client.nameMissing ? QStringLiteral("(sin nombre)") : client.nombre;
    const QString lacking = client.codeMissing && client.nameMissing
                                ? QStringLiteral("sin código ni nombre")
                            : client.codeMissing ? QStringLiteral("sin código")
                                                 : QStringLiteral("sin nombre");
    return QStringLiteral("%1 (ficha dañada: %2)").arg(name, lacking);
}

std::vector<ClientRecord> matchClients(const std::vector<ClientRecord>& clients, SearchBy by,
                                       const QString& text) {
    std::vector<ClientRecord> found;
    const QString wanted = text.trimmed();
    for (const ClientRecord& client : clients) {
        const QString& field = by == SearchBy::Nombre ? client.nombre : client.codigo;
        if (field.contains(wanted, Qt::CaseInsensitive)) {
            found.push_back(client);
        }
    }
    return found;
}

ClientWrite addClient(Database& database, const ClientRecord& client, QString* error) {
    bool duplicate = false;
    const bool written = database.transaction(
        [&](QString* reason) {
            bool failed = false;
            if (codeExists(database, client.codigo, reason, &failed) || failed) {
                duplicate = !failed;
                return false;
            }
            return database.Execute(QStringLiteral("INSERT INTO cliente (codigocliente, "
                                                   "nombrecliente, Fprograma) VALUES (?, ?, ?)"),
                                    {client.codigo, client.nombre, client.fprograma}, reason);
        },
        error);
    return written     ? ClientWrite::Done
           : duplicate ? ClientWrite::DuplicateCode
                       : ClientWrite::Failed;
}

ClientWrite saveClient(Database& database, const ClientRecord& client, QString* error) {
    const bool written = database.transaction(
        [&](QString* reason) {
            return database.Execute(QStringLiteral("DELETE FROM cliente WHERE codigocliente=?"),
                                    {client.codigo}, reason) &&
                   database.Execute(QStringLiteral("INSERT INTO cliente (codigocliente, "
                                                   "nombrecliente, Fprograma) VALUES (?, ?, ?)"),
                                    {client.codigo, client.nombre, client.fprograma}, reason);
        },
        error);
    return written ? ClientWrite::Done : ClientWrite::Failed;
}

ClientWrite deleteClient(Database& database, const ClientRecord& client, QString* error) {
    bool gone = false;
    // The visits' rows go with the client; their files stay, as the photo does.
    const auto deleteVisitRows = [&database](const QString& codigo, QString* reason) {
        const RecordSet table = database.OpenRecordset(
            QStringLiteral("Select name From sqlite_master where type='table' and name='visita'"),
            {}, reason);
        return table.isOpen() &&
               (table.RecordCount() == 0 ||
                database.Execute(QStringLiteral("DELETE FROM visita WHERE codigocliente=?"),
                                 {codigo}, reason));
    };
    const bool written = database.transaction(
        [&](QString* reason) {
            if (client.rowId == 0) {
                return database.Execute(QStringLiteral("DELETE FROM cliente WHERE codigocliente=?"),
                                        {client.codigo}, reason) &&
                       deleteVisitRows(client.codigo, reason);
            }
            // "Is" compares a NULL as a value, so a damaged row is found as it was read.
            const QVariant code = client.codeMissing ? QVariant(QMetaType::fromType<QString>())
                                                     : QVariant(client.codigo);
            const QVariant name = client.nameMissing ? QVariant(QMetaType::fromType<QString>())
                                                     : QVariant(client.nombre);
            const RecordSet row = database.OpenRecordset(
                QStringLiteral("Select rowid From cliente where rowid=? and codigocliente Is ? and "
                               "nombrecliente Is ?"),
                {client.rowId, code, name}, reason);
            if (!row.isOpen()) {
                return false;
            }
            if (row.RecordCount() == 0) {
                gone = true;
                return false;
            }
            return database.Execute(QStringLiteral("DELETE FROM cliente WHERE rowid=?"),
                                    {client.rowId}, reason) &&
                   (client.codeMissing || deleteVisitRows(client.codigo, reason));
        },
        error);
    return written ? ClientWrite::Done : gone ? ClientWrite::Gone : ClientWrite::Failed;
}

QString storedPhotoName(const ProgramFolder& folder, const QString& path) {
    const QString relative = folder.relativeName(path);
    return relative.isEmpty() ? path : relative;
}

QStringList keepVisitPhotos(const ProgramFolder& folder, const QString& codigo,
                            const QDateTime& when, QString* error) {
    QStringList written;
    const QString target = clientFolderName(codigo);
    const QString stamp = when.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    for (int slot = 1; slot <= 6; ++slot) {
        const QString source = folder.fullPath(slotFileName(slot));
        if (!fileExists(source)) {
            continue;
        }
        if (!QDir().mkpath(folder.fullPath(target))) {
            if (error) {
                *error = QStringLiteral("No se ha podido crear la carpeta %1.")
                             .arg(folder.fullPath(target));
            }
            return written;
        }
        const QString name = target + QStringLiteral("\\%1-foto%2.bmp").arg(stamp).arg(slot);
        deleteFile(folder.fullPath(name));
        if (!QFile::copy(source, folder.fullPath(name)) ||
            !copyLargeCompanion(source, folder.fullPath(name))) {
            if (error) {
                *error = QStringLiteral("No se ha podido copiar la foto %1 en %2.")
                             .arg(slot)
                             .arg(folder.fullPath(name));
            }
            return written;
        }
        written << name;
    }
    return written;
}

}  // namespace crinova
