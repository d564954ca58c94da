#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <vector>

#include "platform/files.h"
#include "platform/record_sets.h"

namespace crinova {

// One row of the `cliente` table. `fprograma` is the photo as stored: a relative name under the
// program folder ("\clientes\ana.jpg") when the photo lies there, so the folder can move, or a
// path of its own otherwise.
struct ClientRecord {
    QString codigo;
    QString nombre;
    QString fprograma;
    bool operator==(const ClientRecord&) const = default;
};

enum class SearchBy { Nombre, Codigo };

// Every client, by name. Values are always bound; a failure is reported in `error`.
bool loadClients(Database& database, std::vector<ClientRecord>& clients, QString* error);

// The clients whose name (or code) contains `text`, ignoring case but not accents, in the order
// given. An empty text matches everyone.
std::vector<ClientRecord> matchClients(const std::vector<ClientRecord>& clients, SearchBy by,
                                       const QString& text);

enum class ClientWrite { Done, DuplicateCode, Failed };

// Adds a client in one transaction; a code already in the table is refused.
ClientWrite addClient(Database& database, const ClientRecord& client, QString* error);

// Writes a client's name and photo again (adding the row if it went), in one transaction.
ClientWrite saveClient(Database& database, const ClientRecord& client, QString* error);

// Deletes a client's row in one transaction; the photo file stays.
ClientWrite deleteClient(Database& database, const QString& codigo, QString* error);

// How a chosen photo is stored in `Fprograma`.
QString storedPhotoName(const ProgramFolder& folder, const QString& path);

// The client's own folder, "\clientes\<code>", with any character that could leave it replaced.
QString clientFolderName(const QString& codigo);

// Copies the stored photo slots ("\foto1.bmp" ... "\foto6.bmp") into the client's folder under
// names that carry the date and time ("<yyyyMMdd-HHmmss>-foto<N>.bmp"). Answers the relative names
// written; on a failure `error` says which file could not be copied and copying stops.
QStringList keepVisitPhotos(const ProgramFolder& folder, const QString& codigo,
                            const QDateTime& when, QString* error);

}  // namespace crinova
