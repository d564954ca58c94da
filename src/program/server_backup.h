#pragma once

#include <QString>
#include <QStringList>
#include <functional>

#include "platform/archive.h"
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
// `progress` follows the pictures.
bool takeServerData(Database& server, const QString& snapshot, const QString& pictures,
                    QString* error, const ArchiveProgress& progress = {});

// Where the server's pictures wait for the archive, beside the backup's database copy.
QString serverPicturesBeside(const QString& snapshot);

// The server's number for a connection (its backend), to tell this station's own apart.
int connectionNumber(Database& server);

// How many other stations work on the server now: its connections from this program but the
// one asking and `station` (this station's own, when a worker asks); -1, with the reason, when
// that cannot be read.
int otherStations(Database& server, QString* error, int station = 0);

// Puts a prepared restore (a backup extracted and checked in the folder `incoming`) on the server
// in place of its clients, visits, catalogue and pictures, in one transaction: whole, or nothing
// of the server changed. `stylePictures` names the catalogue pictures of the salon's own styles
// in the backup's database; `progress` follows the pictures. Refused while another station than
// `station` works on the server: what it shows and saves would belong to data that is no longer
// there.
bool restoreIntoServer(Database& server, const QString& incoming, int station,
                       const std::function<QStringList(Database& copy)>& stylePictures,
                       QString* error, const ArchiveProgress& progress = {});

}  // namespace crinova
