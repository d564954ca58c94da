// The hair catalogue: the hair-type dialog and the catalogue pages in the thumbnails.
#include "main_window/catalogue_commands.h"

#include <QAction>

#include "catalogue/own_styles.h"
#include "platform/image_control.h"
#include "platform/modeless_window.h"
#include "platform/pointers.h"
#include "program/folder_names.h"
#include "program/picture_store.h"

namespace crinova {

CatalogueCommands::CatalogueCommands(const OverlayState& overlay, SampleState& samples,
                                     Services services, std::array<ImageControl*, 6> Muestrapelos,
                                     std::array<ImageControl*, 2> btnpelos, Window window,
                                     QObject* parent)
    : QObject(parent),
      overlay_(overlay),
      samples_(samples),
      services_(services),
      Muestrapelos_(Muestrapelos),
      window_(std::move(window)) {
    for (int i = 0; i < 2; ++i) {
        connect(btnpelos[static_cast<std::size_t>(i)], &ImageControl::clicked, this,
                [this, i] { btnpelos_Click(i); });
    }
}

void CatalogueCommands::connectActions(QAction* mnubuscarcabello, QAction* mnueliminarpelos) {
    connect(mnubuscarcabello, &QAction::triggered, this,
            &CatalogueCommands::mnubuscarcabello_Click);
    mnueliminarpelos_ = mnueliminarpelos;
    connect(mnueliminarpelos, &QAction::triggered, this,
            &CatalogueCommands::mnueliminarpelos_Click);
}

void CatalogueCommands::connectNewStyleAction(QAction* mnuanadircabello) {
    connect(mnuanadircabello, &QAction::triggered, this,
            &CatalogueCommands::mnuanadircabello_Click);
}

void CatalogueCommands::mnuanadircabello_Click() {
    showModeless(modelessWindow(
        nuevocabello_,
        [this] {
            return new Nuevocabello({services_.folder, services_.database, services_.dialogs},
                                    window_.parent);
        },
        this, [this] { window_.nuevocabelloClosed(); }));
}

void CatalogueCommands::mnubuscarcabello_Click() {
    showModeless(modelessWindow(
        tipocabello_, [this] { return new Tipocabello(catalogue_.filters, *this, window_.parent); },
        this, [this] { window_.tipocabelloClosed(); }));
}

bool CatalogueCommands::reportPage(PageOutcome outcome, const QString& error, bool accepting) {
    switch (outcome) {
        case PageOutcome::Loaded:
            samples_.muestraaplicada = false;
            return true;
        case PageOutcome::NoRows:
            if (accepting) {
                services_.dialogs.MsgBox(
                    QStringLiteral("No hay ningún cabello con esas características. Pruebe con "
                                   "otra selección."),
                    MessageButtons::Ok, MessageIcon::Information,
                    QStringLiteral("Buscar Tipos de Cabello"));
            }
            return false;
        case PageOutcome::Failed:
            services_.dialogs.MsgBox(
                QStringLiteral("No se ha podido leer el catálogo de cabellos.\n\n%1").arg(error),
                MessageButtons::Ok, MessageIcon::Critical,
                QStringLiteral("Error en la Base de Datos"));
            return false;
        case PageOutcome::TooMany:
            services_.dialogs.MsgBox(
                QStringLiteral("La búsqueda ha encontrado más de 32767 cabellos. Elija unas "
                               "características más concretas."),
                MessageButtons::Ok, MessageIcon::Information,
                QStringLiteral("Buscar Tipos de Cabello"));
            return false;
        case PageOutcome::Ignored:
        case PageOutcome::LastPage:
            return false;
    }
    return false;
}

BringStyle CatalogueCommands::bringFromServer() {
    if (services_.database.dialect() != Dialect::PostgreSQL) {
        return {};
    }
    // The salon's own styles live on the server; the installed ones are on every station.
    return [this](const QString& largura, const QString& nombre) {
        fetchPictures(services_.database, services_.folder, styleFilesAnySource(largura, nombre),
                      nullptr);
    };
}

PageOutcome CatalogueCommands::loadPage(int index, QString* error, bool firstLoad) {
    window_.setMousePointer(kPointerBusy);
    const PageOutcome outcome = loadCataloguePage(
        index, catalogue_, services_.database, services_.folder, services_.pictures,
        [this](int thumbnail, const QImage& picture) {
            Muestrapelos_[static_cast<std::size_t>(thumbnail)]->setPicture(picture);
        },
        error, firstLoad, bringFromServer());
    window_.setMousePointer(kPointerDefault);
    return outcome;
}

void CatalogueCommands::btnpelos_Click(int index) {
    if (catalogue_.nmuestras == 0) {
        return;
    }
    QString error;
    const PageOutcome outcome = loadPage(index, &error, false);
    reportPage(outcome, error, false);
}

bool CatalogueCommands::loadFirstCataloguePage() {
    QString error;
    const PageOutcome outcome = loadPage(0, &error, true);
    return reportPage(outcome, error, true);
}

void CatalogueCommands::mnueliminarpelos_Click() {
    // The catalogue style last applied: "\fotos\<largura>\<nombre>.jpg".
    const std::optional<CatalogueStyleName> style = catalogueStyleOf(overlay_.ficheropelo);
    if (!style) {
        return;
    }
    const QString largura = style->largura;
    const QString nombre = style->nombre;
    const QString title = QStringLiteral("Eliminar Cabellos");
    if (services_.dialogs.MsgBox(
            QStringLiteral("¿Seguro que quiere quitar el Cabello %1 (%2) del catálogo?")
                .arg(nombre, largura),
            MessageButtons::YesNo, MessageIcon::Question, title) != MessageAnswer::Yes) {
        return;
    }
    QString error;
    const bool removed = services_.database.transaction(
        [&](QString* reason) {
            return services_.database.Execute(
                QStringLiteral("DELETE FROM cabellos WHERE largura=? AND nombre=?"),
                {largura, nombre}, reason);
        },
        &error);
    if (!removed) {
        services_.dialogs.MsgBox(QStringLiteral("El Cabello no se ha quitado.\n\n%1").arg(error),
                                 MessageButtons::Ok, MessageIcon::Critical, title);
        return;
    }
    mnueliminarpelos_->setEnabled(false);
    // The salon's own styles go with their files; the installed ones keep their pictures.
    if (isOwnStyle(services_.folder, largura, nombre)) {
        QString filesError;
        const bool onServer = services_.database.dialect() == Dialect::PostgreSQL;
        if ((onServer && !deletePictures(services_.database, styleFilesAnySource(largura, nombre),
                                         &filesError)) ||
            !removeOwnStyleFiles(services_.folder, largura, nombre, &filesError)) {
            services_.dialogs.MsgBox(
                QStringLiteral("El Cabello se ha quitado del catálogo, pero no todos sus "
                               "archivos.\n\n%1")
                    .arg(filesError),
                MessageButtons::Ok, MessageIcon::Critical, title);
        }
        window_.appliedStyleRemoved();
    }
    // The page shown held the removed style: it comes again without it, and the styles after it
    // move up instead of being skipped by the next page.
    window_.setMousePointer(kPointerBusy);
    QString pageError;
    const PageOutcome outcome = reloadCataloguePage(
        catalogue_, overlay_.ficheropelo, services_.database, services_.folder, services_.pictures,
        [this](int thumbnail, const QImage& picture) {
            Muestrapelos_[static_cast<std::size_t>(thumbnail)]->setPicture(picture);
        },
        &pageError, bringFromServer());
    window_.setMousePointer(kPointerDefault);
    samples_.muestraaplicada = false;
    reportPage(outcome, pageError, false);
}

void CatalogueCommands::sampleApplied(bool fromCatalogue) {
    mnueliminarpelos_->setEnabled(fromCatalogue);
}

void CatalogueCommands::forgetPage() {
    // The page and the applied catalogue style may not exist in the database now; what is composed
    // on the photo stays as the stylist left it.
    const CatalogueFilters filters = catalogue_.filters;
    catalogue_ = CatalogueState{};
    catalogue_.filters = filters;
    for (int i = 0; i < 6; ++i) {
        const PictureLoad load =
            services_.pictures.load(services_.folder.fullPath(sampleHairName(i + 1)));
        Muestrapelos_[static_cast<std::size_t>(i)]->setPicture(load.picture);
    }
    samples_.muestraaplicada = false;
    mnueliminarpelos_->setEnabled(false);
}

}  // namespace crinova
