#pragma once

#include <QImage>
#include <QString>
#include <vector>

#include "platform/printer.h"
#include "platform/system.h"

namespace crinova::test {

// Records what would have been printed; nothing reaches a real printer.
class RecordingPrinter : public Printer {
  public:
    struct Drawing {
        QImage picture;
        double x, y, width, height;
    };
    struct Document {
        std::vector<Drawing> drawings;
        int property = -1;  // the value set while this document was open; -1: not set
    };

    std::vector<Document> documents;  // finished documents, in order
    Document current;
    int property = -1;  // the value set last, in any document
    bool failNextEndDoc = false;

    void PaintPicture(const QImage& picture, double x, double y, double width,
                      double height) override {
        current.drawings.push_back({picture, x, y, width, height});
    }
    bool EndDoc() override {
        if (failNextEndDoc) {
            failNextEndDoc = false;
            current = {};
            return false;
        }
        documents.push_back(current);
        current = {};
        return true;
    }
    void SetProperty(int value) override {
        property = value;
        current.property = value;
    }
    QString lastError() const override { return QStringLiteral("La impresora no responde."); }
};

// Counts shut-down requests instead of asking the real system.
class RecordingSystem : public SystemServices {
  public:
    int shutdownRequests = 0;
    bool RequestShutdown() override {
        ++shutdownRequests;
        return true;
    }
};

}  // namespace crinova::test
