// The menu bar and the toolbar of the main window: captions, names and start states.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

#include "main_window/principal.h"
#include "main_window/toolbar_icons.h"

namespace crinova {
namespace {

struct MenuEntry {
    const char* name;
    const char* caption;  // "-" for a separator
    bool enabled = true;
    bool visible = true;
};

QMenu* addMenu(QMenuBar* bar, const char* name, const char* caption,
               std::initializer_list<MenuEntry> entries) {
    QMenu* menu = bar->addMenu(QString::fromUtf8(caption));
    menu->setObjectName(QString::fromUtf8(name));
    menu->menuAction()->setObjectName(QString::fromUtf8(name));
    for (const MenuEntry& entry : entries) {
        QAction* action = QString::fromUtf8(entry.caption) == QLatin1String("-")
                              ? menu->addSeparator()
                              : menu->addAction(QString::fromUtf8(entry.caption));
        action->setObjectName(QString::fromUtf8(entry.name));
        action->setEnabled(entry.enabled);
        action->setVisible(entry.visible);
    }
    return menu;
}

enum class ButtonKind { Button, Separator, Placeholder };

struct ToolbarButton {
    ButtonKind kind;
    const char* tooltip = "";
    int placeholderWidth = 0;
};

}  // namespace

void Principal::createMenus() {
    QMenuBar* bar = menuBar();
    addMenu(bar, "mnuprincipal", "&Principal",
            {{"mnunuevocliente", "&Nuevo Cliente"},
             {"mnubuscarcliente", "&Buscar Cliente"},
             {"mnuguardarcliente", "&Guardar Ficha Cliente"},
             {"mnueliminar", "&Eliminar Ficha Cliente"},
             {"separador5", "-"},
             {"mnubuscarcabello", "B&uscar Tipos de Cabello"},
             {"mnueliminarpelos", "&Eliminar Cabellos", false},
             {"mnuanadircabello", "A&ñadir Cabello desde Foto"},
             {"mnuImprimir", "&Imprimir"},
             {"mnuexportar", "E&xportar para el Cliente..."},
             {"mnupresentacion", "&Presentación"},
             {"mnuvistacliente", "&Vista para el Cliente"},
             {"separador2", "-"},
             {"mnusalirwindows", "S&alir de Windows 95", false},
             {"separador", "-"},
             {"mnusalir", "&Salir de Crinova"}});
    QMenu* colours = addMenu(bar, "mnucanviocolor", "&Canvio de Color",
                             {{"mnucastaño", "&Kaoba"},
                              {"mnurestaurar", "&Restaurar"},
                              {"mnurubio", "&Rubio", true, false},
                              {"mnuverde", "&Verde", true, false},
                              {"mnunegro", "&Negro", true, false},
                              {"mnufantasia", "&Fantasia", true, false}});
    colours->menuAction()->setVisible(false);
    addMenu(bar, "mnuefectos", "&Imagen",
            {{"mnulimpiar", "&Limpiar Fondo Fotografía"},
             {"mnuguardar", "&Guardar Foto", false},
             {"mnudifuminar", "&Difuminar Cabello"},
             {"mnuajustarcara", "A&justar Cabello a la Cara", false},
             {"mnuajustarclics", "Ajustar Cabello con &Clics", false},
             {"mnucolorcabello", "&Color del Cabello...", false},
             {"mnuocultarpelo", "&Ocultar Pelo Propio", false},
             {"mnucorregirpelo", "Corregir Pelo &Propio...", false},
             {"separador4", "-", true, false},
             {"mnuampliar", "&Ampliar Zona Cabello", true, false}});
    addMenu(bar, "mnubase", "&Base de Datos",
            {{"mnucopiaseguridad", "&Realizar Copia de Seguridad"},
             {"mnurestaurarbase", "R&estaurar Base de Datos"},
             {"mnureparar", "Rep&arar Base de Datos"},
             {"separador6", "-"},
             {"mnuservidor", "&Servidor del Salón..."}});

    controls_.mnupresentacion = action("mnupresentacion");
    action("mnuampliar")->setCheckable(true);
    action("mnudifuminar")->setCheckable(true);

    static const ToolbarButton kButtons[] = {
        {ButtonKind::Button, "Nuevo Cliente"},
        {ButtonKind::Button, "Guardar Ficha Cliente"},
        {ButtonKind::Button, "Eliminar Ficha Cliente"},
        {ButtonKind::Separator},
        {ButtonKind::Button, "Buscar Ficha Cliente"},
        {ButtonKind::Button, "Buscar Tipos de Cabello"},
        {ButtonKind::Separator},
        {ButtonKind::Button, "Guardar Foto"},
        {ButtonKind::Placeholder, "Ampliar Zona Cabello", 0},
        {ButtonKind::Button, "Imprimir"},
        {ButtonKind::Button, "Presentación"},
        {ButtonKind::Separator},
        {ButtonKind::Button, "Realizar Copia de Seguridad"},
        {ButtonKind::Button, "Restaurar Base de Datos"},
        {ButtonKind::Placeholder, "", 10},
    };
    controls_.barra = addToolBar(QStringLiteral("barra"));
    controls_.barra->setObjectName(QStringLiteral("barra"));
    controls_.barra->setMovable(false);
    controls_.barra->setIconSize(QSize(24, 24));
    int index = 1;
    for (const ToolbarButton& button : kButtons) {
        QAction* action = nullptr;
        switch (button.kind) {
            case ButtonKind::Button:
                action = controls_.barra->addAction(QIcon(QPixmap::fromImage(toolbarIcon(index))),
                                                    QString::fromUtf8(button.tooltip));
                action->setToolTip(QString::fromUtf8(button.tooltip));
                break;
            case ButtonKind::Separator:
                action = controls_.barra->addSeparator();
                break;
            case ButtonKind::Placeholder: {
                // An empty gap with no face: it cannot be clicked and shows no tooltip.
                auto* gap = new QWidget(controls_.barra);
                gap->setFixedWidth(button.placeholderWidth);
                action = controls_.barra->addWidget(gap);
                break;
            }
        }
        action->setObjectName(QStringLiteral("barra_%1").arg(index));
        controls_.barraButtons[static_cast<std::size_t>(index)] = action;
        ++index;
    }
}

}  // namespace crinova
