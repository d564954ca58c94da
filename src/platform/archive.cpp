#include "platform/archive.h"

#include <archive.h>
#include <archive_entry.h>
#include <fcntl.h>
#include <langinfo.h>
#include <locale.h>
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

// libarchive turns entry names between UTF-8 and the character type of the thread's locale; plain
// "C" (a machine without the Spanish locale) cannot hold "ñ". While this lives, the thread works
// under C.UTF-8, which Debian always has, unless its locale is UTF-8 already.
class Utf8CharacterType {
  public:
    Utf8CharacterType() {
        if (QByteArray(nl_langinfo(CODESET)) == "UTF-8") {
            return;
        }
        utf8_ = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
        if (utf8_) {
            previous_ = uselocale(utf8_);
        }
    }
    ~Utf8CharacterType() {
        if (utf8_) {
            uselocale(previous_);
            freelocale(utf8_);
        }
    }
    Utf8CharacterType(const Utf8CharacterType&) = delete;
    Utf8CharacterType& operator=(const Utf8CharacterType&) = delete;

  private:
    locale_t utf8_ = static_cast<locale_t>(nullptr);
    locale_t previous_ = static_cast<locale_t>(nullptr);
};

struct ArchiveWriter {
    Utf8CharacterType utf8;
    struct archive* handle = archive_write_new();
    ~ArchiveWriter() { archive_write_free(handle); }
};

struct ArchiveReader {
    Utf8CharacterType utf8;
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
            if (entry.modified.isValid()) {
                archive_entry_set_mtime(header.handle, entry.modified.toSecsSinceEpoch(), 0);
            }
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

namespace {

// What a file that is not a tar archive holds, said from its first bytes: empty, compressed by a
// known tool, or something else (empty text: it may be a tar archive).
QString notATarArchive(const QString& archive) {
    QFile file(archive);
    if (!file.open(QIODevice::ReadOnly)) {
        return QString();
    }
    const QString shown = shortenedMiddle(QDir::toNativeSeparators(archive));
    if (file.size() == 0) {
        return QStringLiteral(
                   "El archivo %1 está vacío: no es una copia de seguridad. Elija "
                   "otro archivo.")
            .arg(shown);
    }
    const QByteArray head = file.read(6);
    static const std::pair<QByteArray, const char*> compressed[] = {
        {QByteArray("\x1f\x8b", 2), "gzip"},
        {QByteArray("BZh"), "bzip2"},
        {QByteArray("\xfd"
                    "7zXZ",
                    5),
         "xz"},
        {QByteArray("\x28\xb5\x2f\xfd", 4), "zstd"},
        {QByteArray("PK\x03\x04", 4), "zip"},
        {QByteArray("7z\xbc\xaf\x27\x1c", 6), "7z"},
    };
    for (const auto& [magic, tool] : compressed) {
        if (head.startsWith(magic)) {
            return QStringLiteral(
                       "El archivo %1 está comprimido (%2). Descomprímalo primero y "
                       "elija el archivo .tar que contiene.")
                .arg(shown, QString::fromLatin1(tool));
        }
    }
    return QString();
}

// The folder or file in the way of an entry: a name met before, or a part of its path that an
// earlier entry made a file. Empty when nothing is.
QString inTheWay(const QString& destination, const QString& name) {
    QString path = destination;
    const QStringList parts = name.split(QLatin1Char('/'));
    for (qsizetype i = 0; i < parts.size(); ++i) {
        path += QLatin1Char('/') + parts[i];
        const QFileInfo info(path);
        if (i + 1 == parts.size() ? info.exists() || info.isSymLink()
                                  : (info.exists() && !info.isDir()) || info.isSymLink()) {
            return parts.mid(0, i + 1).join(QLatin1Char('/'));
        }
    }
    return QString();
}

}  // namespace

bool extractTarArchive(const QString& archive, const QString& destination, QStringList* names,
                       QString* error, const ArchiveProgress& progress, bool* unwritable) {
    const QString shownArchive = shortenedMiddle(QDir::toNativeSeparators(archive));
    const auto cannotWrite = [&](const QString& path, const QString& reason) {
        if (unwritable) {
            *unwritable = true;
        }
        return fail(error, QStringLiteral("No se ha podido escribir %1: %2")
                               .arg(shortenedMiddle(QDir::toNativeSeparators(path)), reason));
    };
    const QString other = notATarArchive(archive);
    if (!other.isEmpty()) {
        return fail(error, other);
    }
    ArchiveReader in;
    archive_read_support_format_tar(in.handle);
    const qint64 total = QFileInfo(archive).size();
    const auto damaged = [&](const QString& reason) {
        return fail(error,
                    QStringLiteral("La copia %1 está incompleta o dañada: %2. Elija otra copia.")
                        .arg(shownArchive, reason));
    };
    // The library's own words for a damaged archive, told as what happened.
    const auto readFailure = [&]() {
        const QString text = QString::fromLocal8Bit(archive_error_string(in.handle));
        if (text.contains(QLatin1String("Truncated"), Qt::CaseInsensitive)) {
            return damaged(
                QStringLiteral("se corta antes de su final, como si se hubiera copiado a medias"));
        }
        if (text.contains(QLatin1String("Unrecognized archive format"), Qt::CaseInsensitive)) {
            return fail(error,
                        QStringLiteral("El archivo %1 no es una copia de seguridad de "
                                       "Crinova (no es un archivo .tar). Elija otro archivo.")
                            .arg(shownArchive));
        }
        return damaged(QStringLiteral("no se puede leer (%1)").arg(archiveReason(in.handle)));
    };
    if (archive_read_open_filename(in.handle, QFile::encodeName(archive).constData(), kBlock) !=
        ARCHIVE_OK) {
        if (!QFileInfo(archive).isReadable()) {
            return fail(error, QStringLiteral("No se ha podido abrir la copia %1: %2")
                                   .arg(shownArchive, archiveReason(in.handle)));
        }
        return readFailure();
    }
    struct archive_entry* header = nullptr;
    for (;;) {
        const int next = archive_read_next_header(in.handle, &header);
        if (next == ARCHIVE_EOF) {
            break;
        }
        if (next != ARCHIVE_OK) {
            return readFailure();
        }
        const char* rawName = archive_entry_pathname_utf8(header);
        if (!rawName && archive_entry_pathname(header)) {
            // Bytes that are no UTF-8 text: not a name this program wrote.
            return damaged(
                QStringLiteral("tiene una entrada con un nombre ilegible (%1)")
                    .arg(shortenedMiddle(QString::fromLatin1(archive_entry_pathname(header)))));
        }
        QString name = rawName ? QString::fromUtf8(rawName) : QString();
        if (name.isEmpty()) {
            return damaged(QStringLiteral("tiene una entrada sin nombre"));
        }
        if (!isSafeEntryName(name)) {
            return damaged(QStringLiteral("tiene una entrada con un nombre no permitido (%1)")
                               .arg(shortenedMiddle(name)));
        }
        while (name.endsWith(QLatin1Char('/'))) {
            name.chop(1);  // folders are stored as "name/"
        }
        const QString path = destination + QLatin1Char('/') + name;
        const mode_t type = archive_entry_filetype(header);
        if (type != AE_IFDIR && type != AE_IFREG) {
            return damaged(
                QStringLiteral("%1 no es un archivo ni una carpeta").arg(shortenedMiddle(name)));
        }
        // An entry met before, or a folder where an earlier entry made a file: a damaged archive,
        // not a disk that cannot be written. Looked into only when something is in the way.
        const QFileInfo existing(path);
        const bool again = existing.exists() || existing.isSymLink();
        const QString parent = type == AE_IFDIR ? path : existing.path();
        if ((again && !(type == AE_IFDIR && existing.isDir() && !existing.isSymLink())) ||
            !QDir().mkpath(parent)) {
            const QString blocking = inTheWay(destination, name);
            if (blocking.isEmpty()) {
                return cannotWrite(parent, QStringLiteral("no se ha podido crear la carpeta."));
            }
            return damaged((blocking == name
                                ? QStringLiteral("tiene dos veces la entrada %1")
                                : QStringLiteral("tiene %1 como archivo y también como carpeta"))
                               .arg(shortenedMiddle(blocking)));
        }
        if (type == AE_IFREG) {
            QFile file(path);
            // Unbuffered: the archive's blocks are large, and a failed write tells its reason
            // (a full disk) at once.
            if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered)) {
                return cannotWrite(path, spanishSystemError(file.errorString()));
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
                    return readFailure();
                }
                if (offset != size) {
                    return damaged(QStringLiteral("%1 tiene huecos").arg(shortenedMiddle(name)));
                }
                // A short write is followed by another, which tells why the disk stopped.
                for (qint64 written = 0; written < static_cast<qint64>(length);) {
                    const qint64 more = file.write(static_cast<const char*>(block) + written,
                                                   static_cast<qint64>(length) - written);
                    if (more <= 0) {
                        return cannotWrite(path, spanishSystemError(file.errorString()));
                    }
                    written += more;
                }
                size += static_cast<qint64>(length);
                if (progress) {
                    progress(archive_filter_bytes(in.handle, -1), total);
                }
            }
            if (archive_entry_size_is_set(header) && size != archive_entry_size(header)) {
                return damaged(QStringLiteral("%1 está cortado").arg(shortenedMiddle(name)));
            }
            if (!file.flush()) {
                return cannotWrite(path, spanishSystemError(file.errorString()));
            }
        }
        if (progress) {
            progress(archive_filter_bytes(in.handle, -1), total);
        }
        if (names) {
            *names << name;
        }
    }
    return true;
}

bool readTarEntry(const QString& archive, const QString& name, QByteArray* data,
                  QDateTime* modified) {
    ArchiveReader in;
    archive_read_support_format_tar(in.handle);
    if (archive_read_open_filename(in.handle, QFile::encodeName(archive).constData(), kBlock) !=
        ARCHIVE_OK) {
        return false;
    }
    bool found = false;
    struct archive_entry* header = nullptr;
    for (;;) {
        const int next = archive_read_next_header(in.handle, &header);
        if (next == ARCHIVE_EOF) {
            return found;
        }
        if (next != ARCHIVE_OK) {
            return false;
        }
        const char* rawName = archive_entry_pathname_utf8(header);
        if (!rawName || QString::fromUtf8(rawName) != name ||
            archive_entry_filetype(header) != AE_IFREG) {
            continue;  // the library skips the data of an entry not read
        }
        QByteArray bytes;
        const void* block = nullptr;
        size_t length = 0;
        la_int64_t offset = 0;
        int read = ARCHIVE_OK;
        while ((read = archive_read_data_block(in.handle, &block, &length, &offset)) ==
               ARCHIVE_OK) {
            // A list is a line or two: more than a block is not one.
            if (offset != bytes.size() || bytes.size() + static_cast<qint64>(length) > kBlock) {
                return false;
            }
            bytes.append(static_cast<const char*>(block), static_cast<qsizetype>(length));
        }
        if (read != ARCHIVE_EOF) {
            return false;
        }
        found = true;
        if (data) {
            *data = bytes;
        }
        if (modified) {
            *modified = archive_entry_mtime_is_set(header)
                            ? QDateTime::fromSecsSinceEpoch(archive_entry_mtime(header))
                            : QDateTime();
        }
    }
}

}  // namespace crinova
