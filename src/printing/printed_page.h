#pragma once

#include <QImage>
#include <QString>
#include <array>
#include <vector>

#include "platform/printer.h"
#include "printing/print_layouts.h"

namespace crinova {

// What one printing reads from the print dialog.
struct PrintJob {
    int numerofotos = 0;  // k, the stored photos
    Arrangement selected = Arrangement::Una;
    std::array<bool, 6> ticked{};  // "Foto 1" ... "Foto 6", read by "Una" only
    std::array<QImage, 6> photos;  // stored photo j
    QImage logo;
    double W0 = 0, H0 = 0, H1 = 0;  // preview sizes in twips: width and height of fotos(0),
                                    // height of fotos(1)
};

// One photo placed on a page: stored photo `photo` at `rect` (twips).
struct PlacedPhoto {
    int photo = 0;
    TwipsRect rect;
};

// Every page has the logo at (2000, 10) 7000 x 2000 and photos of width 2 x H0 and height 2.3 x W0.
inline constexpr TwipsRect kLogoRect{2000, 10, 7000, 2000};

// The pages a job prints, each as its photos in drawing order. An arrangement whose condition fails
// for k, or "Una" with nothing ticked, prints no page.
std::vector<std::vector<PlacedPhoto>> printedPages(const PrintJob& job);

// Prints the pages, one document each: the property set to 0 before the first page ("Una": before
// every page), the logo, the photos, the end of the document. Answers false, with the printer's
// Spanish reason in `error`, as soon as a document is refused; the pages after it are not sent.
bool printPages(const PrintJob& job, Printer& printer, QString* error);

}  // namespace crinova
