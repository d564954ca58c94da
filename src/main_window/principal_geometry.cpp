// Zoom and rotation commands of the main window.
#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

#include "main_window/principal.h"
#include "platform/picture_box.h"
#include "platform/pointers.h"

namespace crinova {

void Principal::btnampliar_Click(int index) {
    const ZoomDimensions dimensions{ancho_->isChecked(), alto_->isChecked()};
    if (!dimensions.ancho && !dimensions.alto) {
        services_.dialogs.MsgBox(
            QStringLiteral("Para Ampliar o Reducir tiene que Seleccionar Ancho o Alto"),
            MessageButtons::Ok, MessageIcon::Information, QStringLiteral("Error Faltan Datos"));
        return;
    }
    setMousePointer(kPointerBusy);
    const DragTarget target = opfoto_->isChecked() ? DragTarget::Foto : DragTarget::Pelo;
    const ZoomOutcome outcome =
        applyZoomStep(overlay_, target, dimensions, stepFromText(txtampliar_->text()), index == 0);
    if (outcome == ZoomOutcome::OutOfRange) {
        setMousePointer(kPointerDefault);
        services_.dialogs.MsgBox(
            QStringLiteral("No se puede Ampliar o Reducir más: el tamaño ha llegado a su límite."),
            MessageButtons::Ok, MessageIcon::Information, QStringLiteral("Error Tamaño"));
        return;
    }
    DibujarPelo();
    buffers_.temporal1.EmptyPicture();
    buffers_.temporal2.EmptyPicture();
    setMousePointer(kPointerDefault);
}

void Principal::txtampliar_GotFocus() {
    txtampliar_->selectAll();
}

void Principal::mnuampliar_Click() {
    // A menu choice toggles the checkable entry itself before this would run, so the menu does not
    // call it; either way the pointer follows the mark (connectControls).
    action("mnuampliar")->toggle();
}

void Principal::btngirar_Click(int index) {
    const int degrees = stepFromText(txtgirar_->text());
    if (!overlay_.pelocargado || degrees == 0) {
        return;
    }
    if (!opfoto_->isChecked()) {
        services_.dialogs.MsgBox(QStringLiteral("Solo se puede Girar la Fotografía del Cliente/a"),
                                 MessageButtons::Ok, MessageIcon::Information,
                                 QStringLiteral("Error al Intentar Girar el Pelo"));
        return;
    }
    turnPhoto(index, degrees);
}

bool Principal::turnPhoto(int index, int degrees) {
    setMousePointer(kPointerBusy);
    const RotationProgress observer{[this](const QString& text) {
                                        infobprogreso_->setText(text);
                                        infobprogreso_->repaint();
                                    },
                                    [this](int value) {
                                        bprogreso_->setValue(value);
                                        bprogreso_->repaint();
                                    }};
    CompositionServices services = compositionServices();
    const bool turned =
        rotateStep(index, degrees, overlay_, rotation_, buffers_, services, observer);
    if (turned) {
        btnrestauragirar_->setEnabled(true);
    }
    setMousePointer(kPointerDefault);
    return turned;
}

void Principal::btnrestauragirar_Click() {
    if (!rotation_.girado) {
        return;
    }
    setMousePointer(kPointerBusy);
    CompositionServices services = compositionServices();
    restoreRotation(overlay_, rotation_, buffers_, services);
    setMousePointer(kPointerDefault);
    btnrestauragirar_->setEnabled(false);
}

void Principal::txtgirar_GotFocus() {
    txtgirar_->selectAll();
}

}  // namespace crinova
