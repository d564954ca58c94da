#pragma once

#include <QImage>
#include <array>
#include <vector>

namespace crinova {

// Photos per page, as the print dialog's options "Una" ... "Seis".
enum class Arrangement { Una = 1, Dos, Tres, Cuatro, Cinco, Seis };

// A rectangle in twips (1440 to the inch): Left, Top, Width, Height.
struct TwipsRect {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
    bool operator==(const TwipsRect&) const = default;
};

// Where an arrangement puts its preview images inside the preview page, in index order.
std::vector<TwipsRect> previewLayout(Arrangement arrangement);

// Whether an arrangement is offered for k stored photos: exactly the divisors of k ("Una" always).
bool offered(Arrangement arrangement, int storedPhotos);

// The print dialog's preview page and selection, in twips so that every 50-twip distortion reaches
// the paper exactly.
struct PrintPreview {
    struct Image {
        QImage picture;
        bool visible = false;
        TwipsRect rect;
    };
    struct Check {
        bool enabled = false;
        bool ticked = false;
    };
    std::array<Image, 6> fotos;        // preview images; stored photo j is fotos[j]
    std::array<QImage, 6> fseleccion;  // thumbnails of the selection column
    std::array<Check, 6> cseleccion;   // "Foto 1" ... "Foto 6"
    std::array<bool, 7> optionEnabled{false, true, false, false, false, false, false};  // by n
    Arrangement selected = Arrangement::Una;
    bool altura = true;  // "Altura" distorts the height, "Anchura" the width

    // Hides the six preview images.
    void esconderfotos();
    // Every check box of a stored photo disabled and unticked.
    void desactivarfotos();
    // Builds an arrangement: hides the previews, enables the check boxes of the stored photos for
    // "Una" (ticks kept) or disables them otherwise, then places and shows the arrangement's images
    // at their table sizes, dropping any distortion.
    void build(Arrangement arrangement);
    // "+" (step 50) or "-" (step -50): the chosen dimension of every shown preview image, in index
    // order until the first hidden one. A dimension never goes below 50 twips.
    void distort(double step);
};

inline constexpr double kDistortionStep = 50;
inline constexpr double kSmallestPreview = 50;

}  // namespace crinova
