#include "client_view/saved_looks.h"

#include "client_view/large_rendering.h"
#include "platform/pictures.h"
#include "program/folder_names.h"
#include "program/large_companions.h"

namespace crinova {

std::vector<SavedLook> loadSavedLooks(const ProgramFolder& folder) {
    std::vector<SavedLook> looks;
    for (int slot = 1; slot <= 6; ++slot) {
        const QString path = folder.fullPath(slotFileName(slot));
        if (!fileExists(path)) {
            continue;
        }
        SavedLook look;
        look.slot = slot;
        QMap<QString, QString> texts;
        look.picture = loadLargeCompanion(path, &texts);
        look.sharp = !look.picture.isNull();
        if (look.sharp) {
            look.estilo = texts.value(QString::fromLatin1(kStyleKey));
            look.color = texts.value(QString::fromLatin1(kColourKey));
        } else {
            const PictureLoad load = loadPicture(path);
            if (!load.ok()) {
                continue;
            }
            look.picture = enlargedSmoothly(load.picture, kLargeFactor);
        }
        looks.push_back(look);
    }
    return looks;
}

QImage slotPrintPicture(const ProgramFolder& folder, int slot) {
    const QString path = folder.fullPath(slotFileName(slot));
    const QImage companion = loadLargeCompanion(path);
    return companion.isNull() ? loadPicture(path).picture : companion;
}

LookName lookNameOf(const QString& ficheropelo, Database& database) {
    if (const std::optional<CatalogueStyleName> style = catalogueStyleOf(ficheropelo)) {
        const RecordSet rows = database.OpenRecordset(
            QStringLiteral("Select color From cabellos where largura=? and nombre=?"),
            {style->largura, style->nombre});
        return {style->nombre,
                rows.isOpen() && !rows.Eof() ? rows.Fields(QStringLiteral("color")) : QString()};
    }
    for (int number = 1; number <= 6; ++number) {
        if (ficheropelo.compare(sampleHairName(number), Qt::CaseInsensitive) == 0) {
            return {QStringLiteral("Muestra %1").arg(number), {}};
        }
    }
    return {};
}

QMap<QString, QString> lookTexts(const QString& estilo, const QString& color) {
    QMap<QString, QString> texts;
    if (!estilo.isEmpty()) {
        texts.insert(QString::fromLatin1(kStyleKey), estilo);
    }
    if (!color.isEmpty()) {
        texts.insert(QString::fromLatin1(kColourKey), color);
    }
    return texts;
}

QString lookCaption(int number, const SavedLook& look) {
    QString caption = QStringLiteral("Peinado %1").arg(number);
    if (!look.estilo.isEmpty()) {
        caption += QStringLiteral(": ") + look.estilo;
    }
    if (!look.color.isEmpty()) {
        caption += QStringLiteral(" (%1)").arg(look.color);
    }
    return caption;
}

}  // namespace crinova
