#pragma once

#include <QImage>
#include <QString>

#include <vector>

#include "hair_styles.h"

namespace crinova::samples {

// Photos look fine at 95; hair and mask pairs get 100 so black and white stay as pure as JPEG
// allows and the composition shows no stray dots.
inline constexpr int kPhotoQuality = 95;
inline constexpr int kOverlayQuality = 100;

// Writes atomically through QSaveFile, so an interrupted run never leaves half a picture behind.
bool writeJpeg(const QImage& image, const QString& path, int quality, QString* error);

bool writePng(const QImage& image, const QString& path, QString* error);

// Writes the program's icon as a freedesktop icon theme tree: <folder>/<N>x<N>/apps/crinova.png.
bool writeIcons(const QString& folder, QString* error);

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
