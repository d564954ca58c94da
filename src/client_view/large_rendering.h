#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "overlay/blend.h"
#include "overlay/hair_colour.h"
#include "overlay/overlay_state.h"
#include "platform/files.h"
#include "platform/pictures.h"
#include "program/large_companions.h"

namespace crinova {

// The look on the main picture, as the large rendering needs it: the overlay state and the
// files, all read on the window's thread, so that the rendering can run on a thread of its own.
// Paths are full paths.
struct LargeLook {
    QSize main;            // the main picture's size (the screen's composition)
    QString workingPhoto;  // the unrotated working photo's file, as the composition loads it
    QString beforePhoto;   // the photo "before": the reference photo, or the client's own
    QString hair;          // ficheropelo
    QString mask;          // ficheromascara
    QString softAlpha;     // the style's own soft alpha ("<hair>a.png"), used with soft edges
    bool pelocargado = false;
    std::int16_t posxfoto = 0;
    std::int16_t posyfoto = 0;
    std::int16_t posxpelo = 0;
    std::int16_t posypelo = 0;
    std::int16_t anchofoto = 0;
    std::int16_t altofoto = 0;
    std::int16_t anchopelo = 0;
    std::int16_t altopelo = 0;
    bool rotated = false;              // the working photo is turned (angulo not 0)
    double angulototal = 0;            // radians, counter-clockwise on screen, as RotarImagen turns
    bool difuminar = false;            // soft edges
    std::optional<HairColour> colour;  // colorelegido
    bool withBefore = false;           // also render the photo "before"
    // The working photo at its own small size as loaded (`ownHairPlain`) and with the client's own
    // hair hidden or recoloured (`ownHairChanged`), as the composition uses it; both empty when
    // neither is on. The large photo takes the changed pixels, enlarged, where the two differ.
    QImage ownHairPlain;
    QImage ownHairChanged;

    friend bool operator==(const LargeLook&, const LargeLook&) = default;
};

// The look from the overlay state: positions and sizes as they are, the files made full paths.
// The working photo is the one the composition loads (workingPhotoFile; `clientPhoto` is the
// active client's, a full path); "before" is the client's own photo while a client is active,
// otherwise the reference photo.
LargeLook largeLookOf(const OverlayState& overlay, double angulototal, QSize main,
                      const QString& clientPhoto, const ProgramFolder& folder);

// `large` (the working photo at the large size) with the pixels where `changed` differs from
// `plain` (both at the small size) taken from `changed`, enlarged smoothly, with a soft edge of
// one small pixel; everywhere else `large` stays as sharp as it is.
QImage withSmallChanges(const QImage& large, const QImage& plain, const QImage& changed);

// The hair at the large size as the composition's temporal1 would hold it kLargeFactor times
// larger: each picture at the top-left corner of a buffer of kLargeFactor x the main size, white
// where it does not reach.
struct LargeHair {
    QImage mask;  // black where the hair is, white elsewhere; grey for a soft edge
    QImage hair;  // the hair on black
    // `mask` is a soft alpha instead (8-bit grey): the coverage itself, 0 where it does not reach.
    bool softAlpha = false;
};

// Where the providers read pictures and leave their notes. Lives on the rendering thread; a
// provider never reaches anything else, so that it can run there.
class LargeSources {
  public:
    // The large version of a picture as it stands in a buffer of `main` size: its companion when
    // it has one that fits (loadLargeCompanion), otherwise the picture itself enlarged smoothly
    // (bicubic), with a note for the stylist when `tellEnlarged` or when a companion is there but
    // does not fit (damaged, or made for other bytes). Null, with a note, when the picture cannot
    // be read.
    QImage large(const QString& path, QSize main, bool tellEnlarged = true);

    // Notes for the stylist (a picture enlarged, a file unreadable), each told once per
    // rendering.
    void note(const QString& text);
    QStringList takeNotes();

    // The hair ready to be drawn: the coverage of each pixel (maskCoverage, 0 to 255; feathered
    // by a box of `box` pixels when `box` > 1) and the colour to paint, the hair's own inside the
    // silhouette and the brightest colour within reach at its rim and around it, so that neither
    // the hair's dark rim nor its black background shows through a smooth edge. Kept while the
    // same pictures are asked for again.
    struct HairPlanes {
        QImage coverage;  // Grayscale8
        QImage colour;    // RGB32
        QRect reach;      // where the coverage is not 0
    };
    const HairPlanes& hairPlanes(const LargeHair& hair, int box);

    // The photo step (turned while the look's photo is, then placed by composeLargePhoto; before
    // any hair, as it is): kept, so that a look whose photo did not move is not placed again.
    QImage placedPhoto(const QImage& photo, const LargeLook& look);

    // A style's soft alpha at the large size (8-bit grey, kLargeFactor x `main`): the file as the
    // composition takes it with soft edges (BlendCache::softAlpha; null when there is none), in a
    // buffer of `main` size with no hair where it does not reach, enlarged smoothly. Kept while
    // the file's bytes are the same.
    QImage softAlpha(const QString& path, QSize main);

    // The large hair in `colour`, recoloured as the composition recolours the screen's (its mask
    // tells which pixels are hair), the strands' streaks drawn for the large size. Kept while
    // hair, mask and colour are the same.
    QImage recoloured(const LargeHair& hair, const HairColour& colour);

  private:
    struct Kept {
        QString path;
        QString stamp;
        QSize main;
        QImage large;
        QString note;  // told at every rendering that uses it
    };
    struct Prepared {
        qint64 mask = 0;
        qint64 hair = 0;
        int box = 0;
        HairPlanes planes;
    };
    PictureCache pictures_{8};
    std::vector<Kept> kept_;          // the last few large pictures, by the stamp of their file
    std::vector<Prepared> prepared_;  // the last few hairs made ready, most recent first
    struct Placed {
        qint64 photo = 0;
        LargeLook look;
        QImage picture;
    };
    std::vector<Placed> placed_;
    QStringList notes_;
    BlendCache alphaFiles_;
    qint64 alphaKey_ = 0;
    QSize alphaMain_;
    QImage alphaLarge_;
    qint64 colourHair_ = 0;
    qint64 colourMask_ = 0;
    std::optional<HairColourStyle> colourStyle_;
    std::optional<HairColour> colourShown_;
    QImage colourLarge_;
};

// The note when a picture has no sharp large version.
QString enlargedNote(const QString& path);

// The inputs of the large rendering, each a small provider that others can wrap. Providers run on
// the rendering thread: they must only read their arguments.
struct LargeInputs {
    // The unrotated working photo (kLargeFactor x the main size).
    std::function<QImage(const LargeLook&, LargeSources&)> workingPhoto;
    // The photo shown "before" (kLargeFactor x the main size, unrotated).
    std::function<QImage(const LargeLook&, LargeSources&)> beforePhoto;
    std::function<LargeHair(const LargeLook&, LargeSources&)> hair;
};

// The providers of the pictures the program has now: companions where they exist, smooth
// enlargements otherwise. The hair is recoloured while the look has a colour, and with soft edges
// a style's own soft alpha takes the place of its mask, as in the composition.
LargeInputs defaultLargeInputs();

// The photo turned as RotarImagen turns the screen's, at the large size: about the centre of the
// screen's pixel (W \ 2, H \ 2) scaled up, by `angle` radians, counter-clockwise on screen for a
// positive angle, interpolated bilinearly; pixels whose source lies outside the photo, and those
// the screen's turn never writes (outside the square of half-side max(W \ 2, H \ 2) - 1 about
// the centre), are white.
QImage turnLarge(const QImage& photo, double angle, QSize main);

// The photo step of the composition at the large size: `photo` (kLargeFactor x the main size)
// stretched to kLargeFactor x (W + anchofoto) by kLargeFactor x (H + altofoto) at
// kLargeFactor x (posxfoto, posyfoto) over a white picture of kLargeFactor x the main size,
// bilinearly, a negative extent mirroring as on the screen.
QImage composeLargePhoto(const QImage& photo, const LargeLook& look);

// The hair step at the large size: the hair's planes (LargeSources::hairPlanes) stretched
// bilinearly to kLargeFactor x its drawn size at kLargeFactor x its position, a negative extent
// mirroring, and blended in: photo * (1 - a) + colour * a. The edge is smooth; with `difuminar`
// it is feathered as widely, for its size, as the screen's soft edge.
void composeLargeHair(QImage& canvas, const LargeHair& hair, const LargeLook& look,
                      LargeSources& sources);

struct LargeRendering {
    LargeLook look;
    QImage ahora;  // the look, kLargeFactor x the main size
    QImage antes;  // the photo "before" placed as the look's photo; null unless asked for
    QStringList notes;
};

// The look rendered large: the working photo (turned while the screen's is), the photo step and
// the hair step. Before any hair is applied it is the working photo alone, as the screen shows
// it.
LargeRendering renderLarge(const LargeLook& look, const LargeInputs& inputs, LargeSources& sources);

// `picture` enlarged `factor` times smoothly (bicubic), never by repeating pixels.
QImage enlargedSmoothly(const QImage& picture, int factor);

// A large picture reduced to `size` by area averaging: how a large picture is compared with the
// screen's.
QImage reducedTo(const QImage& picture, QSize size);

}  // namespace crinova
