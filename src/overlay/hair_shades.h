#pragma once

#include <QString>
#include <optional>

#include "overlay/lab_colour.h"

namespace crinova {

// The salon's shades: a level from 1 (black) to 10 (platinum blonde) gives the lightness, a
// reflection the hue and its strength. The salon writes them "level.reflection name", the
// reflection by its number (Natural 0, not written; Ceniza 1; Irisado 2; Dorado 3; Cobrizo 4;
// Caoba 5; Rojo 6): "7.4 Rubio medio cobrizo", "5 Castaño claro".
inline constexpr int kLevelCount = 10;
enum class Reflejo { Natural, Ceniza, Irisado, Dorado, Cobrizo, Caoba, Rojo };
inline constexpr int kReflejoCount = 7;

QString levelName(int level);          // "7 Rubio medio"; level 1 ... 10
QString reflejoName(Reflejo reflejo);  // "Cobrizo"

// The shade's target colour: the table's L* for the level; the reflection's (a*, b*) scaled down
// towards the dark levels, where hair shows less of its hue.
Lab shadeTarget(int level, Reflejo reflejo);

// A shade of the table, or a fantasy colour taken from the colour chooser.
struct Shade {
    int level = 6;  // 1 ... 10
    Reflejo reflejo = Reflejo::Natural;
    std::optional<Lab> fantasia;

    Lab target() const { return fantasia ? *fantasia : shadeTarget(level, reflejo); }
    // "7.4 Rubio medio cobrizo", or "Fantasía" for a fantasy colour.
    QString name() const;
    bool operator==(const Shade&) const = default;
};

// What streaks a colouring adds with its second shade.
enum class Highlights { None, Mechas, Balayage };

// A hair colour as the stylist chooses it.
struct HairColour {
    Shade shade;
    int intensity = 100;  // 0 keeps the original colour, 100 is the shade itself
    Highlights highlights = Highlights::None;
    Shade second{9, Reflejo::Natural, {}};  // the streaks' or the balayage's shade

    bool operator==(const HairColour&) const = default;
};

}  // namespace crinova
