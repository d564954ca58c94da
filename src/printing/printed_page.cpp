#include "printing/printed_page.h"

namespace crinova {

std::vector<std::vector<PlacedPhoto>> printedPages(const PrintJob& job) {
    const int k = job.numerofotos;
    const double width = 2 * job.H0;
    const double height = 2.3 * job.W0;
    auto photo = [&](int p, double x, double y) { return PlacedPhoto{p, {x, y, width, height}}; };
    const double W0 = job.W0;
    const double H0 = job.H0;
    const double H1 = job.H1;
    std::vector<std::vector<PlacedPhoto>> pages;

    switch (job.selected) {
        case Arrangement::Una:
            for (int i = 1; i <= k && i <= 6; ++i) {
                if (job.ticked[static_cast<std::size_t>(i - 1)]) {
                    pages.push_back({photo(i - 1, 100, 2200)});
                }
            }
            break;
        case Arrangement::Dos:
            if (k == 2 || k == 4 || k == 6) {
                for (int m = 0; m < k / 2; ++m) {
                    pages.push_back({photo(2 * m, 3000, 2200), photo(2 * m + 1, 3000, 4 * W0)});
                }
            }
            break;
        case Arrangement::Tres:
            if (k == 3 || k == 6) {
                for (int m = 0; m < k / 3; ++m) {
                    pages.push_back({photo(3 * m, 100, 2200), photo(3 * m + 1, 2.3 * H1, 2200),
                                     photo(3 * m + 2, 3000, 3.5 * W0)});
                }
            }
            break;
        case Arrangement::Cuatro:
            pages.push_back({photo(0, 100, 2200), photo(1, 2.3 * H1, 2200), photo(2, 100, 3.5 * W0),
                             photo(3, 2.3 * H1, 3.5 * W0)});
            break;
        case Arrangement::Cinco:
            pages.push_back({photo(0, 1500, 2200), photo(1, 2.8 * H1 + 1500, 2200),
                             photo(2, 4000, 4.3 * W0), photo(3, 1500, 6.8 * W0),
                             photo(4, 2.8 * H0 + 1500, 7 * W0)});
            break;
        case Arrangement::Seis:
            pages.push_back({photo(0, 1500, 2200), photo(1, 2.8 * H1 + 1500, 2200),
                             photo(2, 1500, 4.3 * W0), photo(3, 2.8 * H1 + 1500, 4.3 * W0),
                             photo(4, 1500, 7 * W0), photo(5, 2.8 * H0 + 1500, 7 * W0)});
            break;
    }
    return pages;
}

bool printPages(const PrintJob& job, Printer& printer, QString* error) {
    const std::vector<std::vector<PlacedPhoto>> pages = printedPages(job);
    bool propertySet = false;
    for (const std::vector<PlacedPhoto>& page : pages) {
        if (job.selected == Arrangement::Una || !propertySet) {
            printer.SetProperty(0);
            propertySet = true;
        }
        printer.PaintPicture(job.logo, kLogoRect.left, kLogoRect.top, kLogoRect.width,
                             kLogoRect.height);
        for (const PlacedPhoto& placed : page) {
            printer.PaintPicture(job.photos[static_cast<std::size_t>(placed.photo)],
                                 placed.rect.left, placed.rect.top, placed.rect.width,
                                 placed.rect.height);
        }
        if (!printer.EndDoc()) {
            if (error) {
                *error = printer.lastError();
            }
            return false;
        }
    }
    return true;
}

}  // namespace crinova
