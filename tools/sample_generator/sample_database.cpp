#include "sample_database.h"

#include "main_window/program_database.h"
#include "platform/files.h"
#include "platform/record_sets.h"

namespace crinova::samples {

bool writeSampleDatabase(const QString& folder, QString* error) {
    Database database;
    return openProgramDatabase(database, ProgramFolder(folder), error);
}

}  // namespace crinova::samples
