#pragma once

namespace crinova {

// The toolbar's buttons by their place on the bar (1 ... 15); button N's action is `barra_N`.
// Places 4, 7 and 12 are separators and 15 an empty gap at the end.
enum class BarButton : int {
    NewClient = 1,         // "Nuevo Cliente"
    SaveClient = 2,        // "Guardar Ficha Cliente"
    DeleteClient = 3,      // "Eliminar Ficha Cliente"
    FindClient = 5,        // "Buscar Ficha Cliente"
    FindHair = 6,          // "Buscar Tipos de Cabello"
    SavePhoto = 8,         // "Guardar Foto"
    ZoomPlaceholder = 9,   // "Ampliar Zona Cabello": a gap with no face
    Print = 10,            // "Imprimir"
    SlideShow = 11,        // "Presentación"
    Backup = 13,           // "Realizar Copia de Seguridad"
    RestoreDatabase = 14,  // "Restaurar Base de Datos"
};

inline constexpr int kBarButtonCount = 15;

}  // namespace crinova
