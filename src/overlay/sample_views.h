#pragma once

#include <QImage>
#include <QString>
#include <cstdint>

#include "platform/files.h"
#include "platform/pictures.h"

namespace crinova {

// The front, side and nape pictures of the applied style. They live as long as the hair-type dialog
// does: closing that dialog empties all three.
struct ViewStores {
    QImage fotoinicio;   // the front reference, kept once per life of the stores
    QImage fotolateral;  // side view of the applied sample
    QImage fotonuca;     // nape view of the applied sample

    void clear() { *this = {}; }
};

// What the "Lateral" and "Nuca" options and the "RESTAURAR FOTO" label show.
struct ViewOption {
    bool enabled = false;
    bool selected = false;
    bool red = false;  // red when available, the normal button-text colour otherwise
};

struct ViewOptions {
    ViewOption lateral;             // oppaletal
    ViewOption nuca;                // opnuca
    bool restaurarVisible = false;  // opvolver
};

// Which thumbnail was applied last.
struct SampleState {
    std::int16_t muestraactual = 0;
    bool muestraaplicada = false;  // the catalogue's page command clears it
    QString ficherovistas;         // the hair picture name the view names derive from
};

// "\pelo4.jpg" -> "\pelo4": the part of a relative name before its first ".".
QString viewBaseName(const QString& ficherovistas);

// Loads the side ("l.jpg") and nape ("n.jpg") views of the sample just applied. When the previous
// sample had both views, both options are reset (normal colour, disabled, deselected), the label
// hidden and the stores emptied; otherwise both options are only disabled. Each view file that
// exists and can be read enables its option in red; a view file that cannot be read counts as
// missing. When a view was found and the front store is empty, it takes `shownReference` (the
// picture shown in the reference box at that moment).
void CargarVistasPelo(const QString& ficherovistas, const QImage& shownReference,
                      ViewOptions& options, ViewStores& stores, const ProgramFolder& folder,
                      PictureCache& pictures);

}  // namespace crinova
