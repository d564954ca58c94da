#pragma once

#include <QString>

namespace crinova::samples {

// Creates "crinova.db" in the folder with the program's tables and fills `cabellos` with the
// catalogue. Client records entered while trying the program survive a rebuild.
bool writeSampleDatabase(const QString& folder, QString* error);

}  // namespace crinova::samples
