#pragma once

#include <QStringList>

#include "platform/files.h"
#include "platform/record_sets.h"

namespace crinova {

// What "S&ubir los Datos de este Ordenador" did.
struct RecordsUpload {
    int clientsCopied = 0;
    int clientsThere = 0;  // already on the server, under the same code and name
    int visitsCopied = 0;  // a visit's photos count one by one
    int visitsThere = 0;
    QStringList conflicts;  // one Spanish line each: the server's record was kept
    QStringList failures;   // one Spanish line for each client that could not be copied

    // The report shown to the stylist.
    QString report() const;
};

// Copies this computer's clients and their visits, with the pictures they name and their large
// companions, to the salon's server: one transaction per client, so a client is there whole or
// not at all. Running it again copies nothing twice. A code that the server has under another
// name is left as the server has it, her visits too, and reported. Damaged local records (no code
// or no name, a photo outside the clients' folder) are not copied.
RecordsUpload uploadRecords(Database& local, Database& server, const ProgramFolder& folder);

}  // namespace crinova
