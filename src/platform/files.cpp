#include "platform/files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "platform/system_errors.h"

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

QString linkLeadingOut(const ProgramFolder& folder, const QString& path, bool wholeFolder) {
    const QString root = QFileInfo(folder.path()).canonicalFilePath();
    const QString clean = QDir::cleanPath(path);
    const auto inside = [&root](const QString& real) {
        return !root.isEmpty() && (real == root || real.startsWith(root + QLatin1Char('/')));
    };
    const auto refusal = [&](const QString& link, const QString& target) {
        const QString shownLink = shortenedMiddle(QDir::toNativeSeparators(link));
        if (inside(target)) {
            // Emptying a link empties what it points to, elsewhere in the program folder.
            return QStringLiteral(
                       "%1 es un enlace a %2, y Crinova no vacía ni borra una carpeta a través "
                       "de un enlace. Quite ese enlace y vuelva a intentarlo.")
                .arg(shownLink, shortenedMiddle(QDir::toNativeSeparators(target)));
        }
        return QStringLiteral(
                   "Crinova no escribe ni borra nada fuera de su carpeta, y %1 es un enlace que "
                   "lleva fuera de ella (a %2). Quite ese enlace, o ponga en su lugar una carpeta "
                   "de verdad, y vuelva a intentarlo.")
            .arg(shownLink, target.isEmpty() ? QStringLiteral("un sitio que no existe")
                                             : shortenedMiddle(QDir::toNativeSeparators(target)));
    };
    if (!clean.startsWith(folder.path() + QLatin1Char('/'))) {
        return refusal(clean, clean);
    }
    // Each part from the folder down: a link among them must end inside the folder. Parts that do
    // not exist yet are made as plain folders, inside.
    QString current = folder.path();
    const QStringList parts =
        clean.mid(folder.path().size() + 1).split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (qsizetype i = 0; i < parts.size(); ++i) {
        current += QLatin1Char('/') + parts[i];
        const QFileInfo info(current);
        if (info.isSymLink()) {
            const QString target = info.canonicalFilePath();
            if (target.isEmpty() || !inside(target) || (wholeFolder && i + 1 == parts.size())) {
                return refusal(current, target);
            }
        } else if (!info.exists()) {
            break;
        }
    }
    return QString();
}

bool removeFolder(const ProgramFolder& folder, const QString& path, QString* error) {
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink()) {
        return true;
    }
    const QString refusal = linkLeadingOut(folder, path, true);
    if (!refusal.isEmpty()) {
        if (error) {
            *error = refusal;
        }
        return false;
    }
    // QDir removes a link inside the folder as a file, never what it points to.
    if (!QDir(path).removeRecursively()) {
        if (error) {
            *error = QStringLiteral("No se ha podido borrar la carpeta %1.")
                         .arg(shortenedMiddle(QDir::toNativeSeparators(path)));
        }
        return false;
    }
    return true;
}

}  // namespace crinova
