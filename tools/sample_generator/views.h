#pragma once

#include <QImage>

#include "hair_styles.h"
#include "portrait.h"

namespace crinova::samples {

enum class Facing { Left, Right };

// Plain reference photos (300 x 320) of a style seen from the side and from behind.
QImage drawSideView(const HairStyle& style, Facing facing = Facing::Left,
                    const PersonLook& look = modelLook());
QImage drawNapeView(const HairStyle& style, const PersonLook& look = modelLook());

}  // namespace crinova::samples
