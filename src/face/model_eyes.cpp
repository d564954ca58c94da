#include "face/model_eyes.h"

#include <QFileInfo>

#include "platform/pictures.h"

namespace crinova {

ModelEyes::Answer ModelEyes::eyes(const QString& path, const QString& relativeName,
                                  Database& database, const FaceCascades& cascades) {
    const QFileInfo info(path);
    const QDateTime modified = info.exists() ? info.lastModified() : QDateTime();
    const qint64 length = info.exists() ? info.size() : -1;
    if (remembered_ && remembered_->path == path && remembered_->modified == modified &&
        remembered_->length == length) {
        return remembered_->answer;
    }
    Answer answer;
    const PictureLoad photo = loadPicture(path);
    if (photo.ok()) {
        const EyeSearch search = findEyes(photo.picture, cascades);
        answer.fault = search.fault;
        if (search.eyes) {
            answer.eyes = search.eyes;
            answer.source = Source::Found;
        }
    }
    if (!answer.eyes && database.isOpen() && length >= 0) {
        answer.eyes = readModelEyes(database, relativeName, length);
        if (answer.eyes) {
            answer.source = Source::Table;
        }
    }
    // A failure because the cascades are missing is not the photo's: look again next time.
    if (answer.eyes || answer.fault != EyeFault::CascadeMissing) {
        remembered_ = Remembered{path, modified, length, answer};
    }
    return answer;
}

bool createModelEyesTable(Database& database, QString* error) {
    return database.Execute(QStringLiteral("CREATE TABLE IF NOT EXISTS ojosmodelo ("
                                           "foto TEXT PRIMARY KEY, longitud INTEGER, "
                                           "xizquierdo REAL, yizquierdo REAL, "
                                           "xderecho REAL, yderecho REAL)"),
                            {}, error);
}

bool storeModelEyes(Database& database, const QString& relativeName, qint64 fileLength,
                    const EyePair& eyes, QString* error) {
    return createModelEyesTable(database, error) &&
           database.Execute(QStringLiteral("INSERT OR REPLACE INTO ojosmodelo (foto, longitud, "
                                           "xizquierdo, yizquierdo, xderecho, yderecho) "
                                           "VALUES (?, ?, ?, ?, ?, ?)"),
                            {relativeName, fileLength, eyes.left.x(), eyes.left.y(), eyes.right.x(),
                             eyes.right.y()},
                            error);
}

std::optional<EyePair> readModelEyes(Database& database, const QString& relativeName,
                                     qint64 fileLength) {
    RecordSet rows = database.OpenRecordset(
        QStringLiteral("Select xizquierdo, yizquierdo, xderecho, yderecho From ojosmodelo "
                       "where foto=? and longitud=?"),
        {relativeName, fileLength});
    if (rows.RecordCount() == 0) {
        return std::nullopt;
    }
    bool ok[4] = {};
    const EyePair eyes{QPointF(rows.Fields(QStringLiteral("xizquierdo")).toDouble(&ok[0]),
                               rows.Fields(QStringLiteral("yizquierdo")).toDouble(&ok[1])),
                       QPointF(rows.Fields(QStringLiteral("xderecho")).toDouble(&ok[2]),
                               rows.Fields(QStringLiteral("yderecho")).toDouble(&ok[3]))};
    if (!(ok[0] && ok[1] && ok[2] && ok[3])) {
        return std::nullopt;
    }
    return eyes;
}

QString modelEyesMissingMessage(const QString& relativeName) {
    return QStringLiteral(
               "No se han encontrado los ojos de la modelo en la foto \"%1\": sin ellos no se "
               "puede ajustar el cabello a la cara.")
        .arg(relativeName);
}

}  // namespace crinova
