#include "clients/client_records.h"

#include <QDir>
#include <QFileInfo>

#include "clients/visits.h"
#include "eraser/kept_original.h"
#include "program/client_files.h"
#include "program/folder_names.h"
#include "program/large_companions.h"

namespace crinova {
namespace {

// A picture's large companions that the program stamped: another client's photo that merely bears
// such a name is never taken for one.
QStringList stampedCompanions(const QString& picture) {
    QStringList companions;
    for (const QString& companion : largeCompanionCandidates(picture)) {
        if (isStampedCompanion(companion)) {
            companions << companion;
        }
    }
    return companions;
}

bool codeExists(Database& database, const QString& codigo, QString* error, bool* failed) {
    const RecordSet rows = database.OpenRecordset(
        QStringLiteral("Select codigocliente From cliente where codigocliente=?"), {codigo}, error);
    *failed = !rows.isOpen();
    return rows.RecordCount() > 0;
}

}  // namespace

bool loadClients(Database& database, std::vector<ClientRecord>& clients, QString* error) {
    // A file's rows are known by their rowid (a damaged one may lack its code); the server's
    // codes are a primary key, so there a row is known by its code (fila 0).
    RecordSet rows = database.OpenRecordset(
        QStringLiteral("Select %1 As fila, codigocliente, nombrecliente, Fprograma, "
                       "Case When codigocliente Is Null Then 1 Else 0 End As sincodigo, "
                       "Case When nombrecliente Is Null Then 1 Else 0 End As sinnombre "
                       "From cliente order by nombrecliente, codigocliente")
            .arg(database.dialect() == Dialect::SQLite ? QStringLiteral("rowid")
                                                       : QStringLiteral("0")),
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
        client.photoOutside = !client.fprograma.isEmpty() && !photoNameInClients(client.fprograma);
        clients.push_back(client);
    }
    return true;
}

QString damagedClientName(const ClientRecord& client) {
    const QString name = client.nameMissing ? QStringLiteral("(sin nombre)") : client.nombre;
    const QString lacking =
        client.codeMissing && client.nameMissing ? QStringLiteral("sin código ni nombre")
        : client.codeMissing                     ? QStringLiteral("sin código")
        : client.nameMissing                     ? QStringLiteral("sin nombre")
                             : QStringLiteral("foto fuera de la carpeta de clientes");
    return QStringLiteral("%1 (ficha dañada: %2)").arg(name, lacking);
}

bool hasHiddenCharacters(const QString& text) {
    for (const QChar c : text) {
        switch (c.category()) {
            case QChar::Other_Control:
            case QChar::Other_Format:
            case QChar::Separator_Line:
            case QChar::Separator_Paragraph:
                return true;
            default:
                break;
        }
    }
    return false;
}

QString searchKey(const QString& text) {
    const QString decomposed = text.normalized(QString::NormalizationForm_D);
    QString key;
    key.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        const QChar::Category category = c.category();
        if (category != QChar::Mark_NonSpacing && category != QChar::Mark_SpacingCombining &&
            category != QChar::Mark_Enclosing) {
            key += c;
        }
    }
    return key.toCaseFolded();
}

std::vector<ClientKeys> searchKeys(const std::vector<ClientRecord>& clients) {
    std::vector<ClientKeys> keys;
    keys.reserve(clients.size());
    for (const ClientRecord& client : clients) {
        keys.push_back(ClientKeys{searchKey(client.nombre), searchKey(client.codigo)});
    }
    return keys;
}

std::vector<std::size_t> matchKeys(const std::vector<ClientKeys>& keys, SearchBy by,
                                   const QString& text) {
    std::vector<std::size_t> found;
    const QString wanted = searchKey(text.trimmed());
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if ((by == SearchBy::Nombre ? keys[i].nombre : keys[i].codigo).contains(wanted)) {
            found.push_back(i);
        }
    }
    return found;
}

std::vector<ClientRecord> matchClients(const std::vector<ClientRecord>& clients, SearchBy by,
                                       const QString& text) {
    std::vector<ClientRecord> found;
    for (const std::size_t i : matchKeys(searchKeys(clients), by, text)) {
        found.push_back(clients[i]);
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
    if (!written && !duplicate) {
        // Another station may have registered the same code between the look and the write.
        bool failed = false;
        duplicate = codeExists(database, client.codigo, nullptr, &failed) && !failed;
    }
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
        bool failed = false;
        const bool visits = database.hasTable(QStringLiteral("visita"), reason, &failed);
        return !failed &&
               (!visits ||
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

QStringList clientFiles(Database& database, const ProgramFolder& folder,
                        const ClientRecord& client) {
    QStringList files;
    const QString photo = clientPhotoPath(folder, client.fprograma);
    const RecordSet sharing =
        database.dialect() == Dialect::SQLite
            ? database.OpenRecordset(
                  QStringLiteral("Select count(*) As otras From cliente where Fprograma=? and "
                                 "rowid<>?"),
                  {client.fprograma, client.rowId})
            : database.OpenRecordset(
                  QStringLiteral("Select count(*) As otras From cliente where Fprograma=? and "
                                 "codigocliente<>?"),
                  {client.fprograma, client.codigo});
    if (!photo.isEmpty() && sharing.isOpen() &&
        sharing.Fields(QStringLiteral("otras")).toInt() == 0) {
        files << photo << keptOriginalPath(photo) << hiddenHairPath(photo);
    }
    if (!client.codeMissing) {
        std::vector<Visit> visits;
        loadVisits(database, client.codigo, visits, nullptr);
        for (const Visit& visit : visits) {
            for (const VisitPhoto& visitPhoto : visit.photos) {
                files << visitFilePath(folder, visitPhoto.fichero);
            }
        }
        const QString own = folder.fullPath(clientFolderName(client.codigo));
        if (staysInside(folder.fullPath(kClientsFolder), own)) {
            for (const QFileInfo& file : QDir(own).entryInfoList(QDir::Files | QDir::System)) {
                files << file.filePath();
            }
        }
    }
    // A picture's large companion is no photo of its own (her folder holds them too): it goes
    // with its picture.
    QStringList companions;
    for (const QString& file : files) {
        if (!file.isEmpty()) {
            companions << stampedCompanions(file);
        }
    }
    QStringList found;
    for (const QString& file : files) {
        if (!file.isEmpty() && QFileInfo(file).isFile() && !found.contains(file) &&
            !companions.contains(file)) {
            found << file;
        }
    }
    return found;
}

QStringList deleteClientFiles(const ProgramFolder& folder, const ClientRecord& client,
                              const QStringList& files) {
    QStringList failed;
    for (const QString& file : files) {
        const QStringList companions = stampedCompanions(file);
        if (!deleteFile(file)) {
            failed << file;
            continue;
        }
        for (const QString& companion : companions) {
            if (!deleteFile(companion)) {
                failed << companion;
            }
        }
    }
    if (!client.codeMissing) {
        QDir().rmdir(folder.fullPath(clientFolderName(client.codigo)));
    }
    return failed;
}

QString storedPhotoName(const ProgramFolder& folder, const QString& path) {
    const QString relative = folder.relativeName(path);
    return relative.isEmpty() ? path : relative;
}

}  // namespace crinova
