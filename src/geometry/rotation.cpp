#include "geometry/rotation.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "platform/raster.h"
#include "platform/rounding.h"

namespace crinova {
namespace {

constexpr double kPi = 3.14159265359;  // the program's own value of pi

// Qt's drawing code may leave the upper halves of the AVX registers dirty; libm's SSE code then
// pays a transition penalty on every call on some processors. Clearing them keeps the loop fast.
inline void clearUpperVectorState() {
#if defined(__x86_64__) || defined(__i386__)
    if (__builtin_cpu_supports("avx")) {
        __asm__ __volatile__("vzeroupper" ::: "memory");
    }
#endif
}

}  // namespace

double stepAngle(int degrees) {
    return kPi / (180.0 / degrees);
}

void RotarImagen(const Surface& origen, Surface& destino, double& giro,
                 const RotationProgress& observer) {
    const int width = roundHalfEven(origen.ScaleWidth());
    const int height = roundHalfEven(origen.ScaleHeight());
    const int cx = width / 2;
    const int cy = height / 2;
    const int radius = std::max(cx, cy) - 1;
    if (observer.status) {
        observer.status(QStringLiteral("ROTANDO IMAGEN"));
    }
    clearUpperVectorState();

    const QImage& source = origen.image();
    QImage& target = destino.image();
    const int sourceWidth = source.width();
    const int sourceHeight = source.height();
    const int targetWidth = target.width();
    const int targetHeight = target.height();
    const uchar* sourceBits = source.constBits();
    uchar* targetBits = target.bits();
    const qsizetype sourceStride = source.bytesPerLine();
    const qsizetype targetStride = target.bytesPerLine();
    auto read = [&](int x, int y, QRgb& colour) {
        if (x < 0 || y < 0 || x >= sourceWidth || y >= sourceHeight) {
            return false;  // CLR_INVALID: nothing to write
        }
        colour = reinterpret_cast<const QRgb*>(sourceBits + y * sourceStride)[x];
        return true;
    };
    auto write = [&](int x, int y, QRgb colour) {
        if (x >= 0 && y >= 0 && x < targetWidth && y < targetHeight) {
            reinterpret_cast<QRgb*>(targetBits + y * targetStride)[x] = colour;
        }
    };

    for (int a = 0; a <= radius; ++a) {
        for (int b = 0; b <= radius; ++b) {
            const float theta =
                a != 0 ? static_cast<float>(std::atan(double(b) / a)) : static_cast<float>(kPi / 2);
            const std::int32_t squared = a * a + b * b;
            const double r = roundHalfEven(std::sqrt(double(squared)));
            const double turned = double(theta) + giro;
            const int u = roundHalfEven16(r * std::cos(turned));
            const int v = roundHalfEven16(r * std::sin(turned));
            QRgb c1 = 0, c2 = 0, c3 = 0, c4 = 0;
            const bool has1 = read(cx + u, cy + v, c1);
            const bool has2 = read(cx - u, cy - v, c2);
            const bool has3 = read(cx + v, cy - u, c3);
            const bool has4 = read(cx - v, cy + u, c4);
            if (has1) {
                write(cx + a, cy + b, c1);
            }
            if (has2) {
                write(cx - a, cy - b, c2);
            }
            if (has3) {
                write(cx + b, cy - a, c3);
            }
            if (has4) {
                write(cx - b, cy + a, c4);
            }
        }
        if (observer.progress) {
            const double value = height > 1 ? a * 150.0 / (height - 1) : 0.0;
            observer.progress(std::clamp(roundHalfEven(value), 0, 100));
            clearUpperVectorState();
        }
    }
    destino.notifyChanged();
    if (observer.progress) {
        observer.progress(0);
    }
    if (observer.status) {
        observer.status(QStringLiteral("CRINOVA ACTIVO"));
    }
}

namespace {
bool turnWorkingPhoto(double step, OverlayState& state, RotationState& rotation,
                      PictureBuffers& buffers, CompositionServices& services,
                      const RotationProgress& observer);
}  // namespace

bool rotateStep(int index, int degrees, OverlayState& state, RotationState& rotation,
                PictureBuffers& buffers, CompositionServices& services,
                const RotationProgress& observer) {
    if (!state.pelocargado || degrees == 0) {
        return false;
    }
    const double step = stepAngle(degrees);
    return turnWorkingPhoto(index == 0 ? step : -step, state, rotation, buffers, services,
                            observer);
}

bool rotateAgain(OverlayState& state, RotationState& rotation, PictureBuffers& buffers,
                 CompositionServices& services) {
    return rotation.girado && turnWorkingPhoto(0, state, rotation, buffers, services, {});
}

namespace {

bool turnWorkingPhoto(double step, OverlayState& state, RotationState& rotation,
                      PictureBuffers& buffers, CompositionServices& services,
                      const RotationProgress& observer) {
    if (!loadWorkingPhoto(state, buffers.ftrabajo, services)) {
        return false;
    }
    rotation.angulototal += step;

    // The target starts as plain background, so corners with no source pixel are background.
    buffers.temporal2.Resize(buffers.ftrabajo.ScaleWidth(), buffers.ftrabajo.ScaleHeight());
    RotarImagen(buffers.ftrabajo, buffers.temporal2, rotation.angulototal, observer);
    BitBlt(buffers.ftrabajo, 0, 0, buffers.ftrabajo.ScaleWidth(), buffers.ftrabajo.ScaleHeight(),
           buffers.temporal2, 0, 0, SRCCOPY);
    state.angulo = 1;
    buffers.temporal2.Resize(buffers.fprincipal.ScaleWidth(), buffers.fprincipal.ScaleHeight());
    DibujarPelo(state, buffers, services);
    rotation.girado = true;
    return true;
}

}  // namespace

bool restoreRotation(OverlayState& state, RotationState& rotation, PictureBuffers& buffers,
                     CompositionServices& services) {
    if (!rotation.girado) {
        return false;
    }
    state.angulo = 0;
    DibujarPelo(state, buffers, services);
    rotation.angulototal = 0;
    rotation.girado = false;
    return true;
}

}  // namespace crinova
