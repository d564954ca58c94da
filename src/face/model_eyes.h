#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

#include "face/eye_finder.h"
#include "platform/record_sets.h"

namespace crinova {

// Where the model's eyes are on the model photo ("\vexasinmo.jpg"), for which every style is
// drawn.
//
// First they are found on the photo itself, as a client's are. When that fails, the table
// `ojosmodelo` of the program database may know them: the sample generator, which drew the model,
// writes where it drew her eyes, with the length of the file it wrote, and a row is trusted only
// while the file still has that length (a salon that replaces the photo gets its own eyes found,
// never stale ones). The answer is remembered per file and modification time, so a replaced photo
// is looked at again.
class ModelEyes {
  public:
    enum class Source { None, Found, Table };

    struct Answer {
        std::optional<EyePair> eyes;
        Source source = Source::None;
        EyeFault fault = EyeFault::NoFace;  // of the search on the photo, when it failed
    };

    // `relativeName` is how the table names the photo ("\vexasinmo.jpg"); `path` its full path.
    // `database` may be closed: then only the photo is looked at.
    Answer eyes(const QString& path, const QString& relativeName, Database& database,
                const FaceCascades& cascades = sharedCascades());

    void forget() { remembered_.reset(); }

  private:
    struct Remembered {
        QString path;
        QDateTime modified;
        qint64 length = 0;
        Answer answer;
    };
    std::optional<Remembered> remembered_;
};

// The table of known model eyes, created when missing.
bool createModelEyesTable(Database& database, QString* error = nullptr);

// Writes (or replaces) the row of a photo: its relative name, the file's length in bytes and the
// eyes in pixels of the photo.
bool storeModelEyes(Database& database, const QString& relativeName, qint64 fileLength,
                    const EyePair& eyes, QString* error = nullptr);

// The eyes the table holds for a photo of that length, if any.
std::optional<EyePair> readModelEyes(Database& database, const QString& relativeName,
                                     qint64 fileLength);

// The message when the model's eyes are not known at all; it names the photo.
QString modelEyesMissingMessage(const QString& relativeName);

}  // namespace crinova
