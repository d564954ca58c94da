#pragma once

#include <QPainter>
#include <QPrinter>

#include "platform/printer.h"

namespace crinova {

// Prints through QPrinter: a printer known to the system (CUPS) or a PDF file. Page coordinates are
// twips from the top-left corner of the printable area, whatever the printer's resolution.
// Printing to a PDF file writes one file per document: the chosen name for the first, then the
// name with "-2", "-3", ... before the extension, so no page overwrites another. A name chosen anew
// starts its own numbering.
class QtPrinter : public Printer {
  public:
    QtPrinter();
    ~QtPrinter() override;

    void PaintPicture(const QImage& picture, double x, double y, double width,
                      double height) override;
    bool EndDoc() override;
    void SetProperty(int value) override { property_ = value; }
    QString lastError() const override { return error_; }

    QPrinter& device() { return printer_; }
    int property() const { return property_; }

  private:
    bool beginDocument();
    // Puts the chosen name back after a document, so that the set-up dialog shows it and a name
    // chosen there is told apart from the numbered ones.
    void restoreChosenName();

    QPrinter printer_;
    QPainter painter_;
    QString pdfName_;    // the name the stylist chose for PDF output
    int documents_ = 0;  // documents written under that name
    int property_ = 0;
    bool failed_ = false;
    QString error_;
};

}  // namespace crinova
