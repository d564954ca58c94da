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
QAction* Principal::barButton(BarButton button) const {
    return controls_.barraButtons[static_cast<std::size_t>(button)];
}

QAction* Principal::action(const char* name) const {
    // Only the main window's own menus: the editor windows have entries of the same names.
    return menuBar()->findChild<QAction*>(QString::fromUtf8(name));
}

void Principal::connectControls() {
    for (int i = 0; i < 6; ++i) {
        connect(controls_.Muestrapelos[static_cast<std::size_t>(i)], &ImageControl::clicked, this,
                [this, i] { Muestrapelos_Click(i); });
    }
    connect(controls_.oppaletal, &QRadioButton::clicked, this, &Principal::oppaletal_Click);
    connect(controls_.opnuca, &QRadioButton::clicked, this, &Principal::opnuca_Click);
    connect(controls_.opfoto, &QRadioButton::clicked, this, &Principal::opfoto_Click);
    connect(controls_.oppelo, &QRadioButton::clicked, this, &Principal::oppelo_Click);
    new EventHook(controls_.opvolver, QEvent::MouseButtonRelease, [this] { opvolver_Click(); });
    connect(controls_.fprincipal, &PictureBox::mouseDown, this, &Principal::fprincipal_MouseDown);
    connect(controls_.fprincipal, &PictureBox::mouseMove, this, &Principal::fprincipal_MouseMove);
    connect(controls_.fprincipal, &PictureBox::mouseUp, this, &Principal::fprincipal_MouseUp);

    const std::pair<const char*, void (Principal::*)()> commands[] = {
        {"mnurestaurar", &Principal::mnurestaurar_Click},
        {"mnulimpiar", &Principal::mnulimpiar_Click},
        {"mnusalirwindows", &Principal::mnusalirwindows_Click},
        {"mnusalir", &Principal::mnusalir_Click},
    };
    for (const auto& [name, procedure] : commands) {
        connect(action(name), &QAction::triggered, this, procedure);
    }
    connect(action("mnudifuminar"), &QAction::toggled, this, &Principal::mnudifuminar_Click);
    for (int index = 1; index <= kBarButtonCount; ++index) {
        connect(controls_.barraButtons[static_cast<std::size_t>(index)], &QAction::triggered, this,
                [this, index] { barra_ButtonClick(index); });
    }
}

void Principal::barra_ButtonClick(int index) {
    switch (static_cast<BarButton>(index)) {
        case BarButton::NewClient:
            clientCommands_->mnunuevocliente_Click();
            break;
        case BarButton::SaveClient:
            clientCommands_->mnuguardarcliente_Click();
            break;
        case BarButton::DeleteClient:
            clientCommands_->mnueliminar_Click();
            break;
        case BarButton::FindClient:
            clientCommands_->mnubuscarcliente_Click();
            break;
        case BarButton::FindHair:
            catalogueCommands_->mnubuscarcabello_Click();
            break;
        case BarButton::SavePhoto:
            slotCommands_->mnuguardar_Click();
            break;
        case BarButton::Print:
            printCommands_->mnuImprimir_Click();
            break;
        case BarButton::SlideShow:
            slotCommands_->mnupresentacion_Click();
            break;
        case BarButton::Backup:
            // A backup button that silently made no backup would let the stylist believe there
            // was one: it runs its menu twin like every other button.
            databaseCommands_->mnucopiaseguridad_Click();
            break;
        case BarButton::RestoreDatabase:
            databaseCommands_->mnurestaurarbase_Click();
            break;
        default:
            // Separators and placeholders run nothing; the other commands arrive with their own
            // windows.
            break;
    }
}

void Principal::mnurestaurar_Click() {
    DibujarPelo();
}

void Principal::mnudifuminar_Click() {
    overlay_.difuminar = action("mnudifuminar")->isChecked();
    DibujarPelo();
}

}  // namespace crinova
