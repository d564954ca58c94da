#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <vector>

#include "platform/files.h"
#include "platform/record_sets.h"
#include "program/folder_names.h"

namespace crinova {

// One row of the `cliente` table. `fprograma` is the photo as stored: a relative name under the
// program folder ("\clientes\ana.jpg") when the photo lies there, so the folder can move, or a
// path of its own otherwise.
//
// A row whose code or name is NULL (no command of the program writes one) is damaged: it cannot be
// told apart by its values, so it is shown as damaged, never made active, and deleted by its row
// identity.
struct ClientRecord {
    QString codigo;
    QString nombre;
    QString fprograma;
    qint64 rowId = 0;  // the row's identity in the table; 0 for a record not read from it
    bool codeMissing = false;
    bool nameMissing = false;

    bool damaged() const { return codeMissing || nameMissing; }
    // The same client data, wherever it is stored.
    bool operator==(const ClientRecord& other) const {
        return codigo == other.codigo && nombre == other.nombre && fprograma == other.fprograma &&
               codeMissing == other.codeMissing && nameMissing == other.nameMissing;
    }
};

// How a damaged row is named to the stylist: "Ana (ficha dañada: sin código)".
QString damagedClientName(const ClientRecord& client);

enum class SearchBy { Nombre, Codigo };

// Every client, by name. Values are always bound; a failure is reported in `error`.
bool loadClients(Database& database, std::vector<ClientRecord>& clients, QString* error);

// The clients whose name (or code) contains `text`, ignoring case but not accents, in the order
// given. An empty text matches everyone.
std::vector<ClientRecord> matchClients(const std::vector<ClientRecord>& clients, SearchBy by,
                                       const QString& text);

enum class ClientWrite { Done, DuplicateCode, Gone, Failed };

// Adds a client in one transaction; a code already in the table is refused.
ClientWrite addClient(Database& database, const ClientRecord& client, QString* error);

// Writes a client's name and photo again (adding the row if it went), in one transaction.
ClientWrite saveClient(Database& database, const ClientRecord& client, QString* error);

// Deletes a client's row in one transaction; the photo file stays. A record read from the table is
// deleted by its row identity, and only while that row still holds the same code and name (Gone
// otherwise); any other record by its code.
ClientWrite deleteClient(Database& database, const ClientRecord& client, QString* error);

// How a chosen photo is stored in `Fprograma`.
QString storedPhotoName(const ProgramFolder& folder, const QString& path);

// Copies the stored photo slots ("\foto1.bmp" ... "\foto6.bmp") into the client's folder under
// names that carry the date and time ("<yyyyMMdd-HHmmss>-foto<N>.bmp"), each with its large
// companion ("...-foto<N>-grande.png") when it has one. Answers the relative names of the slot
// copies written; on a failure `error` says which file could not be copied and copying stops.
QStringList keepVisitPhotos(const ProgramFolder& folder, const QString& codigo,
                            const QDateTime& when, QString* error);

}  // namespace crinova
