// Zoom and rotation commands of the main window.
#include "main_window/geometry_commands.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "geometry/zoom.h"
#include "platform/event_hook.h"
#include "platform/image_control.h"
#include "platform/picture_box.h"
#include "platform/pointers.h"

namespace crinova {

GeometryCommands::GeometryCommands(OverlayState& overlay, PictureBuffers& buffers, Dialogs& dialogs,
                                   Controls controls, Window window, QObject* parent)
    : QObject(parent),
      overlay_(overlay),
      buffers_(buffers),
      dialogs_(dialogs),
      controls_(controls),
      window_(std::move(window)) {
    connectControls();
}

void GeometryCommands::connectControls() {
    for (int i = 0; i < 2; ++i) {
        connect(controls_.btnampliar[static_cast<std::size_t>(i)], &QPushButton::clicked, this,
                [this, i] { btnampliar_Click(i); });
        connect(controls_.btngirar[static_cast<std::size_t>(i)], &ImageControl::clicked, this,
                [this, i] { btngirar_Click(i); });
    }
    connect(controls_.btnrestauragirar, &QPushButton::clicked, this,
            &GeometryCommands::btnrestauragirar_Click);
    // Select after the click that gave the focus has placed the cursor.
    new EventHook(controls_.txtampliar, QEvent::FocusIn,
                  [this] { QTimer::singleShot(0, this, &GeometryCommands::txtampliar_GotFocus); });
    new EventHook(controls_.txtgirar, QEvent::FocusIn,
                  [this] { QTimer::singleShot(0, this, &GeometryCommands::txtgirar_GotFocus); });
    // "&Ampliar Zona Cabello": a cross-hair over the photo while checked, the size-all arrow when
    // not.
    connect(controls_.mnuampliar, &QAction::toggled, this, [this](bool checked) {
        controls_.fprincipal->setPointer(checked ? kPointerCross : kPointerMove);
    });
}

void GeometryCommands::btnampliar_Click(int index) {
    const ZoomDimensions dimensions{controls_.ancho->isChecked(), controls_.alto->isChecked()};
    if (!dimensions.ancho && !dimensions.alto) {
        dialogs_.MsgBox(QStringLiteral("Para Ampliar o Reducir tiene que Seleccionar Ancho o Alto"),
                        MessageButtons::Ok, MessageIcon::Information,
                        QStringLiteral("Error Faltan Datos"));
        return;
    }
    window_.setMousePointer(kPointerBusy);
    const DragTarget target = controls_.opfoto->isChecked() ? DragTarget::Foto : DragTarget::Pelo;
    const ZoomOutcome outcome = applyZoomStep(
        overlay_, target, dimensions, stepFromText(controls_.txtampliar->text()), index == 0);
    if (outcome == ZoomOutcome::OutOfRange) {
        window_.setMousePointer(kPointerDefault);
        dialogs_.MsgBox(
            QStringLiteral("No se puede Ampliar o Reducir más: el tamaño ha llegado a su límite."),
            MessageButtons::Ok, MessageIcon::Information, QStringLiteral("Error Tamaño"));
        return;
    }
    CompositionServices services = window_.compositionServices();
    DibujarPelo(overlay_, buffers_, services);
    buffers_.temporal1.EmptyPicture();
    buffers_.temporal2.EmptyPicture();
    window_.setMousePointer(kPointerDefault);
}

void GeometryCommands::txtampliar_GotFocus() {
    controls_.txtampliar->selectAll();
}

void GeometryCommands::mnuampliar_Click() {
    // A menu choice toggles the checkable entry itself before this would run, so the menu does not
    // call it; either way the pointer follows the mark (connectControls).
    controls_.mnuampliar->toggle();
}

void GeometryCommands::btngirar_Click(int index) {
    const int degrees = stepFromText(controls_.txtgirar->text());
    if (!overlay_.pelocargado || degrees == 0) {
        return;
    }
    if (!controls_.opfoto->isChecked()) {
        dialogs_.MsgBox(QStringLiteral("Solo se puede Girar la Fotografía del Cliente/a"),
                        MessageButtons::Ok, MessageIcon::Information,
                        QStringLiteral("Error al Intentar Girar el Pelo"));
        return;
    }
    turnPhoto(index, degrees);
}

bool GeometryCommands::turnPhoto(int index, int degrees) {
    window_.setMousePointer(kPointerBusy);
    const RotationProgress observer{[this](const QString& text) {
                                        controls_.infobprogreso->setText(text);
                                        controls_.infobprogreso->repaint();
                                    },
                                    [this](int value) {
                                        controls_.bprogreso->setValue(value);
                                        controls_.bprogreso->repaint();
                                    }};
    CompositionServices services = window_.compositionServices();
    const bool turned =
        rotateStep(index, degrees, overlay_, rotation_, buffers_, services, observer);
    if (turned) {
        controls_.btnrestauragirar->setEnabled(true);
    }
    window_.setMousePointer(kPointerDefault);
    return turned;
}

void GeometryCommands::btnrestauragirar_Click() {
    if (!rotation_.girado) {
        return;
    }
    window_.setMousePointer(kPointerBusy);
    CompositionServices services = window_.compositionServices();
    restoreRotation(overlay_, rotation_, buffers_, services);
    window_.setMousePointer(kPointerDefault);
    controls_.btnrestauragirar->setEnabled(false);
}

void GeometryCommands::txtgirar_GotFocus() {
    controls_.txtgirar->selectAll();
}

void GeometryCommands::turnAgain() {
    CompositionServices services = window_.compositionServices();
    rotateAgain(overlay_, rotation_, buffers_, services);
}

void GeometryCommands::forgetRotation() {
    rotation_ = RotationState{};
    controls_.btnrestauragirar->setEnabled(false);
}

}  // namespace crinova
