#include "catalogue/catalogue.h"

#include <limits>

#include "program/folder_names.h"

namespace crinova {
namespace {

// Loads one page of up to six thumbnails from row `iniciopagina` of the set, which stands on its
// first row.
void CargarMuestras(RecordSet& rows, CatalogueState& state, const ProgramFolder& folder,
                    PictureCache& pictures, const ShowThumbnail& show, const BringStyle& bring) {
    state.nmuestras = 0;
    rows.Move(state.iniciopagina);
    state.siguientepagina = state.iniciopagina;
    const QString largura = state.filters.filtrolargura;
    while (state.siguientepagina <= state.totalcabellos) {
        if (state.nmuestras == 6 || rows.Eof() || rows.Bof()) {
            break;
        }
        const QString nombre = rows.Fields(QStringLiteral("nombre"));
        const auto slot = static_cast<std::size_t>(state.nmuestras);
        if (isSafeCatalogueName(nombre) && isSafeCatalogueName(largura)) {
            if (bring) {
                bring(largura, nombre);
            }
            const QString thumbnail = catalogueThumbnailPath(largura, nombre);
            state.rutapelo[slot] = catalogueHairPath(largura, nombre);
            // A sound style whose thumbnail cannot be read shows its hair picture instead, so it
            // can still be chosen.
            PictureLoad shown = pictures.load(folder.fullPath(thumbnail));
            if (!shown.ok()) {
                shown = pictures.load(folder.fullPath(state.rutapelo[slot]));
            }
            show(state.nmuestras, shown.picture);
            state.rutamascara[slot] = catalogueMaskPath(largura, nombre);
        } else {
            // A name that would reach outside the catalogue folders is never opened.
            show(state.nmuestras, QImage());
            state.rutapelo[slot].clear();
            state.rutamascara[slot].clear();
        }
        ++state.nmuestras;
        rows.MoveNext();
        ++state.siguientepagina;
    }
}

// Builds and runs the query and counts its rows into `totalcabellos`, leaving the set on its first
// row. Answers Loaded when there are rows to show.
PageOutcome openAndCount(CatalogueState& state, Database& database, RecordSet& rows,
                         QString* error) {
    ConsultaCabellos(state);
    const BoundQuery query = boundCatalogueQuery(state.filters);
    rows = database.OpenRecordset(query.sql, query.values, error);
    if (!rows.isOpen()) {
        return PageOutcome::Failed;
    }
    if (rows.RecordCount() == 0) {
        rows.Close();
        return PageOutcome::NoRows;
    }
    int counted = 0;
    while (!rows.Eof()) {
        ++counted;
        rows.MoveNext();
    }
    if (counted > std::numeric_limits<std::int16_t>::max()) {
        rows.Close();
        return PageOutcome::TooMany;
    }
    state.totalcabellos = static_cast<std::int16_t>(counted);
    rows.MoveFirst();
    return PageOutcome::Loaded;
}

}  // namespace

void ConsultaCabellos(CatalogueState& state) {
    const CatalogueFilters& f = state.filters;
    state.consulta = QStringLiteral("Select * from cabellos");
    state.consulta += QStringLiteral(" Where tpersona='") + f.filtropersona + "'";
    state.consulta += QStringLiteral(" and largura='") + f.filtrolargura + "'";
    state.consulta += QStringLiteral(" and tipo='") + f.filtrotipo + "'";
    if (f.filtrocolor != QLatin1String("todos")) {
        state.consulta += QStringLiteral(" and color='") + f.filtrocolor + "'";
    }
}

BoundQuery boundCatalogueQuery(const CatalogueFilters& f) {
    // A filter never chosen is a null text, which would be bound as NULL and match no row, not
    // even one whose column is empty.
    const auto text = [](const QString& word) { return word.isNull() ? QStringLiteral("") : word; };
    BoundQuery query{QStringLiteral("Select * from cabellos Where tpersona=? and largura=? and "
                                    "tipo=?"),
                     {text(f.filtropersona), text(f.filtrolargura), text(f.filtrotipo)}};
    if (f.filtrocolor != QLatin1String("todos")) {
        query.sql += QStringLiteral(" and color=?");
        query.values << text(f.filtrocolor);
    }
    return query;
}

bool isSafeCatalogueName(const QString& name) {
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) &&
           !name.contains(QLatin1Char('\\')) && !name.contains(QLatin1Char(':')) &&
           !name.contains(QLatin1String("..")) && !name.contains(QChar(0));
}

PageOutcome loadCataloguePage(int index, CatalogueState& state, Database& database,
                              const ProgramFolder& folder, PictureCache& pictures,
                              const ShowThumbnail& show, QString* error, bool firstLoad,
                              const BringStyle& bring) {
    if (state.nmuestras == 0 && !firstLoad) {
        return PageOutcome::Ignored;
    }
    RecordSet rows;
    const PageOutcome found = openAndCount(state, database, rows, error);
    if (found != PageOutcome::Loaded) {
        return found;
    }
    state.iniciopagina = state.siguientepagina;
    if (index == 0) {
        state.iniciopagina = 0;
    } else if (state.siguientepagina >= state.totalcabellos) {
        rows.Close();
        return PageOutcome::LastPage;
    }
    CargarMuestras(rows, state, folder, pictures, show, bring);
    rows.Close();
    return PageOutcome::Loaded;
}

PageOutcome reloadCataloguePage(CatalogueState& state, const QString& removed, Database& database,
                                const ProgramFolder& folder, PictureCache& pictures,
                                const ShowThumbnail& show, QString* error,
                                const BringStyle& bring) {
    RecordSet rows;
    const PageOutcome found = openAndCount(state, database, rows, error);
    if (found == PageOutcome::Loaded) {
        // Pages start every six rows; when none is left where this one started, the last page
        // is shown instead.
        if (state.iniciopagina >= state.totalcabellos) {
            state.iniciopagina = static_cast<std::int16_t>((state.totalcabellos - 1) / 6 * 6);
        }
        CargarMuestras(rows, state, folder, pictures, show, bring);
        rows.Close();
    } else if (found == PageOutcome::NoRows) {
        state.nmuestras = 0;  // no page: the page buttons wait for a new one
    }
    // A thumbnail kept from an earlier page may still show the removed style.
    for (std::size_t slot = 0; slot < state.rutapelo.size(); ++slot) {
        if (!removed.isEmpty() && state.rutapelo[slot] == removed) {
            show(static_cast<int>(slot), QImage());
            state.rutapelo[slot].clear();
            state.rutamascara[slot].clear();
        }
    }
    return found;
}

}  // namespace crinova
