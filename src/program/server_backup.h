#pragma once

#include <QString>

#include "platform/record_sets.h"

namespace crinova {

// A whole backup made while the station works on the salon's server holds the server's data in
// the station's archive format, so it restores into a single station as well as a station's own
// backup does.

// Replaces the client records, visits and catalogue in `snapshot` (a copy of this station's
// database made for the backup) by the server's, and writes the server's pictures under
// `pictures` by their relative names ("clientes", "fotos"), each checked against its checksum.
// Everything is read at one moment of the server, so a save at another station meanwhile is in
// the backup whole or not at all. False, with the reason, when anything could not be read or
// written.
bool takeServerData(Database& server, const QString& snapshot, const QString& pictures,
                    QString* error);

// Where the server's pictures wait for the archive, beside the backup's database copy.
QString serverPicturesBeside(const QString& snapshot);

}  // namespace crinova
