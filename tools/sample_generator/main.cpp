// Writes the sample pictures of the program folder: crinova_sample_generator <output-folder>
// or the program's icon theme tree:                crinova_sample_generator --icons <folder>

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
    QString error;
    if (arguments.size() == 3 && arguments.at(1) == QStringLiteral("--icons")) {
        if (!crinova::samples::writeIcons(arguments.at(2), &error)) {
            std::fprintf(stderr, "crinova_sample_generator: %s\n", qPrintable(error));
            return 1;
        }
        return 0;
    }
    if (arguments.size() != 2) {
        std::fprintf(stderr, "usage: crinova_sample_generator [--icons] <output-folder>\n");
        return 1;
    }
    if (!crinova::samples::writeSampleFolder(arguments.at(1), &error) ||
        !crinova::samples::writeCatalogue(arguments.at(1), &error) ||
        !crinova::samples::writeSampleDatabase(arguments.at(1), &error)) {
        std::fprintf(stderr, "crinova_sample_generator: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
