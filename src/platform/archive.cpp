#include "platform/archive.h"

#include <archive.h>
#include <archive_entry.h>
#include <fcntl.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <memory>

#include "platform/system_errors.h"

namespace crinova {
namespace {

constexpr qint64 kBlock = 1 << 20;

bool fail(QString* error, const QString& reason) {
    if (error) {
        *error = reason;
    }
    return false;
}

// libarchive's own text, with the system's reason when there is one, told in Spanish.
QString archiveReason(struct archive* archive) {
    const char* text = archive_error_string(archive);
    QString reason = text ? QString::fromLocal8Bit(text) : QString();
    if (archive_errno(archive) > 0) {
        reason += QStringLiteral(": ") + QString::fromLocal8Bit(strerror(archive_errno(archive)));
    }
    return spanishSystemError(reason);
}

QString writeReason(struct archive* archive) {
    return QStringLiteral("No se ha podido escribir en la copia: %1").arg(archiveReason(archive));
}

QString systemReason() {
    return spanishSystemError(QString::fromLocal8Bit(strerror(errno)));
}

struct ArchiveWriter {
    struct archive* handle = archive_write_new();
    ~ArchiveWriter() { archive_write_free(handle); }
};

struct ArchiveReader {
    struct archive* handle = archive_read_new();
    ~ArchiveReader() { archive_read_free(handle); }
};

struct EntryHolder {
    struct archive_entry* handle = archive_entry_new();
    ~EntryHolder() { archive_entry_free(handle); }
};

bool syncFolder(const QString& folder) {
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) {
        return false;
    }
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

bool writeEntries(struct archive* out, const std::vector<ArchiveEntry>& entries,
                  const ArchiveProgress& progress, QString* error) {
    qint64 total = 0;
    for (const ArchiveEntry& entry : entries) {
        total += entry.folder             ? 0
                 : entry.source.isEmpty() ? entry.data.size()
                                          : QFileInfo(entry.source).size();
    }
    qint64 done = 0;
    QByteArray buffer;
    for (const ArchiveEntry& entry : entries) {
        EntryHolder header;
        archive_entry_set_pathname_utf8(header.handle, entry.name.toUtf8().constData());
        archive_entry_set_filetype(header.handle, entry.folder ? AE_IFDIR : AE_IFREG);
        archive_entry_set_perm(header.handle, entry.folder ? 0755 : 0644);
        QFile file(entry.source);
        if (!entry.folder && !entry.source.isEmpty()) {
            if (!file.open(QIODevice::ReadOnly)) {
                return fail(error, QStringLiteral("No se ha podido leer %1: %2")
                                       .arg(entry.source, spanishSystemError(file.errorString())));
            }
            archive_entry_set_size(header.handle, file.size());
            archive_entry_set_mtime(header.handle,
                                    QFileInfo(file).lastModified().toSecsSinceEpoch(), 0);
        } else {
            archive_entry_set_size(header.handle, entry.folder ? 0 : entry.data.size());
        }
        if (archive_write_header(out, header.handle) != ARCHIVE_OK) {
            return fail(error, writeReason(out));
        }
        const auto put = [&](const char* bytes, qint64 size) {
            if (archive_write_data(out, bytes, static_cast<size_t>(size)) != size) {
                return fail(error, writeReason(out));
            }
            done += size;
            if (progress) {
                progress(done, total);
            }
            return true;
        };
        if (entry.folder) {
            continue;
        }
        if (entry.source.isEmpty()) {
            if (!put(entry.data.constData(), entry.data.size())) {
                return false;
            }
            continue;
        }
        qint64 left = file.size();
        while (left > 0) {
            buffer.resize(static_cast<qsizetype>(std::min(left, kBlock)));
            if (file.read(buffer.data(), buffer.size()) != buffer.size()) {
                return fail(error, QStringLiteral("No se ha podido leer %1: %2")
                                       .arg(entry.source, spanishSystemError(file.errorString())));
            }
            if (!put(buffer.constData(), buffer.size())) {
                return false;
            }
            left -= buffer.size();
        }
    }
    return true;
}

}  // namespace

bool writeTarArchive(const std::vector<ArchiveEntry>& entries, const QString& target,
                     const ArchiveProgress& progress, QString* error) {
    if (QFileInfo::exists(target)) {
        return fail(error, QStringLiteral("Ya existe un archivo llamado %1.").arg(target));
    }
    const QFileInfo targetInfo(target);
    const QString partial =
        targetInfo.path() + QStringLiteral("/.") + targetInfo.fileName() + QStringLiteral(".part");
    QFile::remove(partial);
    const int fd =
        ::open(QFile::encodeName(partial).constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    if (fd < 0) {
        return fail(
            error,
            QStringLiteral("No se ha podido crear el archivo %1: %2").arg(partial, systemReason()));
    }
    bool written = false;
    {
        ArchiveWriter out;
        written = archive_write_set_format_pax_restricted(out.handle) == ARCHIVE_OK &&
                  archive_write_set_bytes_per_block(out.handle, 64 * 1024) == ARCHIVE_OK &&
                  archive_write_open_fd(out.handle, fd) == ARCHIVE_OK;
        if (!written) {
            fail(error, archiveReason(out.handle));
        }
        written = written && writeEntries(out.handle, entries, progress, error);
        if (written && archive_write_close(out.handle) != ARCHIVE_OK) {
            written = fail(error, writeReason(out.handle));
        }
    }
    // The archive counts only once its bytes are on the disk.
    if (written && ::fsync(fd) != 0) {
        written = fail(error, QStringLiteral("No se ha podido escribir en el disco %1: %2")
                                  .arg(partial, systemReason()));
    }
    if (::close(fd) != 0 && written) {
        written = fail(error, QStringLiteral("No se ha podido escribir en el disco %1: %2")
                                  .arg(partial, systemReason()));
    }
    if (written && ::rename(QFile::encodeName(partial).constData(),
                            QFile::encodeName(target).constData()) != 0) {
        written = fail(
            error,
            QStringLiteral("No se ha podido dar su nombre a %1: %2").arg(target, systemReason()));
    }
    if (!written) {
        QFile::remove(partial);
        return false;
    }
    syncFolder(targetInfo.path());
    return true;
}

bool isSafeEntryName(const QString& name) {
    if (name.isEmpty() || name.startsWith(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) ||
        name.contains(QChar(0))) {
        return false;
    }
    const QStringList parts = name.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        if (part == QLatin1String(".") || part == QLatin1String("..")) {
            return false;
        }
    }
    return !parts.isEmpty();
}

bool extractTarArchive(const QString& archive, const QString& destination, QStringList* names,
                       QString* error) {
    ArchiveReader in;
    archive_read_support_format_tar(in.handle);
    if (archive_read_open_filename(in.handle, QFile::encodeName(archive).constData(), kBlock) !=
        ARCHIVE_OK) {
        return fail(error, QStringLiteral("No se ha podido abrir la copia %1: %2")
                               .arg(archive, archiveReason(in.handle)));
    }
    const auto damaged = [&](const QString& reason) {
        return fail(
            error, QStringLiteral("La copia %1 está incompleta o dañada: %2").arg(archive, reason));
    };
    struct archive_entry* header = nullptr;
    for (;;) {
        const int next = archive_read_next_header(in.handle, &header);
        if (next == ARCHIVE_EOF) {
            break;
        }
        if (next != ARCHIVE_OK) {
            return damaged(archiveReason(in.handle));
        }
        const char* rawName = archive_entry_pathname_utf8(header);
        QString name = rawName ? QString::fromUtf8(rawName) : QString();
        if (!isSafeEntryName(name)) {
            return damaged(QStringLiteral("tiene un nombre no válido (%1)").arg(name));
        }
        while (name.endsWith(QLatin1Char('/'))) {
            name.chop(1);  // folders are stored as "name/"
        }
        const QString path = destination + QLatin1Char('/') + name;
        const mode_t type = archive_entry_filetype(header);
        if (type == AE_IFDIR) {
            if (!QDir().mkpath(path)) {
                return fail(error,
                            QStringLiteral("No se ha podido crear la carpeta %1.").arg(path));
            }
        } else if (type == AE_IFREG) {
            if (!QDir().mkpath(QFileInfo(path).path())) {
                return fail(error, QStringLiteral("No se ha podido crear la carpeta %1.")
                                       .arg(QFileInfo(path).path()));
            }
            QFile file(path);
            if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
                return fail(error, QStringLiteral("No se ha podido escribir %1: %2")
                                       .arg(path, spanishSystemError(file.errorString())));
            }
            qint64 size = 0;
            for (;;) {
                const void* block = nullptr;
                size_t length = 0;
                la_int64_t offset = 0;
                const int read = archive_read_data_block(in.handle, &block, &length, &offset);
                if (read == ARCHIVE_EOF) {
                    break;
                }
                if (read != ARCHIVE_OK) {
                    return damaged(archiveReason(in.handle));
                }
                if (offset != size) {
                    return damaged(QStringLiteral("%1 tiene huecos").arg(name));
                }
                if (file.write(static_cast<const char*>(block), static_cast<qint64>(length)) !=
                    static_cast<qint64>(length)) {
                    return fail(error, QStringLiteral("No se ha podido escribir %1: %2")
                                           .arg(path, spanishSystemError(file.errorString())));
                }
                size += static_cast<qint64>(length);
            }
            if (archive_entry_size_is_set(header) && size != archive_entry_size(header)) {
                return damaged(QStringLiteral("%1 está cortado").arg(name));
            }
            if (!file.flush()) {
                return fail(error, QStringLiteral("No se ha podido escribir %1: %2")
                                       .arg(path, spanishSystemError(file.errorString())));
            }
        } else {
            return damaged(QStringLiteral("%1 no es un archivo ni una carpeta").arg(name));
        }
        if (names) {
            *names << name;
        }
    }
    return true;
}

}  // namespace crinova
