#pragma once

#include <QImage>

namespace crinova {

// The 32 x 32 pictures of the main window's picture buttons, drawn by the program itself.
QImage firstPageIcon();                    // btnpelos 0: back to the first page
QImage nextPageIcon();                     // btnpelos 1: next page
QImage rotateIcon(bool counterClockwise);  // btngirar 0 (counter-clockwise) and 1 (clockwise)

}  // namespace crinova
