#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace crinova {

// Every fractional value the program turns into a whole number goes through here:
// halves go to the even neighbour (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
inline std::int32_t roundHalfEven(double value) {
    const double rounded =
        std::nearbyint(value);  // default rounding mode: to nearest, ties to even
    if (!(rounded >= std::numeric_limits<std::int32_t>::min())) {
        return std::numeric_limits<std::int32_t>::min();  // also catches NaN
    }
    if (rounded > std::numeric_limits<std::int32_t>::max()) {
        return std::numeric_limits<std::int32_t>::max();
    }
    return static_cast<std::int32_t>(rounded);
}

// Rounds half to even and keeps the result inside the 16-bit range instead of wrapping.
inline std::int16_t roundHalfEven16(double value) {
    const std::int32_t rounded = roundHalfEven(value);
    if (rounded < std::numeric_limits<std::int16_t>::min()) {
        return std::numeric_limits<std::int16_t>::min();
    }
    if (rounded > std::numeric_limits<std::int16_t>::max()) {
        return std::numeric_limits<std::int16_t>::max();
    }
    return static_cast<std::int16_t>(rounded);
}

}  // namespace crinova
