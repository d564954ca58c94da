#pragma once

#include <QImage>
#include <QString>
#include <array>
#include <optional>
#include <vector>

#include "platform/dialogs.h"
#include "platform/files.h"

namespace crinova {

// Slot numbers and counters of the photo slots. A slot N (1 to 6) is stored exactly when its file
// "\foto<N>.bmp" exists; nothing else keeps a list of them.
struct SlotState {
    QString posicionfoto;       // the slot of the last save, as text; empty at start
    bool modopregunta = false;  // once a typed number was accepted, every save asks
};

// The slot a save goes to and the counters to keep once the save has been tried.
struct SlotChoice {
    int slot = 0;
    SlotState after;
};

inline const char* const kSlotQuestion =
    "Ponga la Posición donde quiere que se Guarde la Foto\r Ejemplo: Inserte 1 para que la Foto "
    "se Guarde en la Posición 1";

// Chooses the slot of a save: slots 1 to 6 in turn while no number was typed, then the stylist's
// answer to the question. An empty answer (or Cancel) empties `posicionfoto` at once and answers
// nothing; an answer that is not a whole number from 1 to 6 is told to the stylist and answers
// nothing. The counters change only through the answer's `after`, once the save has been tried
// (whether or not the file could be written, so that a slot that cannot be written is passed).
std::optional<SlotChoice> chooseSlot(SlotState& state, Dialogs& dialogs);

// Whose each stored slot is: a look belongs to the client who was active when it was saved (or
// whose visit filled the slot), and saved with no client active to nobody. Kept for one run only,
// so slot files left by an earlier run belong to nobody. Clients are told by their code.
class SlotOwners {
  public:
    // Slot `slot` now holds a look of `codigo` (empty: nobody's), already in a visit or not.
    void saved(int slot, const QString& codigo, bool inVisit);
    // The stored slots of `codigo`, in order.
    std::vector<int> slotsOf(const QString& codigo, const ProgramFolder& folder) const;
    // Whether `codigo` has stored looks that are in no visit yet.
    bool waiting(const QString& codigo, const ProgramFolder& folder) const;
    void keptInVisit(const QString& codigo);
    // Her looks belong to nobody from now on.
    void disown(const QString& codigo);

  private:
    struct Owner {
        QString codigo;
        bool inVisit = false;
    };
    std::array<std::optional<Owner>, 7> owners_;  // 1 ... 6; index 0 unused
};

// The first stored slot from 1 upwards, or 0 when none is stored.
int firstStoredSlot(const ProgramFolder& folder);

// The next stored slot after `current`, wrapping from 6 to 1, in at most six tries; `current`
// itself counts when it is the only one left. Answers 0 when no slot is stored any more.
int nextStoredSlot(int current, const ProgramFolder& folder);

}  // namespace crinova
