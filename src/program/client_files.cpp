#include "program/client_files.h"

#include <QImageReader>
#include <QRegularExpression>
#include <QStringList>

#include "program/folder_names.h"
#include "program/visit_table.h"

namespace crinova {

bool photoNameInClients(const QString& fprograma) {
    if (!fprograma.startsWith(kClientsFolder + QLatin1Char('\\'))) {
        return false;
    }
    const QStringList steps = fprograma.mid(kClientsFolder.size() + 1)
                                  .split(QRegularExpression(QStringLiteral("[\\\\/]")));
    for (const QString& step : steps) {
        if (step.isEmpty() || step == QLatin1String(".") || step == QLatin1String("..")) {
            return false;
        }
    }
    return true;
}

QString clientPhotoPath(const ProgramFolder& folder, const QString& fprograma) {
    const QString path = folder.fullPath(fprograma);
    return photoNameInClients(fprograma) && staysInside(folder.fullPath(kClientsFolder), path)
               ? path
               : QString();
}

std::optional<bool> preparedFaceFound(const QString& path) {
    const QString said = QImageReader(path).text(QString::fromLatin1(kPreparedFaceKey));
    if (said == QLatin1String("si")) {
        return true;
    }
    if (said == QLatin1String("no")) {
        return false;
    }
    return std::nullopt;
}

}  // namespace crinova
