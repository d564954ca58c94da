#pragma once

#include <QString>

#include <optional>

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

// A prepared photo's JPEG says, as this text, whether its face was found ("si") or the whole
// photo was fitted in ("no"): only a found face puts her eyes where the model's are.
inline const char* const kPreparedFaceKey = "cara";
// What the photo at `path` says; nothing for a photo that says nothing (prepared before, or not
// prepared at all).
std::optional<bool> preparedFaceFound(const QString& path);

}  // namespace crinova
