// The hair catalogue: the hair-type dialog and the catalogue pages in the thumbnails.
#include "main_window/catalogue_commands.h"

#include <QAction>

#include "platform/image_control.h"
#include "platform/modeless_window.h"
#include "platform/pointers.h"

namespace crinova {

CatalogueCommands::CatalogueCommands(CatalogueState& catalogue, SampleState& samples,
                                     Services services, std::array<ImageControl*, 6> Muestrapelos,
                                     std::array<ImageControl*, 2> btnpelos, Window window,
                                     QObject* parent)
    : QObject(parent),
      catalogue_(catalogue),
      samples_(samples),
      services_(services),
      Muestrapelos_(Muestrapelos),
      window_(std::move(window)) {
    for (int i = 0; i < 2; ++i) {
        connect(btnpelos[static_cast<std::size_t>(i)], &ImageControl::clicked, this,
                [this, i] { btnpelos_Click(i); });
    }
}

void CatalogueCommands::connectAction(QAction* mnubuscarcabello) {
    connect(mnubuscarcabello, &QAction::triggered, this,
            &CatalogueCommands::mnubuscarcabello_Click);
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

PageOutcome CatalogueCommands::loadPage(int index, QString* error, bool firstLoad) {
    window_.setMousePointer(kPointerBusy);
    const PageOutcome outcome = loadCataloguePage(
        index, catalogue_, services_.database, services_.folder, services_.pictures,
        [this](int thumbnail, const QImage& picture) {
            Muestrapelos_[static_cast<std::size_t>(thumbnail)]->setPicture(picture);
        },
        error, firstLoad);
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

}  // namespace crinova
