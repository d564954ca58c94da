#pragma once

#include <QFile>
#include <QString>
#include <QtGlobal>

namespace crinova {

// Who a file is, as the file system tells it without reading it: a file replaced, rewritten or
// given back its old modification time has another identity (the status-change time moves with
// every write, rename and change of times). Times are nanoseconds since the epoch.
struct FileIdentity {
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 modified = 0;
    qint64 changed = 0;

    bool operator==(const FileIdentity&) const = default;
};

enum class PlainFileOpen { Opened, Missing, NotPlain, Unreadable };

// Opens `path` for reading only when it is a plain file. The type is looked at before the file is
// opened and again on the opened file, which is opened without waiting: a named pipe, a device,
// a socket or a folder is refused (NotPlain) and never holds the program. `identity`, when given,
// is the opened file's.
PlainFileOpen openPlainFile(const QString& path, QFile& file, FileIdentity* identity = nullptr);

}  // namespace crinova
