#include "overlay/sample_views.h"

namespace crinova {

QString viewBaseName(const QString& ficherovistas) {
    const qsizetype dot = ficherovistas.indexOf(QLatin1Char('.'));
    return dot < 0 ? ficherovistas : ficherovistas.left(dot);
}

void CargarVistasPelo(const QString& ficherovistas, const QImage& shownReference,
                      ViewOptions& options, ViewStores& stores, const ProgramFolder& folder,
                      PictureCache& pictures) {
    if (options.nuca.enabled && options.lateral.enabled) {
        options.lateral = ViewOption{};
        options.nuca = ViewOption{};
        options.restaurarVisible = false;
        stores.fotonuca = QImage();
        stores.fotolateral = QImage();
    } else {
        options.nuca.enabled = false;
        options.lateral.enabled = false;
    }

    const QString base = viewBaseName(ficherovistas);
    bool found = false;
    const QString napePath = folder.fullPath(base + QStringLiteral("n.jpg"));
    if (fileExists(napePath)) {
        const PictureLoad nape = pictures.load(napePath);
        if (nape.ok()) {
            stores.fotonuca = nape.picture;
            options.nuca.enabled = true;
            options.nuca.red = true;
            found = true;
        }
    }
    const QString sidePath = folder.fullPath(base + QStringLiteral("l.jpg"));
    if (fileExists(sidePath)) {
        const PictureLoad side = pictures.load(sidePath);
        if (side.ok()) {
            stores.fotolateral = side.picture;
            options.lateral.enabled = true;
            options.lateral.red = true;
            found = true;
        }
    }
    if (found && stores.fotoinicio.isNull()) {
        stores.fotoinicio = shownReference;
    }
}

}  // namespace crinova
