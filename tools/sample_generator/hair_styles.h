#pragma once

#include <QColor>
#include <QImage>
#include <QSize>
#include <QTransform>

#include <cstdint>

#include "face_geometry.h"
#include "hair_render.h"

namespace crinova::samples {

enum class Person { Woman, Man, Child };
enum class Length { Short, Medium, Long };
enum class Texture { Straight, Wavy, Curly, Highlights, UpDo };
enum class Parting { Left, Centre, Right };  // as seen in the picture

// A parametric hair style; a catalogue is a list of these.
struct HairStyle {
    Person person = Person::Woman;
    Length length = Length::Medium;
    Texture texture = Texture::Straight;
    QColor colour{0x5a, 0x3b, 0x26};
    QColor highlight;  // streak colour; invalid: none, or a lighter shade for Texture::Highlights
    bool fringe = false;
    Parting parting = Parting::Left;
    double volume = 0.5;     // 0 sleek .. 1 full
    std::uint32_t seed = 1;  // varies the strand pattern between otherwise equal styles
};

// The pair the program composes as (photo AND mask) XOR hair.
struct HairPictures {
    QImage hair;  // hair on pure black
    QImage mask;  // pure black wherever the hair has any coverage, pure white elsewhere
};

HairPictures drawHairStyle(const HairStyle& style);

// The style on a transparent layer (premultiplied ARGB) in the front frame; `transform` maps the
// 300 x 320 frame onto a picture of `size`, so portraits of other sizes can wear it too.
QImage drawHairLayer(const HairStyle& style, QSize size = frameSize(),
                     const QTransform& transform = QTransform());

HairPictures splitHairLayer(const QImage& layer);

// Shared with the side and nape views, so each style has the same volume from every angle.
struct HairProportions {
    double bottomY = 262.0;  // where the longest hair ends
    double growTop = 10.0;   // thickness over the crown
    double growSide = 8.0;   // thickness beside the temples
    double flare = 10.0;     // extra width gained towards the ends
};

HairProportions hairProportions(const HairStyle& style);
bool isCrop(const HairStyle& style);  // a man's short cut, clear of the ears
TextureLook textureLook(const HairStyle& style);
HairPalette hairPalette(const HairStyle& style);
// Shine round the crown at `centre`; `radius` is that of the hair's outline there.
HairLight hairLight(const HairStyle& style, const QPointF& centre, double radius);

}  // namespace crinova::samples
