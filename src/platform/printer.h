#pragma once

#include <QImage>
#include <QString>

namespace crinova {

// The printer as the program uses it: pictures stretched into rectangles measured in twips
// (1440 per inch) from the top-left corner of the printable area, one document per page.
class Printer {
  public:
    virtual ~Printer() = default;

    // Draws the picture stretched into the rectangle; the page is started on the first drawing.
    virtual void PaintPicture(const QImage& picture, double x, double y, double width,
                              double height) = 0;

    // Finishes the document, which prints the page. Answers false, with a Spanish reason in
    // lastError(), when the printer or the file could not take it.
    virtual bool EndDoc() = 0;

    // The printer's one integer property that the print command sets before a page.
    virtual void SetProperty(int value) = 0;

    virtual QString lastError() const = 0;
};

}  // namespace crinova
