// Our bitmap transfers against QPainter's raster operations and OpenCV on the same 300 x 320 frame,
// in one process: a mask ANDed then a hair XORed at 1:1, drawn at 2x and at 0.5x, and a plain copy
// against memcpy. After the runs, the ratios of the medians (and of the best runs) are printed, in
// real and in processor time; run with --benchmark_repetitions=9 or so.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#include <string>
#include <vector>

#include "platform/raster.h"

using namespace crinova;

namespace {

constexpr int kWidth = 300;
constexpr int kHeight = 320;

QImage patterned(int width, int height, quint32 seed) {
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < width; ++x) {
            line[x] = 0xFF000000u | ((x * 2654435761u + y * 40503u + seed) & 0x00FFFFFFu);
        }
    }
    return picture;
}

// A view of a picture's pixels, no copy.
cv::Mat matOf(QImage& picture) {
    return cv::Mat(picture.height(), picture.width(), CV_8UC4, picture.bits(),
                   static_cast<std::size_t>(picture.bytesPerLine()));
}

// The frame, and a mask and a hair at the size that draws them at the given scale over it.
struct Pictures {
    QImage frame = patterned(kWidth, kHeight, 1);
    QImage mask;
    QImage hair;
    explicit Pictures(double scale)
        : mask(patterned(int(kWidth / scale), int(kHeight / scale), 2)),
          hair(patterned(int(kWidth / scale), int(kHeight / scale), 3)) {}
};

void ours(benchmark::State& state, double scale) {
    Pictures p(scale);
    for (auto _ : state) {
        StretchBlt(p.frame, 0, 0, kWidth, kHeight, p.mask, 0, 0, p.mask.width(), p.mask.height(),
                   SRCAND);
        StretchBlt(p.frame, 0, 0, kWidth, kHeight, p.hair, 0, 0, p.hair.width(), p.hair.height(),
                   SRCINVERT);
        benchmark::DoNotOptimize(p.frame.constBits());
    }
}

void painter(benchmark::State& state, double scale) {
    Pictures p(scale);
    const QRect target(0, 0, kWidth, kHeight);
    for (auto _ : state) {
        QPainter painter(&p.frame);
        painter.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
        painter.drawImage(target, p.mask, p.mask.rect());
        painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        painter.drawImage(target, p.hair, p.hair.rect());
        painter.end();
        benchmark::DoNotOptimize(p.frame.constBits());
    }
}

void opencv(benchmark::State& state, double scale) {
    Pictures p(scale);
    cv::Mat frame = matOf(p.frame);
    const cv::Mat mask = matOf(p.mask);
    const cv::Mat hair = matOf(p.hair);
    cv::Mat resized;
    for (auto _ : state) {
        if (scale == 1.0) {
            cv::bitwise_and(frame, mask, frame);
            cv::bitwise_xor(frame, hair, frame);
        } else {
            cv::resize(mask, resized, frame.size(), 0, 0, cv::INTER_NEAREST);
            cv::bitwise_and(frame, resized, frame);
            cv::resize(hair, resized, frame.size(), 0, 0, cv::INTER_NEAREST);
            cv::bitwise_xor(frame, resized, frame);
        }
        benchmark::DoNotOptimize(p.frame.constBits());
    }
}

void copyOurs(benchmark::State& state) {
    QImage frame = patterned(kWidth, kHeight, 1);
    const QImage photo = patterned(kWidth, kHeight, 4);
    for (auto _ : state) {
        StretchBlt(frame, 0, 0, kWidth, kHeight, photo, 0, 0, kWidth, kHeight, SRCCOPY);
        benchmark::DoNotOptimize(frame.constBits());
    }
}

void copyMemcpy(benchmark::State& state) {
    QImage frame = patterned(kWidth, kHeight, 1);
    const QImage photo = patterned(kWidth, kHeight, 4);
    for (auto _ : state) {
        std::memcpy(frame.bits(), photo.constBits(), static_cast<std::size_t>(photo.sizeInBytes()));
        benchmark::DoNotOptimize(frame.constBits());
    }
}

// The console report, keeping each benchmark's times per iteration, real and processor, of every
// repetition (or the medians alone when only aggregates are reported).
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.error_occurred || run.iterations <= 0) {
                continue;
            }
            const bool repetition = run.run_type == Run::RT_Iteration;
            if (!repetition && run.aggregate_name != "median") {
                continue;
            }
            // Seconds over the iterations (for an aggregate, over the repetitions).
            const double per = 1e6 / double(run.iterations);
            Times& times = repetition ? runs_[run.run_name.function_name]
                                      : medians_[run.run_name.function_name];
            times.real.push_back(run.real_accumulated_time * per);
            times.cpu.push_back(run.cpu_accumulated_time * per);
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void printRatios() const {
        std::printf(
            "\nMicroseconds per frame, median [best] of the repetitions; real | processor\n");
        auto line = [this](const std::string& label, const std::string& a, const std::string& b) {
            const Times* ta = find(a);
            const Times* tb = find(b);
            if (ta == nullptr || tb == nullptr) {
                return;
            }
            std::printf(
                "  %-28s real %7.1f / %7.1f = %4.2f [%4.2f] | cpu %7.1f / %7.1f = %4.2f [%4.2f]\n",
                label.c_str(), median(ta->real), median(tb->real),
                median(ta->real) / median(tb->real), best(ta->real) / best(tb->real),
                median(ta->cpu), median(tb->cpu), median(ta->cpu) / median(tb->cpu),
                best(ta->cpu) / best(tb->cpu));
        };
        for (const char* scale : {"1:1", "2x", "0.5x"}) {
            const std::string base = std::string("AndXor/") + scale + "/";
            line(std::string("AND+XOR ") + scale + " ours/OpenCV", base + "ours", base + "opencv");
            line(std::string("AND+XOR ") + scale + " ours/QPainter", base + "ours",
                 base + "qpainter");
        }
        line("SRCCOPY 1:1 ours/memcpy", "Copy/1:1/ours", "Copy/1:1/memcpy");
    }

  private:
    struct Times {
        std::vector<double> real;
        std::vector<double> cpu;
    };
    const Times* find(const std::string& name) const {
        const auto run = runs_.find(name);
        if (run != runs_.end()) {
            return &run->second;
        }
        const auto aggregate = medians_.find(name);
        return aggregate != medians_.end() ? &aggregate->second : nullptr;
    }
    static double median(std::vector<double> values) {
        std::sort(values.begin(), values.end());
        const std::size_t n = values.size();
        return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    }
    static double best(const std::vector<double>& values) {
        return *std::min_element(values.begin(), values.end());
    }
    std::map<std::string, Times> runs_;
    std::map<std::string, Times> medians_;
};

}  // namespace

int main(int argc, char** argv) {
    const std::pair<const char*, double> scales[] = {{"1:1", 1.0}, {"2x", 2.0}, {"0.5x", 0.5}};
    for (const auto& [name, scale] : scales) {
        const std::string base = std::string("AndXor/") + name + "/";
        const double s = scale;
        benchmark::RegisterBenchmark((base + "ours").c_str(), [s](benchmark::State& st) {
            ours(st, s);
        })->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark((base + "qpainter").c_str(), [s](benchmark::State& st) {
            painter(st, s);
        })->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark((base + "opencv").c_str(), [s](benchmark::State& st) {
            opencv(st, s);
        })->Unit(benchmark::kMicrosecond);
    }
    benchmark::RegisterBenchmark("Copy/1:1/ours", copyOurs)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("Copy/1:1/memcpy", copyMemcpy)->Unit(benchmark::kMicrosecond);

    // Our transfers run on one thread, as the window draws; OpenCV's would spread over the cores
    // and, on a shared machine, measure the neighbours' load as much as the work.
    cv::setNumThreads(0);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatios();
    benchmark::Shutdown();
    return 0;
}
