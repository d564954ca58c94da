#pragma once

#include <QImage>
#include <functional>

#include "platform/colour.h"

namespace crinova {

// A picture box's drawing area: a fixed-size RGB32 image measured in pixels, a background colour
// and an optional stored picture drawn at the top-left corner.
//
// Loading a picture replaces the stored picture and shows it over the background; the box keeps its
// size whatever the picture's size (the picture is clipped, or the background shows where it does
// not reach). Cls drops what was drawn and shows background plus stored picture again.
//
// A surface that does not keep what is drawn (the visible picture) loses its drawing whenever the
// window repaints it from the stored picture; hidden buffers keep their drawing until cleared.
class Surface {
  public:
    explicit Surface(int width = 0, int height = 0, Colour background = kWindowBackground,
                     bool keepsDrawing = true);

    int ScaleWidth() const { return image_.width(); }
    int ScaleHeight() const { return image_.height(); }
    Colour BackColor() const { return background_; }
    bool KeepsDrawing() const { return keepsDrawing_; }

    // New inner size in pixels; the drawing area shows background plus stored picture.
    void Resize(int width, int height);

    // Loads a picture (as the platform's "set Picture"): drawn content is replaced by it.
    void SetPicture(const QImage& picture);
    // Loads no file: the empty picture; the area shows its plain background.
    void EmptyPicture();
    bool HasPicture() const { return !picture_.isNull(); }
    const QImage& Picture() const { return picture_; }

    void Cls();

    // A window repaint: a surface that does not keep its drawing shows its stored picture again.
    void RepaintFromStoredPicture();

    // The drawing area, always QImage::Format_RGB32 and ScaleWidth x ScaleHeight.
    QImage& image() { return image_; }
    const QImage& image() const { return image_; }

    // Called after anything is drawn, so a widget showing this surface can schedule a repaint.
    void setChangedCallback(std::function<void()> callback) { changed_ = std::move(callback); }
    void notifyChanged() const;

  private:
    QImage image_;
    QImage picture_;
    Colour background_;
    bool keepsDrawing_;
    std::function<void()> changed_;
};

}  // namespace crinova
