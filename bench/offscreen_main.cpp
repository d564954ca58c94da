#include <benchmark/benchmark.h>
#include <QApplication>

// The benchmarks that paint, read pictures or open windows: an application on the offscreen
// platform, as the tests have.
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
