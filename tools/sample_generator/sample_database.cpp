#include "sample_database.h"

#include <QFileInfo>

#include "face/model_eyes.h"
#include "main_window/folder_names.h"
#include "main_window/program_database.h"
#include "platform/files.h"
#include "platform/record_sets.h"
#include "portrait.h"
#include "sample_catalogue.h"

namespace crinova::samples {

bool writeSampleDatabase(const QString& folder, QString* error) {
    Database database;
    if (!openProgramDatabase(database, ProgramFolder(folder), error)) {
        return false;
    }
    // The catalogue is ours and is replaced as a whole; one transaction, so the program never
    // sees half a catalogue and the inserts are fast.
    if (!database.Execute(QStringLiteral("BEGIN"), {}, error)) {
        return false;
    }
    bool ok = database.Execute(QStringLiteral("DELETE FROM cabellos"), {}, error);
    for (const CatalogueEntry& entry : catalogueEntries()) {
        ok = ok &&
             database.Execute(
                 QStringLiteral("INSERT INTO cabellos (tpersona, largura, tipo, "
                                "color, nombre) VALUES (?, ?, ?, ?, ?)"),
                 {entry.tpersona, entry.largura, entry.tipo, entry.color, entry.nombre}, error);
    }
    // Where the model's eyes were drawn, for when they cannot be found on her photo.
    const auto [left, right] = pupilCentres(fittedFrame(frameSize()));
    const QFileInfo model(ProgramFolder(folder).fullPath(kBasePhoto));
    if (model.exists()) {
        ok = ok && storeModelEyes(database, kBasePhoto, model.size(), EyePair{left, right}, error);
    }
    ok = ok && database.Execute(QStringLiteral("COMMIT"), {}, error);
    if (!ok) {
        database.Execute(QStringLiteral("ROLLBACK"));
    }
    return ok;
}

}  // namespace crinova::samples
