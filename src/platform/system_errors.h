#pragma once

#include <QString>

namespace crinova {

// A Spanish sentence for an error text that SQLite, the C library or Qt's file and image classes
// gave in English ("attempt to write a readonly database", "Permission denied", "Existing file
// ... is not writable"), so no message box shows the stylist English. A text that is not known
// here (Qt's own catalogue may already have made it Spanish) is kept after a general sentence,
// as the detail that a technician can look up. The caller's message says which file it was.
QString spanishSystemError(const QString& systemText);

}  // namespace crinova
