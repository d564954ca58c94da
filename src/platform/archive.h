#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace crinova {

// One entry of a tar archive: a file read from `source`, the bytes of `data` when `source` is
// empty, or a folder when `folder` is set. `name` is relative, with "/" between its parts.
struct ArchiveEntry {
    QString name;
    QString source;
    QByteArray data;
    bool folder = false;
};

// Told the bytes written so far and the bytes to write in all, after each block.
using ArchiveProgress = std::function<void(qint64 done, qint64 total)>;

// Writes a tar archive at `target`, which must not exist: under a temporary name beside it,
// flushed to the disk, then renamed. On any failure the temporary file is removed, so `target`
// either holds a whole archive or is absent; `error` says why in Spanish.
bool writeTarArchive(const std::vector<ArchiveEntry>& entries, const QString& target,
                     const ArchiveProgress& progress, QString* error);

// Whether an entry name is safe to extract: relative, without "." or ".." parts.
bool isSafeEntryName(const QString& name);

// Reads a tar archive through and extracts its folders and files under `destination` (an existing,
// empty folder). Every entry must be readable and safely named, and only files and folders are
// accepted; `names` gets the entry names in archive order (a folder's without its final "/"). A
// failure leaves partial files in `destination`, for the caller to remove.
bool extractTarArchive(const QString& archive, const QString& destination, QStringList* names,
                       QString* error);

}  // namespace crinova
