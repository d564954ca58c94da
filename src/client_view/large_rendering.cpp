#include "client_view/large_rendering.h"

#include <QFileInfo>
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "overlay/blend.h"
#include "overlay/working_photo.h"
#include "platform/files.h"
#include "platform/rounding.h"
#include "program/folder_names.h"

namespace crinova {
namespace {

constexpr std::size_t kKeptPictures = 6;

cv::Mat viewOf(const QImage& picture) {
    return cv::Mat(picture.height(), picture.width(), CV_8UC4,
                   const_cast<uchar*>(picture.constBits()),
                   static_cast<std::size_t>(picture.bytesPerLine()));
}

cv::Mat viewOf(QImage& picture) {
    return cv::Mat(picture.height(), picture.width(), CV_8UC4, picture.bits(),
                   static_cast<std::size_t>(picture.bytesPerLine()));
}

cv::Mat viewOf8(const QImage& picture) {
    return cv::Mat(picture.height(), picture.width(), CV_8UC1,
                   const_cast<uchar*>(picture.constBits()),
                   static_cast<std::size_t>(picture.bytesPerLine()));
}

QImage whitePicture(QSize size) {
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(toPixel(kWindowBackground));
    return picture;
}

// A picture as a buffer of `size` holds it: at the top-left, white where it does not reach. A
// soft alpha (`alpha`, kept 8-bit grey) is 0 there: no hair.
QImage inBuffer(const QImage& picture, QSize size, bool alpha = false) {
    const QImage::Format format = alpha ? QImage::Format_Grayscale8 : QImage::Format_RGB32;
    const QImage source = picture.format() == format ? picture : picture.convertToFormat(format);
    if (source.size() == size) {
        return source;
    }
    QImage buffer(size, format);
    if (alpha) {
        buffer.fill(0);
    } else {
        buffer.fill(toPixel(kWindowBackground));
    }
    const auto bytes = std::size_t(std::min(size.width(), source.width())) * (alpha ? 1 : 4);
    for (int y = 0; y < std::min(size.height(), source.height()); ++y) {
        std::memcpy(buffer.scanLine(y), source.constScanLine(y), bytes);
    }
    return buffer;
}

QSize largeSize(QSize main) {
    return main * kLargeFactor;
}

}  // namespace

LargeLook largeLookOf(const OverlayState& overlay, double angulototal, QSize main,
                      const QString& clientPhoto, const ProgramFolder& folder) {
    LargeLook look;
    look.main = main;
    const bool client = overlay.clienteactivo && !clientPhoto.isEmpty();
    look.workingPhoto = workingPhotoFile(overlay, folder, clientPhoto);
    look.beforePhoto = client ? clientPhoto : folder.fullPath(kReferencePhoto);
    look.hair = folder.fullPath(overlay.ficheropelo);
    look.mask = folder.fullPath(overlay.ficheromascara);
    look.softAlpha = folder.fullPath(softAlphaName(overlay.ficheropelo));
    look.pelocargado = overlay.pelocargado;
    look.posxfoto = overlay.posxfoto;
    look.posyfoto = overlay.posyfoto;
    look.posxpelo = overlay.posxpelo;
    look.posypelo = overlay.posypelo;
    look.anchofoto = overlay.anchofoto;
    look.altofoto = overlay.altofoto;
    look.anchopelo = overlay.anchopelo;
    look.altopelo = overlay.altopelo;
    look.rotated = overlay.angulo != 0;
    look.angulototal = look.rotated ? angulototal : 0;
    look.difuminar = overlay.difuminar;
    look.colour = overlay.colorelegido;
    return look;
}

QString enlargedNote(const QString& path) {
    return QStringLiteral("«%1» no tiene versión grande: se muestra ampliada y menos nítida.")
        .arg(QFileInfo(path).fileName());
}

void LargeSources::note(const QString& text) {
    if (!notes_.contains(text)) {
        notes_ << text;
    }
}

QStringList LargeSources::takeNotes() {
    QStringList notes;
    notes.swap(notes_);
    return notes;
}

QImage LargeSources::large(const QString& path, QSize main, bool tellEnlarged) {
    const QString stamp = pictureStamp(path);
    if (stamp.isEmpty()) {
        note(QStringLiteral("No se puede leer «%1».").arg(QFileInfo(path).fileName()));
        return {};
    }
    for (auto it = kept_.begin(); it != kept_.end(); ++it) {
        if (it->path == path && it->stamp == stamp && it->main == main) {
            std::rotate(kept_.begin(), it, it + 1);
            if (!kept_.front().note.isEmpty()) {
                note(kept_.front().note);
            }
            return kept_.front().large;
        }
    }
    Kept kept{path, stamp, main, {}, {}};
    const QImage companion = loadLargeCompanion(path);
    if (!companion.isNull()) {
        kept.large = inBuffer(companion, largeSize(main));
    } else {
        const PictureLoad load = pictures_.load(path);
        if (!load.ok()) {
            note(pictureFaultMessage(load));
            return {};
        }
        kept.large = enlargedSmoothly(inBuffer(load.picture, main), kLargeFactor);
        const QStringList candidates = largeCompanionCandidates(path);
        if (tellEnlarged ||
            std::any_of(candidates.begin(), candidates.end(),
                        [](const QString& companion) { return fileExists(companion); })) {
            kept.note = enlargedNote(path);
            note(kept.note);
        }
    }
    kept_.insert(kept_.begin(), kept);
    if (kept_.size() > kKeptPictures) {
        kept_.pop_back();
    }
    return kept_.front().large;
}

const LargeSources::HairPlanes& LargeSources::hairPlanes(const LargeHair& hair, int box) {
    const qint64 mask = hair.mask.cacheKey();
    const qint64 colour = hair.hair.cacheKey();
    for (auto it = prepared_.begin(); it != prepared_.end(); ++it) {
        if (it->mask == mask && it->hair == colour && it->box == box) {
            std::rotate(prepared_.begin(), it, it + 1);
            return prepared_.front().planes;
        }
    }
    Prepared prepared{mask, colour, box, {}};
    QImage coverage = hair.softAlpha ? hair.mask.convertToFormat(QImage::Format_Grayscale8).copy()
                                     : QImage(hair.mask.size(), QImage::Format_Grayscale8);
    if (!hair.softAlpha) {
        const QImage maskPixels = hair.mask.convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < coverage.height(); ++y) {
            maskCoverageRow(reinterpret_cast<const QRgb*>(maskPixels.constScanLine(y)),
                            coverage.scanLine(y), coverage.width());
        }
    }
    cv::Mat cover = viewOf8(coverage);
    // Inner pixels (fully covered, and so is everything within two pixels) keep their colour;
    // the rest take the brightest colour within reach, which carries the hair's own colour over
    // its dark rim and out over its background as far as a soft edge reaches.
    cv::Mat full;
    cv::compare(cover, 255, full, cv::CMP_EQ);
    cv::erode(full, full, cv::Mat::ones(5, 5, CV_8U), cv::Point(-1, -1), 1, cv::BORDER_CONSTANT,
              cv::Scalar(255));
    prepared.planes.colour = hair.hair.convertToFormat(QImage::Format_RGB32).copy();
    cv::Mat own = viewOf(prepared.planes.colour);
    cv::Mat spread;
    const int reach = std::max(5, box + 2) | 1;
    cv::dilate(own, spread, cv::Mat::ones(reach, reach, CV_8U));
    cv::bitwise_not(full, full);
    spread.copyTo(own, full);
    if (box > 1) {
        cv::blur(cover, cover, cv::Size(box, box), cv::Point(-1, -1), cv::BORDER_REPLICATE);
    }
    const cv::Rect covered = cv::boundingRect(cover);
    prepared.planes.reach = QRect(covered.x, covered.y, covered.width, covered.height);
    prepared.planes.coverage = coverage;
    prepared_.insert(prepared_.begin(), prepared);
    if (prepared_.size() > 2) {
        prepared_.pop_back();
    }
    return prepared_.front().planes;
}

QImage LargeSources::placedPhoto(const QImage& photo, const LargeLook& look) {
    auto samePlace = [&](const LargeLook& a) {
        return a.main == look.main && a.pelocargado == look.pelocargado &&
               a.posxfoto == look.posxfoto && a.posyfoto == look.posyfoto &&
               a.anchofoto == look.anchofoto && a.altofoto == look.altofoto &&
               a.rotated == look.rotated && a.angulototal == look.angulototal;
    };
    for (auto it = placed_.begin(); it != placed_.end(); ++it) {
        if (it->photo == photo.cacheKey() && samePlace(it->look)) {
            std::rotate(placed_.begin(), it, it + 1);
            return placed_.front().picture;
        }
    }
    const QImage turned = look.rotated ? turnLarge(photo, look.angulototal, look.main) : photo;
    // Before any hair the screen shows the base photo as it is, at the top-left.
    const QImage picture =
        look.pelocargado ? composeLargePhoto(turned, look) : inBuffer(turned, largeSize(look.main));
    placed_.insert(placed_.begin(), Placed{photo.cacheKey(), look, picture});
    if (placed_.size() > 2) {
        placed_.pop_back();
    }
    return picture;
}

QImage LargeSources::softAlpha(const QString& path, QSize main) {
    const QImage alpha = alphaFiles_.softAlpha(path);
    if (alpha.isNull()) {
        return {};
    }
    if (alpha.cacheKey() != alphaKey_ || main != alphaMain_) {
        const QImage buffer = inBuffer(alpha, main, true);
        QImage large(largeSize(main), QImage::Format_Grayscale8);
        cv::Mat out(large.height(), large.width(), CV_8UC1, large.bits(),
                    static_cast<std::size_t>(large.bytesPerLine()));
        cv::resize(viewOf8(buffer), out, out.size(), 0, 0, cv::INTER_CUBIC);
        alphaKey_ = alpha.cacheKey();
        alphaMain_ = main;
        alphaLarge_ = large;
    }
    return alphaLarge_;
}

QImage LargeSources::recoloured(const LargeHair& hair, const HairColour& colour) {
    if (!colourStyle_ || hair.hair.cacheKey() != colourHair_ ||
        hair.mask.cacheKey() != colourMask_) {
        colourStyle_ =
            prepareHairColour(hair.hair, maskCoverages(hair.mask, hair.hair.size()), kLargeFactor);
        colourHair_ = hair.hair.cacheKey();
        colourMask_ = hair.mask.cacheKey();
        colourShown_.reset();
    }
    if (colourShown_ != colour) {
        colourLarge_ = recolourHair(hair.hair, *colourStyle_, colour);
        colourShown_ = colour;
    }
    return colourLarge_;
}

QImage withSmallChanges(const QImage& large, const QImage& plain, const QImage& changed) {
    if (large.isNull() || plain.size() != changed.size() || plain.isNull()) {
        return large;
    }
    const QImage before = plain.convertToFormat(QImage::Format_RGB32);
    const QImage after = changed.convertToFormat(QImage::Format_RGB32);
    cv::Mat differs(before.height(), before.width(), CV_8UC1);
    for (int y = 0; y < before.height(); ++y) {
        const auto* a = reinterpret_cast<const QRgb*>(before.constScanLine(y));
        const auto* b = reinterpret_cast<const QRgb*>(after.constScanLine(y));
        auto* out = differs.ptr<std::uint8_t>(y);
        for (int x = 0; x < before.width(); ++x) {
            out[x] = ((a[x] ^ b[x]) & 0xffffff) != 0 ? 255 : 0;
        }
    }
    // One small pixel of margin, so the enlarged edge blends into the sharp photo outside it.
    cv::dilate(differs, differs, cv::Mat());
    QImage result = large.convertToFormat(QImage::Format_RGB32);
    const cv::Size size(result.width(), result.height());
    cv::Mat alpha;
    cv::resize(differs, alpha, size, 0, 0, cv::INTER_LINEAR);
    const cv::Mat small(after.height(), after.width(), CV_8UC4, const_cast<uchar*>(after.bits()),
                        static_cast<std::size_t>(after.bytesPerLine()));
    cv::Mat enlarged;
    cv::resize(small, enlarged, size, 0, 0, cv::INTER_CUBIC);
    for (int y = 0; y < result.height(); ++y) {
        auto* out = reinterpret_cast<QRgb*>(result.scanLine(y));
        const auto* in = enlarged.ptr<QRgb>(y);
        const auto* weight = alpha.ptr<std::uint8_t>(y);
        for (int x = 0; x < result.width(); ++x) {
            const int w = weight[x];
            if (w == 0) {
                continue;
            }
            const auto mix = [w](int keep, int take) {
                return (keep * (255 - w) + take * w + 127) / 255;
            };
            out[x] = qRgb(mix(qRed(out[x]), qRed(in[x])), mix(qGreen(out[x]), qGreen(in[x])),
                          mix(qBlue(out[x]), qBlue(in[x])));
        }
    }
    return result;
}

LargeInputs defaultLargeInputs() {
    LargeInputs inputs;
    // No working photo file: the client's photo could not be opened, and the screen said so.
    inputs.workingPhoto = [](const LargeLook& look, LargeSources& sources) {
        if (look.workingPhoto.isEmpty()) {
            return QImage();
        }
        const QImage large = sources.large(look.workingPhoto, look.main);
        return look.ownHairChanged.isNull()
                   ? large
                   : withSmallChanges(large, look.ownHairPlain, look.ownHairChanged);
    };
    inputs.beforePhoto = [](const LargeLook& look, LargeSources& sources) {
        return sources.large(look.beforePhoto, look.main);
    };
    // A catalogue style has no companion: enlarged smoothly, which is no news for the stylist.
    // As in the composition, the colour goes by the mask, and soft edges by the style's own soft
    // alpha when it has one.
    inputs.hair = [](const LargeLook& look, LargeSources& sources) {
        LargeHair hair{sources.large(look.mask, look.main, false),
                       sources.large(look.hair, look.main, false)};
        if (look.colour && !hair.mask.isNull() && !hair.hair.isNull()) {
            hair.hair = sources.recoloured(hair, *look.colour);
        }
        if (look.difuminar) {
            const QImage alpha = sources.softAlpha(look.softAlpha, look.main);
            if (!alpha.isNull()) {
                hair.mask = alpha;
                hair.softAlpha = true;
            }
        }
        return hair;
    };
    return inputs;
}

QImage turnLarge(const QImage& photo, double angle, QSize main) {
    const QSize size = largeSize(main);
    QImage turned = whitePicture(size);
    const QImage source = inBuffer(photo, size);
    const int cx = main.width() / 2;
    const int cy = main.height() / 2;
    const int radius = std::max(cx, cy) - 1;
    // The screen turns about the centre of pixel (cx, cy); pixel centres sit at index + 0.5.
    const double centreX = kLargeFactor * (cx + 0.5) - 0.5;
    const double centreY = kLargeFactor * (cy + 0.5) - 0.5;
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    // Destination offset d takes the source at R(angle) d (y down).
    const cv::Matx23d map(c, -s, centreX - c * centreX + s * centreY,  //
                          s, c, centreY - s * centreX - c * centreY);
    const QRect written = QRect(kLargeFactor * (cx - radius), kLargeFactor * (cy - radius),
                                kLargeFactor * (2 * radius + 1), kLargeFactor * (2 * radius + 1)) &
                          QRect(QPoint(0, 0), size);
    if (written.isEmpty()) {
        return turned;
    }
    cv::Mat out =
        viewOf(turned)(cv::Rect(written.x(), written.y(), written.width(), written.height()));
    const cv::Matx23d shifted(
        map(0, 0), map(0, 1), map(0, 2) + map(0, 0) * written.x() + map(0, 1) * written.y(),
        map(1, 0), map(1, 1), map(1, 2) + map(1, 0) * written.x() + map(1, 1) * written.y());
    cv::warpAffine(viewOf(source), out, shifted, out.size(),
                   cv::INTER_LINEAR | cv::WARP_INVERSE_MAP, cv::BORDER_CONSTANT,
                   cv::Scalar(255, 255, 255, 255));
    return turned;
}

QImage composeLargePhoto(const QImage& photo, const LargeLook& look) {
    const QSize size = largeSize(look.main);
    QImage canvas = whitePicture(size);
    const int width = roundHalfEven(double(look.main.width()) + look.anchofoto);
    const int height = roundHalfEven(double(look.main.height()) + look.altofoto);
    if (width == 0 || height == 0 || photo.isNull()) {
        return canvas;
    }
    const QImage source = inBuffer(photo, size);
    const int x = kLargeFactor * look.posxfoto;
    const int y = kLargeFactor * look.posyfoto;
    const int drawnWidth = kLargeFactor * width;
    const int drawnHeight = kLargeFactor * height;
    const QRect drawn = QRect(QPoint(std::min(x, x + drawnWidth), std::min(y, y + drawnHeight)),
                              QSize(std::abs(drawnWidth), std::abs(drawnHeight))) &
                        QRect(QPoint(0, 0), size);
    if (drawn.isEmpty()) {
        return canvas;
    }
    // Destination pixel X shows the photo at (X + 0.5 - x) * photo / drawn - 0.5: a negative
    // extent runs the other way, which mirrors.
    const double sx = double(source.width()) / drawnWidth;
    const double sy = double(source.height()) / drawnHeight;
    const cv::Matx23d map(sx, 0, (drawn.x() + 0.5 - x) * sx - 0.5,  //
                          0, sy, (drawn.y() + 0.5 - y) * sy - 0.5);
    cv::Mat out = viewOf(canvas)(cv::Rect(drawn.x(), drawn.y(), drawn.width(), drawn.height()));
    cv::warpAffine(viewOf(source), out, map, out.size(), cv::INTER_LINEAR | cv::WARP_INVERSE_MAP,
                   cv::BORDER_REPLICATE);
    return canvas;
}

void composeLargeHair(QImage& canvas, const LargeHair& hair, const LargeLook& look,
                      LargeSources& sources) {
    const int width = roundHalfEven(double(look.main.width()) + look.anchopelo);
    const int height = roundHalfEven(double(look.main.height()) + look.altopelo);
    if (hair.mask.isNull() || hair.hair.isNull() || width == 0 || height == 0) {
        return;
    }
    int box = 1;
    if (look.difuminar) {
        // The screen feathers over a box of 2r + 1 drawn pixels: kLargeFactor times as many at
        // the large size, in the hair's own pixels.
        const int radius = featherRadius(look.main.width(), width);
        box = std::max(1, roundHalfEven(kLargeFactor * (2 * radius + 1) *
                                        double(look.main.width()) / std::abs(width))) |
              1;
    }
    const LargeSources::HairPlanes& planes =
        sources.hairPlanes(LargeHair{inBuffer(hair.mask, largeSize(look.main), hair.softAlpha),
                                     inBuffer(hair.hair, largeSize(look.main)), hair.softAlpha},
                           box);
    const int x = kLargeFactor * look.posxpelo;
    const int y = kLargeFactor * look.posypelo;
    const int drawnWidth = kLargeFactor * width;
    const int drawnHeight = kLargeFactor * height;
    const double sx = double(planes.colour.width()) / drawnWidth;
    const double sy = double(planes.colour.height()) / drawnHeight;
    // Only where the hair reaches: plane column u shows at x + (u + 0.5) / sx - 0.5.
    auto span = [](int at, double scale, int from, int to) {
        const double a = at + (from - 0.5) / scale - 0.5;
        const double b = at + (to + 1.5) / scale - 0.5;
        const int first = int(std::floor(std::min(a, b))) - 1;
        return std::pair(first, int(std::ceil(std::max(a, b))) + 2 - first);
    };
    const auto [left, columns] = span(x, sx, planes.reach.left(), planes.reach.right());
    const auto [top, rows] = span(y, sy, planes.reach.top(), planes.reach.bottom());
    const QRect drawn = QRect(QPoint(std::min(x, x + drawnWidth), std::min(y, y + drawnHeight)),
                              QSize(std::abs(drawnWidth), std::abs(drawnHeight))) &
                        canvas.rect() & QRect(left, top, columns, rows);
    if (drawn.isEmpty() || planes.reach.isEmpty()) {
        return;
    }
    const cv::Matx23d map(sx, 0, (drawn.x() + 0.5 - x) * sx - 0.5,  //
                          0, sy, (drawn.y() + 0.5 - y) * sy - 0.5);
    const cv::Size size(drawn.width(), drawn.height());
    cv::Mat coverage;
    cv::Mat colour;
    cv::warpAffine(viewOf8(planes.coverage), coverage, map, size,
                   cv::INTER_LINEAR | cv::WARP_INVERSE_MAP, cv::BORDER_CONSTANT, cv::Scalar(0));
    cv::warpAffine(viewOf(planes.colour), colour, map, size,
                   cv::INTER_LINEAR | cv::WARP_INVERSE_MAP, cv::BORDER_REPLICATE);
    for (int row = 0; row < drawn.height(); ++row) {
        const std::uint8_t* a = coverage.ptr<std::uint8_t>(row);
        const auto* paint = colour.ptr<QRgb>(row);
        QRgb* out = reinterpret_cast<QRgb*>(canvas.scanLine(drawn.y() + row)) + drawn.x();
        for (int k = 0; k < drawn.width(); ++k) {
            if (a[k] == 0) {
                continue;
            }
            if (a[k] == 255) {
                out[k] = paint[k] | 0xFF000000u;
                continue;
            }
            const QRgb p = out[k];
            const QRgb h = paint[k];
            out[k] =
                qRgb(blendChannel(qRed(p), qRed(h), a[k]), blendChannel(qGreen(p), qGreen(h), a[k]),
                     blendChannel(qBlue(p), qBlue(h), a[k]));
        }
    }
}

LargeRendering renderLarge(const LargeLook& look, const LargeInputs& inputs,
                           LargeSources& sources) {
    LargeRendering rendering;
    rendering.look = look;
    const QSize size = largeSize(look.main);
    auto placed = [&](const QImage& photo) {
        return sources.placedPhoto(photo.isNull() ? whitePicture(size) : photo, look);
    };
    rendering.ahora = placed(inputs.workingPhoto(look, sources));
    if (look.pelocargado) {
        composeLargeHair(rendering.ahora, inputs.hair(look, sources), look, sources);
    }
    if (look.withBefore) {
        rendering.antes = placed(inputs.beforePhoto(look, sources));
    }
    rendering.notes = sources.takeNotes();
    return rendering;
}

QImage enlargedSmoothly(const QImage& picture, int factor) {
    const QImage source = picture.convertToFormat(QImage::Format_RGB32);
    QImage large(source.size() * factor, QImage::Format_RGB32);
    if (!large.isNull()) {
        cv::Mat out = viewOf(large);
        cv::resize(viewOf(source), out, out.size(), 0, 0, cv::INTER_CUBIC);
    }
    return large;
}

QImage reducedTo(const QImage& picture, QSize size) {
    const QImage source = picture.convertToFormat(QImage::Format_RGB32);
    QImage reduced(size, QImage::Format_RGB32);
    cv::Mat out = viewOf(reduced);
    cv::resize(viewOf(source), out, out.size(), 0, 0, cv::INTER_AREA);
    return reduced;
}

}  // namespace crinova
