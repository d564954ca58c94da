#pragma once

#include <QString>
#include <cstdint>
#include <optional>

#include "overlay/hair_shades.h"
#include "program/folder_names.h"

namespace crinova {

// What is composed over the photo and where. Positions and size deltas are pixels in the buffers;
// names of files are relative to the program folder.
struct OverlayState {
    bool pelocargado = false;  // a hair sample is applied; without it DibujarPelo does nothing
    QString ficheropelo = kDefaultHair;
    QString ficheromascara = kDefaultMask;
    std::int16_t posxfoto = 0;  // top-left corner of the working photo
    std::int16_t posyfoto = 0;
    std::int16_t posxpelo = 0;  // top-left corner of the hair and its mask
    std::int16_t posypelo = 0;
    std::int16_t anchofoto = 0;  // pixels added to the photo's drawn width and height
    std::int16_t altofoto = 0;
    std::int16_t anchopelo = 0;  // pixels added to the hair's drawn width and height
    std::int16_t altopelo = 0;
    double angulo = 0;             // rotation of the working photo; exactly 0 means unrotated
    bool primeravez = true;        // nothing composed since start-up
    bool redibujar = false;        // a dialog closed: the main window recomposes when activated
    bool usarfotocliente = false;  // compose over the active client's photo
    bool clienteactivo = false;
    QString codigocliente;
    QString nombrecliente;
    QString fprograma;  // the client's photo path, held only during a composition
    QString fotobase;   // full path of the default base photo
    QString consulta;   // the text of the last query built

    // "Difuminar Cabello": the hair is blended into the photo instead of cut in with AND/XOR.
    bool difuminar = false;
    // "Color del Cabello": the shade the hair is shown in; none: the style's own colour. It stays
    // when another style is applied.
    std::optional<HairColour> colorelegido;
    // "Ocultar Pelo Propio": the working photo is composed with the client's own hair hidden.
    bool ocultarpelo = false;
    QString fotoactual;  // full path of the working photo last loaded
    // "Aplicar a su propio pelo": the chosen colour goes on the client's own hair on the working
    // photo, and no style is drawn over it.
    bool colorpelopropio = false;
};

}  // namespace crinova
