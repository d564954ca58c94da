#include "platform/plain_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace crinova {
namespace {

FileIdentity identityOf(const struct stat& status) {
    auto nanoseconds = [](const struct timespec& time) {
        return qint64(time.tv_sec) * 1000000000 + time.tv_nsec;
    };
    return FileIdentity{quint64(status.st_dev), quint64(status.st_ino), qint64(status.st_size),
                        nanoseconds(status.st_mtim), nanoseconds(status.st_ctim)};
}

PlainFileOpen failureOf(int error) {
    return error == ENOENT || error == ENOTDIR || error == ENAMETOOLONG || error == ELOOP
               ? PlainFileOpen::Missing
               : PlainFileOpen::Unreadable;
}

}  // namespace

PlainFileOpen openPlainFile(const QString& path, QFile& file, FileIdentity* identity) {
    if (path.isEmpty()) {
        return PlainFileOpen::Missing;
    }
    const QByteArray name = QFile::encodeName(path);
    struct stat status {};
    if (::stat(name.constData(), &status) != 0) {
        return failureOf(errno);
    }
    if (!S_ISREG(status.st_mode)) {
        return PlainFileOpen::NotPlain;
    }
    // Something else may stand there by the time it is opened: without O_NONBLOCK a pipe would
    // wait for a writer for ever, and O_NOCTTY keeps a terminal from becoming the program's.
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return failureOf(errno);
    }
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return PlainFileOpen::NotPlain;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return PlainFileOpen::Unreadable;
    }
    if (identity) {
        *identity = identityOf(status);
    }
    return PlainFileOpen::Opened;
}

}  // namespace crinova
