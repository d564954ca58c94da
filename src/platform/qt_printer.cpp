#include "platform/qt_printer.h"

#include <QFileInfo>

namespace crinova {

QtPrinter::QtPrinter() : printer_(QPrinter::HighResolution) {}

QtPrinter::~QtPrinter() {
    if (painter_.isActive()) {
        painter_.end();
    }
}

bool QtPrinter::beginDocument() {
    if (printer_.outputFormat() == QPrinter::PdfFormat) {
        // Between documents the printer holds the name the stylist chose; any other name there
        // was chosen since, and its numbering starts afresh.
        if (printer_.outputFileName() != pdfName_) {
            pdfName_ = printer_.outputFileName();
            documents_ = 0;
        }
        if (documents_ > 0 && !pdfName_.isEmpty()) {
            const QFileInfo info(pdfName_);
            const QString suffix = info.suffix().isEmpty() ? QString() : "." + info.suffix();
            printer_.setOutputFileName(info.path() + "/" + info.completeBaseName() +
                                       QStringLiteral("-%1").arg(documents_ + 1) + suffix);
        }
    }
    if (!painter_.begin(&printer_)) {
        failed_ = true;
        error_ = QStringLiteral(
                     "No se ha podido empezar a imprimir en \"%1\". Compruebe que la "
                     "impresora está encendida y conectada.")
                     .arg(printer_.outputFormat() == QPrinter::PdfFormat ? printer_.outputFileName()
                                                                         : printer_.printerName());
        return false;
    }
    return true;
}

void QtPrinter::PaintPicture(const QImage& picture, double x, double y, double width,
                             double height) {
    if (failed_) {
        return;
    }
    if (!painter_.isActive() && !beginDocument()) {
        return;
    }
    const double scale = printer_.resolution() / 1440.0;
    painter_.drawImage(QRectF(x * scale, y * scale, width * scale, height * scale), picture);
}

void QtPrinter::restoreChosenName() {
    if (printer_.outputFormat() == QPrinter::PdfFormat && !pdfName_.isEmpty()) {
        printer_.setOutputFileName(pdfName_);
    }
}

bool QtPrinter::EndDoc() {
    const bool wasFailed = failed_;
    failed_ = false;
    if (!painter_.isActive()) {
        restoreChosenName();
        return !wasFailed;
    }
    const bool ended = painter_.end();
    ++documents_;
    restoreChosenName();
    if (!ended || printer_.printerState() == QPrinter::Error) {
        error_ = QStringLiteral("La impresora no ha aceptado la página.");
        return false;
    }
    error_.clear();
    return true;
}

}  // namespace crinova
