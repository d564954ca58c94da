#pragma once

#include <QString>

#include <vector>

#include "hair_styles.h"

namespace crinova::samples {

// One row of the `cabellos` table and the style its pictures are drawn from. The words are the
// program's filter words, derived from the style so a row always matches its picture.
struct CatalogueEntry {
    QString tpersona;  // "hombre", "mujer", "niño"
    QString largura;   // "largo", "medmelena", "corto"; also the sub-folder of fotos/
    QString tipo;      // "liso", "ondulado", "rizado", "mechas", "recogidos"
    QString color;     // "Negro", "dorado", "rojo", "fantasia"
    QString nombre;    // unique within its largura, no dots: the program cuts view names there
    HairStyle style;
    bool sideView = false;  // also writes fotos/<largura>/<nombre>l.jpg
    bool napeView = false;  // also writes fotos/<largura>/<nombre>n.jpg
};

std::vector<CatalogueEntry> catalogueEntries();

// Writes, for every entry, fotos/<largura>/<nombre>.jpg and <nombre>m.jpg (hair and mask),
// fotos/visualizacion/<largura>/<nombre>.jpg (thumbnail) and its side and nape views if any.
bool writeCatalogue(const QString& folder, QString* error);

}  // namespace crinova::samples
