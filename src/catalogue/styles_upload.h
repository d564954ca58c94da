#pragma once

#include <QStringList>

#include "platform/files.h"
#include "platform/record_sets.h"

namespace crinova {

// What copying the catalogue to the salon's server did.
struct StylesUpload {
    int copied = 0;
    int there = 0;          // already on the server, alike
    QStringList conflicts;  // one Spanish line each: the server's style was kept
    QStringList failures;   // one Spanish line for each style that could not be copied
};

// A server with an empty catalogue takes this station's whole catalogue, the installed styles
// and the salon's own with their pictures, in one transaction; stations connecting at the same
// time take turns, and only the first copies. Afterwards the server's catalogue is the salon's:
// a style removed there is not brought back. Answers false, with the reason, when it failed.
bool seedServerCatalogue(Database& local, Database& server, const ProgramFolder& folder,
                         QString* error);

// "S&ubir los Datos de este Ordenador": the salon's own styles of this station that the server
// lacks, each with its pictures in one transaction. A style of the same name and length with
// other words on the server is left as the server has it, and reported.
StylesUpload uploadOwnStyles(Database& local, Database& server, const ProgramFolder& folder);

// The files of the salon's own styles in the catalogue of `database`, those that `folder` holds,
// by relative name.
QStringList ownStylesPictures(Database& database, const ProgramFolder& folder);

}  // namespace crinova
