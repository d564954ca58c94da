#include <benchmark/benchmark.h>
#include <QTemporaryDir>

#include "debian_photo.h"
#include "face/photo_preparation.h"
#include "real_hair.h"
#include "segmentation/own_hair_photos.h"

using namespace crinova;
using namespace crinova::test;

namespace {

// A client's working photo as the program keeps it: the real photo (0 the astronaut, 1 the man
// before foliage) prepared to the model's eyes at 300 x 320; null when its package cannot be had.
QImage workingPhoto(int which) {
    const QString path = debianPackageFile(QStringLiteral(CRINOVA_DEBIAN_PHOTOS),
                                           which == 0 ? kAstronautPackage : kManPackage,
                                           which == 0 ? kAstronautFile : kManFile);
    const QImage photo = QImage(path).convertToFormat(QImage::Format_RGB32);
    const EyeSearch search = findEyesReduced(photo);
    return search.eyes ? preparePhotoAt(photo, *search.eyes, modelEyes(), kStyleSize).picture
                       : QImage();
}

// Its own hair selected, ready to hide.
struct Selected {
    OwnHair own;
    bool ready = false;
    explicit Selected(int which) {
        const QImage photo = workingPhoto(which);
        if (!photo.isNull()) {
            own.start(AlignedPhoto{photo, modelEyes(), {}, {}});
            ready = own.hairFound();
        }
    }
};

}  // namespace

// The region and the fill, once the hair is selected.
static void HideAfterSelection(benchmark::State& state) {
    Selected selected(int(state.range(0)));
    if (!selected.ready) {
        state.SkipWithError("no hair selected");
        return;
    }
    for (auto _ : state) {
        selected.own.update();
        benchmark::DoNotOptimize(selected.own.hidden().constBits());
    }
}
BENCHMARK(HideAfterSelection)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

// From the prepared photo to the hidden one, as "Ocultar Pelo Propio" does it the first time:
// the checksum, the eyes, the selection, the region, the fill and the PNG kept beside the photo.
static void PreparedPhotoToHidden(benchmark::State& state) {
    const QImage photo = workingPhoto(int(state.range(0)));
    if (photo.isNull()) {
        state.SkipWithError("no photo");
        return;
    }
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("1.jpg"));
    for (auto _ : state) {
        OwnHairPhotos photos;
        photos.setPreparedEyes([](const QString&, QSize) { return std::optional(modelEyes()); });
        benchmark::DoNotOptimize(photos.hidden(path, photo).constBits());
        state.PauseTiming();
        QFile::remove(OwnHairPhotos::storedName(path));
        state.ResumeTiming();
    }
}
BENCHMARK(PreparedPhotoToHidden)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

// One correction stroke: the selection cut again, the region and the fill (then taken back,
// untimed).
static void CorrectionStroke(benchmark::State& state) {
    Selected selected(int(state.range(0)));
    if (!selected.ready) {
        state.SkipWithError("no hair selected");
        return;
    }
    const Stroke strokes[] = {{false, 4, {{60, 60}, {80, 70}, {100, 80}}},
                              {true, 4, {{150, 40}, {160, 45}}}};
    int i = 0;
    for (auto _ : state) {
        selected.own.selection().addStroke(strokes[i++ % 2]);
        selected.own.update();
        state.PauseTiming();
        selected.own.selection().undo();
        state.ResumeTiming();
    }
}
BENCHMARK(CorrectionStroke)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
