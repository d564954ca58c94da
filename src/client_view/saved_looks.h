#pragma once

#include <QImage>
#include <QMap>
#include <QString>
#include <vector>

#include "platform/files.h"
#include "platform/record_sets.h"

namespace crinova {

// A look stored in a photo slot, large: its companion "\foto<N>-grande.png" when it has one that
// fits, otherwise the slot's own picture enlarged smoothly.
struct SavedLook {
    int slot = 0;
    QImage picture;
    bool sharp = false;  // the companion, not an enlargement
    QString estilo;      // the style's name, as saved with the companion
    QString color;       // the hair's colour, as saved with the companion
};

// The stored slots 1 to 6 in order; a slot whose file cannot be read is left out.
std::vector<SavedLook> loadSavedLooks(const ProgramFolder& folder);

// The picture printing takes for slot N: the companion when it fits, else the slot's picture (null
// when neither can be read).
QImage slotPrintPicture(const ProgramFolder& folder, int slot);

// The name and colour a look is saved with: a catalogue style's name and its colour in the
// catalogue, "Muestra <N>" for installed sample N, nothing for any other picture.
struct LookName {
    QString estilo;
    QString color;
};
LookName lookNameOf(const QString& ficheropelo, Database& database);

// The texts a look's companion carries.
QMap<QString, QString> lookTexts(const QString& estilo, const QString& color);

// How a saved look is named to the client: "Peinado 2", with its style and colour when known:
// "Peinado 2: Melena (rubio)".
QString lookCaption(int number, const SavedLook& look);

}  // namespace crinova
