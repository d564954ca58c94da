#pragma once

#include <QString>
#include <cstdint>

#include "eraser/brushes.h"
#include "platform/pictures.h"
#include "platform/surface.h"

namespace crinova {

// Photos larger than this in either direction slow the editor down and are refused.
inline constexpr int kLargestEraserPhoto = 430;

// The background eraser's pictures and brush. Before a photo is open the editor shows a blank
// picture and no brush size is chosen, so painting leaves no mark.
struct EraserEditor {
    Surface fprincipal{304, 322};  // the photo being edited
    Surface temporal;              // the kept copy: the photo as opened or as last saved
    Surface temporal2;             // one brush stamp is composed here
    Surface temporal3;             // the undo copy: the photo before the last stroke
    Brushes brushes;
    std::int16_t anchopincel = 0;  // stamp size in pixels; 0 until a brush size is chosen
    std::int16_t altopincel = 0;
    std::int16_t tipopincel = 0;  // which brush picture
    QString rutafoto;             // the open photo's file; saving writes here
    bool undoEnabled = false;

    enum class Brush { Fino, Medio, Grueso };
    void setBrush(Brush brush);

    // Accepts a loaded photo of at most 430 x 430 pixels: it becomes the kept copy and the picture
    // being edited, every buffer takes its size and undo is off until the next stroke. Answers
    // false, changing nothing, otherwise.
    bool open(const QString& path, const QImage& photo);

    // A press on the picture: only the left button alone keeps the undo copy.
    void mouseDown(int buttons);
    // One stamp per move while the left button alone is held: the mask (AND) then the colour
    // (XOR), the stamp's top-left corner at the pointer (rounded half to even).
    void mouseMove(int buttons, double x, double y);
    void undo();
    // Back to the kept copy; the undo copy stays.
    void revert();

    // Writes the edited photo over `rutafoto` as BMP data, whatever the name's extension, and makes
    // it the kept copy. Before the first write over a file its original is kept once in the folder
    // "originales" beside it (keepOriginal). On failure, of that copy or of the save, the file and
    // the kept copy are as before and `error` says why.
    bool save(QString* error);
};

}  // namespace crinova
