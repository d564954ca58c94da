#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace crinova {

// One entry of a tar archive: a file read from `source`, the bytes of `data` when `source` is
// empty, or a folder when `folder` is set. `name` is relative, with "/" between its parts. A file
// keeps its modification time; `modified` gives one to the bytes of `data`.
struct ArchiveEntry {
    QString name;
    QString source;
    QByteArray data;
    bool folder = false;
    QDateTime modified{};
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
// empty folder). Every entry must be readable, named safely and only once, and only files and
// folders are accepted; `names` gets the entry names in archive order (a folder's without its
// final "/"). `progress` is told the archive's bytes read so far. A failure leaves partial files in
// `destination`, for the caller to remove; `error` says what happened in Spanish, and
// `unwritable` (when given) whether it was the writing that failed (a full disk, say) rather than
// the archive.
bool extractTarArchive(const QString& archive, const QString& destination, QStringList* names,
                       QString* error, const ArchiveProgress& progress = {},
                       bool* unwritable = nullptr);

// The bytes and the modification time of the last entry named `name` in a tar archive, read
// without extracting the others; false when the archive cannot be read through or has no such
// entry.
bool readTarEntry(const QString& archive, const QString& name, QByteArray* data,
                  QDateTime* modified = nullptr);

}  // namespace crinova
