#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

#include "platform/files.h"
#include "platform/record_sets.h"

namespace crinova {

// The pictures of the salon's server: client photos, visit photos and the salon's own styles, in
// the table `imagen` (`nombre`, the relative name the program gives the file, "\clientes\07.jpg";
// `suma`, the SHA-256 of the content in hexadecimal; `contenido`). The server is the truth; the
// program folder keeps a local copy of each picture it shows, because the composition reads
// files. A copy is fetched on first use and again when the server's checksum differs.

// Creates `imagen`; an upgrade step of the server.
bool addPictureTable(Database& database, const ProgramFolder& folder, QString* error);

QString pictureChecksum(const QByteArray& content);

// Whether a relative name may be stored or fetched: under "\clientes\" or "\fotos\", and staying
// there. A name read from the server is never trusted to point elsewhere in the program folder.
bool isPictureName(const ProgramFolder& folder, const QString& relativeName);

// Stores a picture (replacing one of that name) with its checksum.
bool putPicture(Database& server, const ProgramFolder& folder, const QString& relativeName,
                const QByteArray& content, QString* error);

enum class PictureFetch {
    Current,      // the local copy matches the server's checksum
    Fetched,      // the local copy was written from the server
    NotOnServer,  // the server has no picture of that name; the local file, if any, is untouched
    Failed,       // `error` says why; the local file is as it was
};

// Makes the local copy of a picture match the server's. The copy is written whole or not at all,
// and only after its content was checked against the checksum.
PictureFetch fetchPicture(Database& server, const ProgramFolder& folder,
                          const QString& relativeName, QString* error);
// The same for several pictures at once (a visit's photos), with two questions to the server at
// most; one outcome per name, in order.
std::vector<PictureFetch> fetchPictures(Database& server, const ProgramFolder& folder,
                                        const QStringList& relativeNames, QString* error);

// Makes the server and the local copies of pictures agree: each is fetched, or stored on the
// server from this station's file when the server has none yet (a picture made here: a new
// client's photo, a visit's photos, their large companions). Names without a file anywhere are
// skipped. False, with the reason, when any could not be brought or stored.
bool syncPictures(Database& server, const ProgramFolder& folder, const QStringList& relativeNames,
                  QString* error);

// Removes pictures from the server, in one transaction (a client asking to be forgotten).
bool deletePictures(Database& server, const QStringList& relativeNames, QString* error);

}  // namespace crinova
