#include <benchmark/benchmark.h>
#include <QPainter>
#include <QTemporaryDir>

#include "catalogue/own_styles.h"
#include "debian_photo.h"
#include "face/photo_preparation.h"
#include "portrait.h"
#include "segmentation/hair_selection.h"
#include "segmentation/soft_edge.h"

using namespace crinova;
namespace samples = crinova::samples;

namespace {

EyePair modelEyes() {
    const auto [left, right] = samples::pupilCentres(samples::fittedFrame(kStyleSize));
    return {left, right};
}

// The astronaut of python3-skimage (the generator's model when it cannot be had), as a
// 16-megapixel camera JPEG: 4608 x 3456.
struct CameraPhoto {
    QTemporaryDir folder;
    QString path;
    CameraPhoto() {
        const QString astronaut = test::debianPackageFile(
            QStringLiteral(CRINOVA_DEBIAN_PHOTOS), QStringLiteral("python3-skimage"),
            QStringLiteral("/usr/lib/python3/dist-packages/skimage/data/astronaut.png"));
        const QImage portrait = astronaut.isEmpty()
                                    ? samples::drawPortrait(samples::PortraitKind::Reference)
                                    : QImage(astronaut);
        QImage photo(4608, 3456, QImage::Format_RGB32);
        photo.fill(qRgb(0xc8, 0xc4, 0xc8));
        QPainter painter(&photo);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        const QSize size = portrait.size().scaled(photo.size(), Qt::KeepAspectRatio);
        painter.drawImage(QRect(QPoint((photo.width() - size.width()) / 2, 0), size), portrait);
        painter.end();
        path = folder.filePath(QStringLiteral("camara.jpg"));
        photo.save(path, "jpg", 92);
    }
};

CameraPhoto& cameraPhoto() {
    static CameraPhoto photo;
    return photo;
}

QImage modelPhoto() {
    return samples::drawPortrait(samples::PortraitKind::Base);
}

// The astronaut's selection, ready for strokes.
struct Selected {
    HairSelection selection;
    bool ready = false;
    Selected() {
        const SourcePhoto photo = loadSourcePhoto(cameraPhoto().path);
        const EyeSearch search = findEyesReduced(photo.picture);
        if (search.eyes) {
            selection.start(alignPhoto(photo.picture, *search.eyes, modelEyes(), kStyleSize));
            ready = selection.started();
        }
    }
};

}  // namespace

// The whole automatic selection of a 16-megapixel photo, from the file to the preview: decoding,
// the eyes, the frame, the cut, the soft edge and the hair laid on the model.
static void PhotoToPreview16MP(benchmark::State& state) {
    const QString path = cameraPhoto().path;
    const QImage model = modelPhoto();
    for (auto _ : state) {
        const SourcePhoto photo = loadSourcePhoto(path);
        const EyeSearch search = findEyesReduced(photo.picture);
        if (!search.eyes) {
            state.SkipWithError("no eyes found");
            break;
        }
        HairSelection selection;
        selection.start(alignPhoto(photo.picture, *search.eyes, modelEyes(), kStyleSize));
        const QImage preview = layOver(model, selection.colour(), selection.alpha());
        benchmark::DoNotOptimize(preview.constBits());
    }
}
BENCHMARK(PhotoToPreview16MP)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

// One stroke and the selection, soft edge and colours recomputed (then taken back, untimed).
static void OneStroke(benchmark::State& state) {
    Selected selected;
    if (!selected.ready) {
        state.SkipWithError("no selection");
        return;
    }
    const crinova::Stroke strokes[] = {{false, 4, {{60, 60}, {80, 70}, {100, 80}}},
                                       {true, 4, {{150, 90}, {160, 95}}}};
    int i = 0;
    for (auto _ : state) {
        selected.selection.addStroke(strokes[i++ % 2]);
        state.PauseTiming();
        selected.selection.undo();
        state.ResumeTiming();
    }
}
BENCHMARK(OneStroke)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

// The preview: the selected hair laid softly on the model photo.
static void Preview(benchmark::State& state) {
    Selected selected;
    if (!selected.ready) {
        state.SkipWithError("no selection");
        return;
    }
    const QImage model = modelPhoto();
    const QImage colour = selected.selection.colour();
    const QImage alpha = selected.selection.alpha();
    for (auto _ : state) {
        const QImage preview = layOver(model, colour, alpha);
        benchmark::DoNotOptimize(preview.constBits());
    }
}
BENCHMARK(Preview)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();
