#include "printing/print_layouts.h"

#include <algorithm>

namespace crinova {

std::vector<TwipsRect> previewLayout(Arrangement arrangement) {
    auto at = [](std::initializer_list<std::pair<double, double>> places, double width,
                 double height) {
        std::vector<TwipsRect> rects;
        for (const auto& [left, top] : places) {
            rects.push_back({left, top, width, height});
        }
        return rects;
    };
    switch (arrangement) {
        case Arrangement::Una:
            return at({{120, 1110}}, 5000, 5415);
        case Arrangement::Dos:
            return at({{1250, 1110}, {1250, 4000}}, 2500, 2700);
        case Arrangement::Tres:
            return at({{100, 1110}, {3000, 1110}, {1500, 4000}}, 2500, 2600);
        case Arrangement::Cuatro:
            return at({{100, 1110}, {3000, 1110}, {100, 4000}, {3000, 4000}}, 2500, 2600);
        case Arrangement::Cinco:
            return at({{350, 1110}, {3000, 1110}, {1650, 3000}, {350, 4900}, {3000, 4900}}, 1600,
                      1700);
        case Arrangement::Seis:
            return at(
                {{350, 1110}, {3000, 1110}, {350, 3000}, {3000, 3000}, {350, 4900}, {3000, 4900}},
                1600, 1700);
    }
    return {};
}

bool offered(Arrangement arrangement, int storedPhotos) {
    const int perPage = static_cast<int>(arrangement);
    return storedPhotos >= 1 && storedPhotos % perPage == 0;
}

void PrintPreview::esconderfotos() {
    for (Image& image : fotos) {
        image.visible = false;
    }
}

void PrintPreview::desactivarfotos() {
    for (std::size_t i = 0; i < 6; ++i) {
        if (!fseleccion[i].isNull()) {
            cseleccion[i] = Check{};
        }
    }
}

void PrintPreview::build(Arrangement arrangement) {
    esconderfotos();
    if (arrangement == Arrangement::Una) {
        for (std::size_t i = 0; i < 6; ++i) {
            if (!fseleccion[i].isNull()) {
                cseleccion[i].enabled = true;
            }
        }
    } else {
        desactivarfotos();
    }
    const std::vector<TwipsRect> rects = previewLayout(arrangement);
    for (std::size_t i = 0; i < rects.size(); ++i) {
        fotos[i].rect = rects[i];
        fotos[i].visible = true;
    }
}

void PrintPreview::distort(double step) {
    for (Image& image : fotos) {
        if (!image.visible) {
            return;
        }
        double& dimension = altura ? image.rect.height : image.rect.width;
        dimension = std::max(dimension + step, std::min(dimension, kSmallestPreview));
    }
}

}  // namespace crinova
