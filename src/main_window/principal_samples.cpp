// Applying a sample, its side and nape views, the drag target and the mouse on the photo.
#include <QLabel>
#include <QRadioButton>

#include "main_window/principal.h"
#include "platform/image_control.h"
#include "platform/picture_box.h"
#include "platform/pointers.h"
#include "platform/text_colour.h"
#include "program/folder_names.h"

namespace crinova {

void Principal::Muestrapelos_Click(int index) {
    if (index < 0 || index > 5) {
        return;
    }
    if (index == samples_.muestraactual && samples_.muestraaplicada) {
        return;
    }
    // A catalogue page's thumbnail applies its own style; otherwise the installed sample.
    const auto slot = static_cast<std::size_t>(index);
    const CatalogueState& catalogue = catalogueCommands_->state();
    const bool fromCatalogue = !catalogue.rutapelo[slot].isEmpty();
    const QString hair = fromCatalogue ? catalogue.rutapelo[slot] : sampleHairName(index + 1);
    if (!controls_.Muestrapelos[slot]->hasPicture()) {
        // An empty thumbnail is passed over, unless its hair picture is there but damaged: then
        // the stylist learns which file it is, as for a damaged mask.
        const QString path = services_.folder.fullPath(hair);
        if (fileExists(path)) {
            const PictureLoad load = pictures_.load(path);
            if (!load.ok()) {
                services_.dialogs.MsgBox(pictureFaultMessage(load), MessageButtons::Ok,
                                         MessageIcon::Critical,
                                         QString::fromUtf8(kPictureFaultTitle));
            }
        }
        return;
    }
    setMousePointer(kPointerBusy);
    overlay_.ficheropelo = hair;
    overlay_.ficheromascara =
        fromCatalogue ? catalogue.rutamascara[slot] : sampleMaskName(index + 1);
    samples_.ficherovistas = overlay_.ficheropelo;
    CargarVistasPelo(samples_.ficherovistas, controls_.fotoinicial->picture(), viewOptions_,
                     viewStores_, services_.folder, pictures_);
    showViewOptions();
    samples_.muestraactual = static_cast<std::int16_t>(index);
    samples_.muestraaplicada = true;
    overlay_.pelocargado = true;
    DibujarPelo();
    setMousePointer(kPointerDefault);
    action("mnuguardar")->setEnabled(true);
    barButton(BarButton::SavePhoto)->setEnabled(true);
    catalogueCommands_->sampleApplied(fromCatalogue);
    colourCommands_->styleApplied();
}

void Principal::showViewOptions() {
    const std::pair<QRadioButton*, const ViewOption*> options[] = {
        {controls_.oppaletal, &viewOptions_.lateral}, {controls_.opnuca, &viewOptions_.nuca}};
    for (const auto& [control, option] : options) {
        control->setEnabled(option->enabled);
        setOptionColour(control, option->red);
        // Both can be deselected at once: leave the group's exclusivity aside while setting them.
        control->setAutoExclusive(false);
        control->setChecked(option->selected);
        control->setAutoExclusive(true);
    }
    controls_.opvolver->setVisible(viewOptions_.restaurarVisible);
}

void Principal::oppaletal_Click() {
    viewOptions_.lateral.selected = true;
    viewOptions_.nuca.selected = false;
    controls_.fotoinicial->setPicture(viewStores_.fotolateral);
    viewOptions_.restaurarVisible = true;
    showViewOptions();
}

void Principal::opnuca_Click() {
    viewOptions_.nuca.selected = true;
    viewOptions_.lateral.selected = false;
    controls_.fotoinicial->setPicture(viewStores_.fotonuca);
    viewOptions_.restaurarVisible = true;
    showViewOptions();
}

void Principal::opvolver_Click() {
    viewOptions_.nuca.selected = false;
    viewOptions_.lateral.selected = false;
    controls_.fotoinicial->setPicture(viewStores_.fotoinicio);
    viewOptions_.restaurarVisible = false;
    showViewOptions();
}

void Principal::opfoto_Click() {
    setOptionColour(controls_.opfoto, controls_.opfoto->isChecked());
    setOptionColour(controls_.oppelo, !controls_.opfoto->isChecked());
}

void Principal::oppelo_Click() {
    setOptionColour(controls_.oppelo, controls_.oppelo->isChecked());
    setOptionColour(controls_.opfoto, !controls_.oppelo->isChecked());
}

void Principal::fprincipal_MouseDown(int, int, double x, double y) {
    CompositionServices services = compositionServices();
    beginDrag(controls_.oppelo->isChecked() ? DragTarget::Pelo : DragTarget::Foto, x, y, overlay_,
              drag_, buffers_, services);
}

void Principal::fprincipal_MouseMove(int, int, double x, double y) {
    dragTo(x, y, overlay_, drag_, buffers_);
}

void Principal::fprincipal_MouseUp(int, int, double, double) {
    CompositionServices services = compositionServices();
    endDrag(overlay_, drag_, buffers_, services);
}

}  // namespace crinova
