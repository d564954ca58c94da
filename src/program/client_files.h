#pragma once

#include <QString>

#include "platform/files.h"

namespace crinova {

// Client photos live under "\clientes\": the program puts every one there.

// Whether a stored photo name (`Fprograma`) names a file under "\clientes\": a relative name that
// begins "\clientes\" and takes no "." or ".." step. Any other (a path of its own such as
// "/etc/shadow", or one that climbs out) marks the row damaged. An empty name names no photo.
bool photoNameInClients(const QString& fprograma);

// The full path of a client's photo, or an empty text when it lies outside "\clientes\", by its
// name or through a link: such a photo is never opened.
QString clientPhotoPath(const ProgramFolder& folder, const QString& fprograma);

}  // namespace crinova
