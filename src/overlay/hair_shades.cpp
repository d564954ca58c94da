#include "overlay/hair_shades.h"

#include <algorithm>
#include <array>

namespace crinova {
namespace {

struct Level {
    const char* name;
    double lightness;  // L*
};

// Lightness steps close to the dyes' own charts: even in the browns, wider in the blondes.
constexpr std::array<Level, kLevelCount> kLevels{{
    {"Negro", 18},
    {"Castaño muy oscuro", 23},
    {"Castaño oscuro", 28},
    {"Castaño medio", 34},
    {"Castaño claro", 40},
    {"Rubio oscuro", 47},
    {"Rubio medio", 54},
    {"Rubio claro", 62},
    {"Rubio muy claro", 70},
    {"Rubio platino", 78},
}};

struct Reflection {
    const char* name;
    double a;  // a*, b* at the full strength of the blonde levels
    double b;
};

constexpr std::array<Reflection, kReflejoCount> kReflections{{
    {"Natural", 5, 13},
    {"Ceniza", 0, 3},
    {"Irisado", 14, -12},
    {"Dorado", 5, 25},
    {"Cobrizo", 19, 29},
    {"Caoba", 20, 10},
    {"Rojo", 32, 19},
}};

int clampLevel(int level) {
    return std::clamp(level, 1, kLevelCount);
}

}  // namespace

QString levelName(int level) {
    level = clampLevel(level);
    return QStringLiteral("%1 %2").arg(level).arg(
        QString::fromUtf8(kLevels[std::size_t(level - 1)].name));
}

QString reflejoName(Reflejo reflejo) {
    return QString::fromUtf8(kReflections[std::size_t(reflejo)].name);
}

Lab shadeTarget(int level, Reflejo reflejo) {
    level = clampLevel(level);
    // Full strength from level 7 up; a little over half of it on black.
    const double strength = std::min(1.0, 0.55 + 0.45 * (level - 1) / 6.0);
    const Reflection& reflection = kReflections[std::size_t(reflejo)];
    return {kLevels[std::size_t(level - 1)].lightness, reflection.a * strength,
            reflection.b * strength};
}

QString Shade::name() const {
    if (fantasia) {
        return QStringLiteral("Fantasía");
    }
    const int shown = clampLevel(level);
    const QString levelText = QString::fromUtf8(kLevels[std::size_t(shown - 1)].name);
    if (reflejo == Reflejo::Natural) {
        return QStringLiteral("%1 %2").arg(shown).arg(levelText);
    }
    return QStringLiteral("%1.%2 %3 %4")
        .arg(shown)
        .arg(int(reflejo))
        .arg(levelText, reflejoName(reflejo).toLower());
}

}  // namespace crinova
