#include "slots/photo_slots.h"

#include "program/folder_names.h"

namespace crinova {

std::optional<SlotChoice> chooseSlot(SlotState& state, Dialogs& dialogs) {
    const int last = state.posicionfoto.isEmpty() ? 0 : state.posicionfoto.toInt();
    if (!state.modopregunta && last <= 5) {
        const int slot = last + 1;
        return SlotChoice{slot, SlotState{QString::number(slot), false}};
    }
    const QString answer = dialogs.InputBox(QString::fromUtf8(kSlotQuestion),
                                            QStringLiteral("Guardar Fotografía"), QString());
    if (answer.isEmpty()) {
        state.posicionfoto.clear();
        return std::nullopt;
    }
    const QString typed = answer.trimmed();
    bool number = !typed.isEmpty();
    for (const QChar c : typed) {
        number = number && c.isDigit() && c.unicode() < 128;
    }
    const int slot = number ? typed.toInt() : 0;
    if (slot < 1 || slot > 6) {
        dialogs.MsgBox(QStringLiteral("Tiene que poner un Numero entre el 1 y el 6"),
                       MessageButtons::Ok, MessageIcon::Information,
                       QStringLiteral("Error Numero mal Introducido"));
        return std::nullopt;
    }
    return SlotChoice{slot, SlotState{QString::number(slot), true}};
}

void SlotOwners::saved(int slot, const QString& codigo, bool inVisit) {
    auto& owner = owners_.at(static_cast<std::size_t>(slot));
    owner.reset();
    if (!codigo.isEmpty()) {
        owner = Owner{codigo, inVisit};
    }
}

std::vector<int> SlotOwners::slotsOf(const QString& codigo, const ProgramFolder& folder) const {
    std::vector<int> found;
    for (int slot = 1; slot <= 6; ++slot) {
        const auto& owner = owners_[static_cast<std::size_t>(slot)];
        if (owner && owner->codigo == codigo && fileExists(folder.fullPath(slotFileName(slot)))) {
            found.push_back(slot);
        }
    }
    return found;
}

bool SlotOwners::waiting(const QString& codigo, const ProgramFolder& folder) const {
    for (const int slot : slotsOf(codigo, folder)) {
        if (!owners_[static_cast<std::size_t>(slot)]->inVisit) {
            return true;
        }
    }
    return false;
}

void SlotOwners::keptInVisit(const QString& codigo) {
    for (auto& owner : owners_) {
        if (owner && owner->codigo == codigo) {
            owner->inVisit = true;
        }
    }
}

void SlotOwners::disown(const QString& codigo) {
    for (auto& owner : owners_) {
        if (owner && owner->codigo == codigo) {
            owner.reset();
        }
    }
}

int firstStoredSlot(const ProgramFolder& folder) {
    for (int slot = 1; slot <= 6; ++slot) {
        if (fileExists(folder.fullPath(slotFileName(slot)))) {
            return slot;
        }
    }
    return 0;
}

int nextStoredSlot(int current, const ProgramFolder& folder) {
    int slot = current;
    for (int tries = 0; tries < 6; ++tries) {
        slot = slot + 1 > 6 ? 1 : slot + 1;
        if (fileExists(folder.fullPath(slotFileName(slot)))) {
            return slot;
        }
    }
    return 0;
}

}  // namespace crinova
