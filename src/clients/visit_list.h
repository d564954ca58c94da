#pragma once

#include <QImage>
#include <QSize>
#include <vector>

#include "clients/visits.h"

class QListWidget;

namespace crinova {

// The size of one photo in a visit's strip of thumbnails.
inline constexpr QSize kVisitThumbnail{40, 30};

// A visit's photos side by side, each scaled into `thumbnail` on black; a photo that cannot be read
// (or lies outside the clients' folder) leaves its place black.
QImage visitStrip(const ProgramFolder& folder, const Visit& visit, QSize thumbnail);

// Lists the visits as given (newest first), each as its date and time with its strip of
// thumbnails, and selects the first one.
void fillVisitList(QListWidget* list, const ProgramFolder& folder,
                   const std::vector<Visit>& visits);

}  // namespace crinova
