#pragma once

#include <QDateTime>
#include <QString>

#include "platform/files.h"
#include "platform/record_sets.h"

namespace crinova {

// The `visita` table: one row per photo of a saved visit (`codigocliente`, `fecha`, `posicion`,
// `fichero`), and the kept files it names, "\clientes\<code>\<yyyyMMdd-HHmmss>-foto<N>.bmp".

// Where "Guardar Ficha Cliente" puts a visit's photos until its rows are written: the photo
// "\clientes\<folder>\<name>" waits as "\guardando\<folder>\<name>".
inline const QString kVisitStaging = QStringLiteral("\\guardando");
QString stagedVisitName(const QString& fichero);

// The stamp in a kept visit file's name.
inline const QString kVisitStampFormat = QStringLiteral("yyyyMMdd-HHmmss");

// How `fecha` is stored: ISO 8601 text, to the second.
QString visitDateText(const QDateTime& when);

// Whether a path, once links and ".." are resolved, lies inside the folder.
bool staysInside(const QString& folder, const QString& path);

// Enters one photo of a visit; a row of the same client, time and slot is replaced.
bool insertVisitRow(Database& database, const QString& codigo, const QString& fecha, int posicion,
                    const QString& fichero, QString* error);

// Whether the database still lacks `visita` (`failed` when that cannot be read).
bool visitTableMissing(Database& database, QString* error, bool* failed);
// Creates `visita` and enters the visits already kept on disk under "\clientes\<code>\" (as
// earlier versions named the folder) for the clients of the table (the program's own file names
// only; a folder two codes share is left out). Runs inside the caller's transaction, once: only
// when the table is missing.
bool addVisitTable(Database& database, const ProgramFolder& folder, QString* error);

// Whether the visits' files still lie where earlier versions put them (no index on `fichero`).
bool visitFoldersNotSeparated(Database& database, QString* error, bool* failed);
// Moves each visit file into its own client's folder (clientFolderName) and enters its new name,
// so that codes which shared a folder ("a.b", "a_b") each get theirs; then indexes `fichero`.
// A file that cannot be moved stays where it is, still named by its row. Runs inside the
// caller's transaction; a move undone by a rollback is found again by the next try.
bool separateVisitFolders(Database& database, const ProgramFolder& folder, QString* error);

// Ends the saves a crash or a failure cut short: a waiting photo whose row was written goes into
// its client's folder, any other is deleted; a photo's large companion goes the same way. Runs at
// start, once the database is open.
void finishVisitSaves(Database& database, const ProgramFolder& folder);

}  // namespace crinova
