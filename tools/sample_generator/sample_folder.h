#pragma once

#include <QString>

#include <vector>

#include "hair_styles.h"

namespace crinova::samples {

struct SampleStyle {
    HairStyle style;
    bool sideView = false;  // also writes peloNl.jpg
    bool napeView = false;  // also writes peloNn.jpg
};

// The six styles of the sample folder, pelo1 ... pelo6.
std::vector<SampleStyle> sampleStyles();

// Writes every sample picture into `folder`, creating folders as needed. Each file is written
// atomically, so an interrupted run never leaves half a picture behind.
bool writeSampleFolder(const QString& folder, QString* error);

}  // namespace crinova::samples
