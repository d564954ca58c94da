#pragma once

#include <QImage>
#include <QSize>
#include <vector>

#include "clients/visits.h"

class QListWidget;

namespace crinova {

// The size of one photo in a visit's strip of thumbnails.
inline constexpr QSize kVisitThumbnail{40, 30};

// The memory reading one thumbnail may take: a JPEG is reduced while it is decoded and takes little
// whatever its size; a bitmap is decoded whole, in its own pixel format, and one that would need
// more is left out.
inline constexpr int kThumbnailMemoryMb = 32;

// A visit's photos side by side, each scaled into `thumbnail` on black; a photo that cannot be read
// (or lies outside the clients' folder, or is not a plain file) leaves its place black.
QImage visitStrip(const ProgramFolder& folder, const Visit& visit, QSize thumbnail);

// The rows whose thumbnails are read ahead of the first row shown; the list shows fewer.
inline constexpr int kVisitRowsRead = 8;

// Lists the visits as given (newest first), each as its date and time, and selects the first one.
// Only the strips of thumbnails of the rows in view are read (showVisitStrips); a client with many
// visits is listed at once.
void fillVisitList(QListWidget* list, const ProgramFolder& folder,
                   const std::vector<Visit>& visits);

// Reads the strips of the rows from the first one in view on that have none yet (the list scrolls
// by rows, so its scroll bar's value is that row). `visits` are the ones listed.
void showVisitStrips(QListWidget* list, const ProgramFolder& folder,
                     const std::vector<Visit>& visits);

}  // namespace crinova
