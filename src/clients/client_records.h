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
// identity. So is a row whose photo lies outside "\clientes\" (photoNameInClients): that photo is
// never opened.
struct ClientRecord {
    QString codigo;
    QString nombre;
    QString fprograma;
    qint64 rowId = 0;  // the row's identity in the table; 0 for a record not read from it
    bool codeMissing = false;
    bool nameMissing = false;
    bool photoOutside = false;

    bool damaged() const { return codeMissing || nameMissing || photoOutside; }
    // The same client data, wherever it is stored.
    bool operator==(const ClientRecord& other) const {
        return codigo == other.codigo && nombre == other.nombre && fprograma == other.fprograma &&
               codeMissing == other.codeMissing && nameMissing == other.nameMissing;
    }
};

// How a damaged row is named to the stylist: "Ana (ficha dañada: sin código)".
QString damagedClientName(const ClientRecord& client);

// Whether a typed name or code holds a character that shows nothing or changes how the rest is
// shown: control characters (NUL, tab, line breaks), format characters (right-to-left overrides,
// zero-width marks) and line or paragraph separators. Such text is refused as it is typed.
bool hasHiddenCharacters(const QString& text);

enum class SearchBy { Nombre, Codigo };

// Every client, by name. Values are always bound; a failure is reported in `error`.
bool loadClients(Database& database, std::vector<ClientRecord>& clients, QString* error);

// What a search compares: the text case-folded and without accents or other marks, so that
// "María", "MARIA" and "maria" give the same key.
QString searchKey(const QString& text);

// A client's name and code as searched.
struct ClientKeys {
    QString nombre;
    QString codigo;
};
// The keys of every client, in the same order; made once, searched at every key the stylist types.
std::vector<ClientKeys> searchKeys(const std::vector<ClientRecord>& clients);

// The positions of the clients whose name (or code) contains `text`, ignoring case and accents, in
// the order given. An empty text matches everyone.
std::vector<std::size_t> matchKeys(const std::vector<ClientKeys>& keys, SearchBy by,
                                   const QString& text);
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

// The files the program keeps of a client, those that exist: her photo and the copy the eraser
// kept of it (unless another row names the same photo), and her visits' photos, with anything else
// in her own folder (a picture's large companion is no file of its own here). Never a file outside
// "\clientes\".
QStringList clientFiles(Database& database, const ProgramFolder& folder,
                        const ClientRecord& client);
// Deletes the files with their large companions, and her folder once empty; answers those that
// could not be deleted.
QStringList deleteClientFiles(const ProgramFolder& folder, const ClientRecord& client,
                              const QStringList& files);

// How a chosen photo is stored in `Fprograma`.
QString storedPhotoName(const ProgramFolder& folder, const QString& path);

}  // namespace crinova
