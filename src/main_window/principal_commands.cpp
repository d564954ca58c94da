// The commands of the menus and the toolbar, and the wiring of every control to its procedure.
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "main_window/principal.h"
#include "platform/event_hook.h"
#include "platform/image_control.h"
#include "platform/picture_box.h"
#include "platform/pointers.h"

namespace crinova {
QAction* Principal::action(const char* name) const {
    // Only the main window's own menus: the editor windows have entries of the same names.
    return menuBar()->findChild<QAction*>(QString::fromUtf8(name));
}

void Principal::connectControls() {
    for (int i = 0; i < 6; ++i) {
        connect(Muestrapelos_[static_cast<std::size_t>(i)], &ImageControl::clicked, this,
                [this, i] { Muestrapelos_Click(i); });
    }
    connect(oppaletal_, &QRadioButton::clicked, this, &Principal::oppaletal_Click);
    connect(opnuca_, &QRadioButton::clicked, this, &Principal::opnuca_Click);
    connect(opfoto_, &QRadioButton::clicked, this, &Principal::opfoto_Click);
    connect(oppelo_, &QRadioButton::clicked, this, &Principal::oppelo_Click);
    new EventHook(opvolver_, QEvent::MouseButtonRelease, [this] { opvolver_Click(); });
    connect(fprincipal_, &PictureBox::mouseDown, this, &Principal::fprincipal_MouseDown);
    connect(fprincipal_, &PictureBox::mouseMove, this, &Principal::fprincipal_MouseMove);
    connect(fprincipal_, &PictureBox::mouseUp, this, &Principal::fprincipal_MouseUp);

    const std::pair<const char*, void (Principal::*)()> commands[] = {
        {"mnunuevocliente", &Principal::mnunuevocliente_Click},
        {"mnubuscarcliente", &Principal::mnubuscarcliente_Click},
        {"mnueliminar", &Principal::mnueliminar_Click},
        {"mnurestaurar", &Principal::mnurestaurar_Click},
        {"mnuguardar", &Principal::mnuguardar_Click},
        {"mnupresentacion", &Principal::mnupresentacion_Click},
        {"mnulimpiar", &Principal::mnulimpiar_Click},
        {"mnuguardarcliente", &Principal::mnuguardarcliente_Click},
        {"mnueliminarpelos", &Principal::mnueliminarpelos_Click},
        {"mnusalirwindows", &Principal::mnusalirwindows_Click},
        {"mnusalir", &Principal::mnusalir_Click},
    };
    for (const auto& [name, procedure] : commands) {
        connect(action(name), &QAction::triggered, this, procedure);
    }
    connect(action("mnudifuminar"), &QAction::toggled, this, &Principal::mnudifuminar_Click);
    for (int index = 1; index <= kBarButtonCount; ++index) {
        connect(barraButtons_[static_cast<std::size_t>(index)], &QAction::triggered, this,
                [this, index] { barra_ButtonClick(index); });
    }
}

void Principal::barra_ButtonClick(int index) {
    switch (static_cast<BarButton>(index)) {
        case BarButton::NewClient:
            mnunuevocliente_Click();
            break;
        case BarButton::SaveClient:
            mnuguardarcliente_Click();
            break;
        case BarButton::DeleteClient:
            mnueliminar_Click();
            break;
        case BarButton::FindClient:
            mnubuscarcliente_Click();
            break;
        case BarButton::FindHair:
            catalogueCommands_->mnubuscarcabello_Click();
            break;
        case BarButton::SavePhoto:
            mnuguardar_Click();
            break;
        case BarButton::Print:
            printCommands_->mnuImprimir_Click();
            break;
        case BarButton::SlideShow:
            mnupresentacion_Click();
            break;
        case BarButton::RestoreDatabase:
            databaseCommands_->mnurestaurarbase_Click();
            break;
        default:
            // Separators, placeholders and button 13 run nothing; the other commands arrive
            // with their own windows.
            break;
    }
}

bool Principal::clientCommandAllowed() {
    if (!overlay_.pelocargado) {
        services_.dialogs.MsgBox(
            QStringLiteral("Antes de Comenzar con un Nuevo Cliente/a, Seleccione algún Cabello"),
            MessageButtons::Ok, MessageIcon::Information, QStringLiteral("CRINOVA"));
        return false;
    }
    return true;
}

void Principal::mnurestaurar_Click() {
    DibujarPelo();
}

void Principal::mnudifuminar_Click() {
    overlay_.difuminar = action("mnudifuminar")->isChecked();
    DibujarPelo();
}

}  // namespace crinova
