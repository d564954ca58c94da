#pragma once

#include <QString>
#include <QStringList>

#include "platform/files.h"
#include "platform/record_sets.h"

namespace crinova {

// Creates the tables the program reads when they are missing: `cabellos` (the hair catalogue) and
// `cliente` (client records). Existing tables and rows are kept.
bool createTables(Database& database, QString* error);

// The program's tables ("cabellos", "cliente") that the open database lacks.
QStringList missingTables(Database& database, QString* error);

// Opens "\crinova.db" in the program folder, creating it with both tables when the file is missing
// or holds no table yet. A file that cannot be opened, is damaged or lacks one of the tables is
// refused with a Spanish message in `error`; the program then runs on without a database.
bool openProgramDatabase(Database& database, const ProgramFolder& folder, QString* error);

}  // namespace crinova
