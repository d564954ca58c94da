// Writes the sample pictures of the program folder: crinova_sample_generator <output-folder>

#include <QGuiApplication>
#include <QStringList>

#include <cstdio>

#include "sample_catalogue.h"
#include "sample_database.h"
#include "sample_folder.h"

int main(int argc, char* argv[]) {
    // Fonts need a QGuiApplication; the offscreen platform lets it run without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    const QStringList arguments = QGuiApplication::arguments();
    if (arguments.size() != 2) {
        std::fprintf(stderr, "usage: crinova_sample_generator <output-folder>\n");
        return 1;
    }
    QString error;
    if (!crinova::samples::writeSampleFolder(arguments.at(1), &error) ||
        !crinova::samples::writeCatalogue(arguments.at(1), &error) ||
        !crinova::samples::writeSampleDatabase(arguments.at(1), &error)) {
        std::fprintf(stderr, "crinova_sample_generator: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
