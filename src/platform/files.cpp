#include "platform/files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace crinova {

ProgramFolder::ProgramFolder(const QString& folder) : folder_(QDir::cleanPath(folder)) {
    while (folder_.size() > 1 && folder_.endsWith(QLatin1Char('/'))) {
        folder_.chop(1);
    }
}

ProgramFolder ProgramFolder::ofExecutable() {
    return ProgramFolder(QCoreApplication::applicationDirPath());
}

QString ProgramFolder::fullPath(const QString& relativeName) const {
    QString name = relativeName;
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return folder_ + name;
}

QString ProgramFolder::relativeName(const QString& fullPath) const {
    const QString clean = QDir::cleanPath(QFileInfo(fullPath).absoluteFilePath());
    const QString prefix = folder_ + QLatin1Char('/');
    if (!clean.startsWith(prefix)) {
        return {};
    }
    QString name = clean.mid(folder_.size());
    name.replace(QLatin1Char('/'), QLatin1Char('\\'));
    return name;
}

QString ProgramFolder::resolve(const QString& storedName) const {
    return storedName.startsWith(QLatin1Char('\\')) ? fullPath(storedName) : storedName;
}

bool fileExists(const QString& path) {
    return QFileInfo(path).isFile();
}

bool deleteFile(const QString& path) {
    if (!QFileInfo::exists(path)) {
        return true;
    }
    return QFile::remove(path);
}

}  // namespace crinova
