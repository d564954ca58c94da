// The hair catalogue: the hair-type dialog and the catalogue pages in the thumbnails.
#include "main_window/principal.h"
#include "platform/image_control.h"
#include "platform/pointers.h"

namespace crinova {

void Principal::mnubuscarcabello_Click() {
    showModeless(windowOnce(
        tipocabello_, [this] { return new Tipocabello(catalogue_.filters, *this, this); },
        &Principal::tipocabelloClosed));
}

bool Principal::reportPage(PageOutcome outcome, const QString& error, bool accepting) {
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

void Principal::btnpelos_Click(int index) {
    if (catalogue_.nmuestras == 0) {
        return;
    }
    setMousePointer(kPointerBusy);
    QString error;
    const PageOutcome outcome = loadCataloguePage(
        index, catalogue_, services_.database, services_.folder, pictures_,
        [this](int thumbnail, const QImage& picture) {
            Muestrapelos_[static_cast<std::size_t>(thumbnail)]->setPicture(picture);
        },
        &error);
    setMousePointer(kPointerDefault);
    reportPage(outcome, error, false);
}

bool Principal::loadFirstCataloguePage() {
    setMousePointer(kPointerBusy);
    QString error;
    const PageOutcome outcome = loadCataloguePage(
        0, catalogue_, services_.database, services_.folder, pictures_,
        [this](int thumbnail, const QImage& picture) {
            Muestrapelos_[static_cast<std::size_t>(thumbnail)]->setPicture(picture);
        },
        &error, true);
    setMousePointer(kPointerDefault);
    return reportPage(outcome, error, true);
}

void Principal::tipocabelloClosed() {
    clearViewStores();
    if (overlay_.pelocargado) {
        dialogClosed(true);
    }
}

}  // namespace crinova
