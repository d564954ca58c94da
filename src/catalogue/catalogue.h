#pragma once

#include <QImage>
#include <QString>
#include <QVariantList>
#include <array>
#include <cstdint>
#include <functional>

#include "platform/files.h"
#include "platform/pictures.h"
#include "platform/record_sets.h"

namespace crinova {

// The four filters the hair-type dialog writes: the words stored in the `cabellos` columns.
struct CatalogueFilters {
    QString filtropersona;
    QString filtrolargura;
    QString filtrotipo;
    QString filtrocolor;  // "todos" stands for any colour
};

// The catalogue's query and the page shown in the six thumbnails.
struct CatalogueState {
    CatalogueFilters filters;
    QString consulta;                    // the text of the last query built
    std::int16_t totalcabellos = 0;      // rows of the last query
    std::int16_t iniciopagina = 0;       // row where the page being loaded starts
    std::int16_t siguientepagina = 0;    // row after the last thumbnail loaded
    std::int16_t nmuestras = 0;          // thumbnails of the current page; 0: no page loaded yet
    std::array<QString, 6> rutapelo;     // per thumbnail, the style's hair picture (relative name)
    std::array<QString, 6> rutamascara;  // per thumbnail, the style's mask (relative name)
};

// The query as text, with the filter words in quotes ("todos" drops the colour condition, and only
// it), kept in `consulta`.
void ConsultaCabellos(CatalogueState& state);

// The same query with the words bound as values, which is what runs.
struct BoundQuery {
    QString sql;
    QVariantList values;
};
BoundQuery boundCatalogueQuery(const CatalogueFilters& filters);

enum class PageOutcome {
    Ignored,   // no page was loaded yet: the page buttons do nothing
    NoRows,    // the query found no style; the thumbnails keep what they showed
    LastPage,  // no further row: nothing changes
    Loaded,    // a page was loaded
    Failed,    // the database could not answer; `error` says why
    TooMany,   // more rows than the 16-bit counters hold
};

// Where a page's thumbnails go: thumbnail `index` shows `picture`: the style's thumbnail, or its
// hair picture when the thumbnail file is missing or unreadable, or a null picture when neither can
// be read (which leaves the thumbnail empty).
using ShowThumbnail = std::function<void(int index, const QImage& picture)>;
// Runs before a style's pictures are read for its thumbnail (the salon's server brings them here).
using BringStyle = std::function<void(const QString& largura, const QString& nombre)>;

// The page command: index 0 the first page, 1 the next one. `firstLoad` skips the check that a page
// was loaded before (the hair-type dialog's accept loads the first page with these steps).
PageOutcome loadCataloguePage(int index, CatalogueState& state, Database& database,
                              const ProgramFolder& folder, PictureCache& pictures,
                              const ShowThumbnail& show, QString* error, bool firstLoad = false,
                              const BringStyle& bring = {});

// The current page again after the style whose hair picture is `removed` (a relative name) left the
// catalogue: the rows from where the page started, so that no later style is skipped, or the last
// page when no row is left there. A thumbnail kept from an earlier page that shows the removed
// style is emptied. With no row left at all the answer is NoRows and no page is loaded (`nmuestras`
// 0).
PageOutcome reloadCataloguePage(CatalogueState& state, const QString& removed, Database& database,
                                const ProgramFolder& folder, PictureCache& pictures,
                                const ShowThumbnail& show, QString* error,
                                const BringStyle& bring = {});

// A catalogue name that stays inside its folder: no separator, no "..", no drive, not empty.
bool isSafeCatalogueName(const QString& name);

}  // namespace crinova
