#include <benchmark/benchmark.h>

#include "../tests/face/astronaut_frames.h"
#include "face/framing_guide.h"
#include "face/photo_preparation.h"
#include "platform/camera_frames.h"

using namespace crinova;

namespace {

// The sample model's eyes on the main picture, which the guide and the preparation aim at.
const EyeTarget kTarget{QSize(300, 320), EyePair{QPointF(124, 146), QPointF(176, 146)}};

// The astronaut framed as the guide asks on a picture of `size`: her eyes on the marks.
QImage framedAstronaut(QSize size) {
    const QImage portrait = test::astronaut();
    if (portrait.isNull()) {
        return {};
    }
    const FramingGuide guide = framingGuide(size, kTarget);
    return test::astronautFrame(portrait, size, (guide.marks.left + guide.marks.right) / 2.0,
                                guide.marks.right.x() - guide.marks.left.x());
}

}  // namespace

// The guide's reading of one live 640 x 480 frame, as the camera window's worker makes it: the
// reduced copy, the exposure, the eyes and the forehead. arg 0: the astronaut on the marks;
// arg 1: nobody in front of the camera (the face search finds nothing and stops).
static void GuideReading640x480(benchmark::State& state) {
    QImage frame(640, 480, QImage::Format_RGB32);
    frame.fill(QColor(0x80, 0x80, 0x80));
    if (state.range(0) == 0) {
        frame = framedAstronaut(frame.size());
    }
    if (frame.isNull()) {
        state.SkipWithError("python3-skimage could not be downloaded");
        return;
    }
    FaceCascades cascades;
    cascades.load(kHaarCascadeFolder);
    for (auto _ : state) {
        const FrameReading reading = readFrame(frame, cascades);
        if (state.range(0) == 0 && !reading.eyes) {
            state.SkipWithError("no eyes found");
            break;
        }
        benchmark::DoNotOptimize(reading);
    }
}
// The machine is shared: the processor time of all threads (OpenCV searches on several) says more
// than the wall clock while others build.
BENCHMARK(GuideReading640x480)
    ->Arg(0)
    ->Arg(1)
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond);

// A 12-megapixel still (4000 x 3000, decoded, as the camera hands it over) to the prepared photo
// the camera window shows and the client dialog stores.
static void StillToPreparedPhoto12MP(benchmark::State& state) {
    const QImage still = framedAstronaut(QSize(4000, 3000));
    if (still.isNull()) {
        state.SkipWithError("python3-skimage could not be downloaded");
        return;
    }
    FaceCascades cascades;
    cascades.load(kHaarCascadeFolder);
    for (auto _ : state) {
        const PreparedPhoto prepared = preparePhoto(still, kTarget.eyes, kTarget.picture, cascades);
        if (!prepared.faceFound) {
            state.SkipWithError("no face found");
            break;
        }
        benchmark::DoNotOptimize(prepared.picture.constBits());
    }
}
BENCHMARK(StillToPreparedPhoto12MP)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

// The other half of a still's road: a 12-megapixel YUYV frame, as a camera streams it, converted to
// the RGB32 picture that is prepared (on the window's thread, before the preparation).
static void StillFrameConversion12MP(benchmark::State& state) {
    const QSize size(4000, 3000);
    std::vector<uchar> yuyv(std::size_t(size.width()) * size.height() * 2);
    for (std::size_t i = 0; i < yuyv.size(); ++i) {
        yuyv[i] = uchar(i * 7);
    }
    FramePlanes planes;
    planes.data[0] = yuyv.data();
    planes.bytesPerLine[0] = size.width() * 2;
    for (auto _ : state) {
        const QImage image = frameToImage(FrameLayout::Yuyv, size, planes);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(StillFrameConversion12MP)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);
