#pragma once

#include <QString>
#include <QStringList>
#include <functional>

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

// How many other stations work on the server now (its other connections from this program); -1,
// with the reason, when that cannot be read.
int otherStations(Database& server, QString* error);

// Puts a prepared restore (a backup extracted and checked in the folder `incoming`) on the server
// in place of its clients, visits, catalogue and pictures, in one transaction: whole, or nothing
// of the server changed. `stylePictures` names the catalogue pictures of the salon's own styles
// in the backup's database. Refused while another station works on the server: what it shows and
// saves would belong to data that is no longer there.
bool restoreIntoServer(Database& server, const QString& incoming,
                       const std::function<QStringList(Database& copy)>& stylePictures,
                       QString* error);

}  // namespace crinova
