#include "catalogue/styles_upload.h"

#include <vector>

#include "catalogue/own_styles.h"
#include "program/picture_store.h"

namespace crinova {
namespace {

std::vector<StyleRow> localStyles(Database& local, QString* error) {
    std::vector<StyleRow> styles;
    for (RecordSet rows = local.OpenRecordset(
             QStringLiteral("Select tpersona, largura, tipo, color, nombre From cabellos"), {},
             error);
         !rows.Eof(); rows.MoveNext()) {
        styles.push_back({rows.Fields(QStringLiteral("tpersona")),
                          rows.Fields(QStringLiteral("largura")),
                          rows.Fields(QStringLiteral("tipo")), rows.Fields(QStringLiteral("color")),
                          rows.Fields(QStringLiteral("nombre"))});
    }
    return styles;
}

// The files a salon's style keeps here, its photograph under whichever suffix it has.
QStringList ownStyleFiles(const ProgramFolder& folder, const StyleRow& style) {
    QStringList names = styleFilesAnySource(style.largura, style.nombre);
    names.removeIf([&folder](const QString& name) { return !fileExists(folder.fullPath(name)); });
    return names;
}

bool insertStyle(Database& server, const ProgramFolder& folder, const StyleRow& style,
                 QString* reason) {
    return server.Execute(QStringLiteral("INSERT INTO cabellos (tpersona, largura, tipo, color, "
                                         "nombre) VALUES (?, ?, ?, ?, ?)"),
                          {style.tpersona, style.largura, style.tipo, style.color, style.nombre},
                          reason) &&
           (!isOwnStyle(folder, style.largura, style.nombre) ||
            syncPictures(server, folder, ownStyleFiles(folder, style), reason));
}

}  // namespace

bool seedServerCatalogue(Database& local, Database& server, const ProgramFolder& folder,
                         QString* error) {
    QString reason;
    const std::vector<StyleRow> styles = localStyles(local, &reason);
    if (!reason.isEmpty()) {
        if (error) {
            *error = reason;
        }
        return false;
    }
    return server.transaction(
        [&](QString* why) {
            // Any fixed number, other than the schema's: stations seeding at once take turns.
            if (!server
                     .OpenRecordset(QStringLiteral("Select pg_advisory_xact_lock(7310531)"), {},
                                    why)
                     .isOpen()) {
                return false;
            }
            const RecordSet count = server.OpenRecordset(
                QStringLiteral("Select count(*) As estilos From cabellos"), {}, why);
            if (!count.isOpen()) {
                return false;
            }
            if (count.Fields(QStringLiteral("estilos")).toInt() > 0) {
                return true;
            }
            for (const StyleRow& style : styles) {
                if (!insertStyle(server, folder, style, why)) {
                    return false;
                }
            }
            return true;
        },
        error);
}

StylesUpload uploadOwnStyles(Database& local, Database& server, const ProgramFolder& folder) {
    StylesUpload upload;
    QString error;
    const std::vector<StyleRow> styles = localStyles(local, &error);
    if (!error.isEmpty()) {
        upload.failures << error;
        return upload;
    }
    for (const StyleRow& style : styles) {
        if (!isOwnStyle(folder, style.largura, style.nombre)) {
            continue;
        }
        StylesUpload counted;
        const bool copied = server.transaction(
            [&](QString* why) {
                const RecordSet there = server.OpenRecordset(
                    QStringLiteral("Select tpersona, tipo, color From cabellos where largura=? "
                                   "and nombre=?"),
                    {style.largura, style.nombre}, why);
                if (!there.isOpen()) {
                    return false;
                }
                if (there.RecordCount() == 0) {
                    ++counted.copied;
                    return insertStyle(server, folder, style, why);
                }
                if (there.Fields(QStringLiteral("tpersona")) == style.tpersona &&
                    there.Fields(QStringLiteral("tipo")) == style.tipo &&
                    there.Fields(QStringLiteral("color")) == style.color) {
                    ++counted.there;
                } else {
                    counted.conflicts
                        << QStringLiteral("El cabello %1 (%2) es otro en el servidor.")
                               .arg(style.nombre, style.largura);
                }
                return true;
            },
            &error);
        if (!copied) {
            upload.failures
                << QStringLiteral("El cabello %1 (%2): %3").arg(style.nombre, style.largura, error);
            continue;
        }
        upload.copied += counted.copied;
        upload.there += counted.there;
        upload.conflicts << counted.conflicts;
    }
    return upload;
}

QStringList ownStylesPictures(Database& database, const ProgramFolder& folder) {
    QStringList names;
    for (const StyleRow& style : localStyles(database, nullptr)) {
        if (isOwnStyle(folder, style.largura, style.nombre)) {
            names << ownStyleFiles(folder, style);
        }
    }
    return names;
}

}  // namespace crinova
