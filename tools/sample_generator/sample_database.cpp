#include "sample_database.h"

#include <QFileInfo>

#include "face/model_eyes.h"
#include "platform/files.h"
#include "platform/record_sets.h"
#include "portrait.h"
#include "program/folder_names.h"
#include "program/program_database.h"
#include "sample_catalogue.h"

namespace crinova::samples {

bool writeSampleDatabase(const QString& folder, QString* error) {
    Database database;
    if (!openProgramDatabase(database, ProgramFolder(folder), error)) {
        return false;
    }
    // The catalogue is ours and is replaced as a whole; one transaction, so the program never
    // sees half a catalogue and the inserts are fast.
    return database.transaction(
        [&](QString* reason) {
            if (!database.Execute(QStringLiteral("DELETE FROM cabellos"), {}, reason)) {
                return false;
            }
            for (const CatalogueEntry& entry : catalogueEntries()) {
                if (!database.Execute(
                        QStringLiteral("INSERT INTO cabellos (tpersona, largura, tipo, "
                                       "color, nombre) VALUES (?, ?, ?, ?, ?)"),
                        {entry.tpersona, entry.largura, entry.tipo, entry.color, entry.nombre},
                        reason)) {
                    return false;
                }
            }
            // Where the model's eyes were drawn, for when they cannot be found on her photo.
            const auto [left, right] = pupilCentres(fittedFrame(frameSize()));
            const QFileInfo model(ProgramFolder(folder).fullPath(kBasePhoto));
            return !model.exists() || storeModelEyes(database, kBasePhoto, model.size(),
                                                     EyePair{left, right}, reason);
        },
        error);
}

}  // namespace crinova::samples
