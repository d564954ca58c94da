#pragma once

#include <array>

#include "main_window/toolbar_buttons.h"

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTimer;
class QToolBar;

namespace crinova {

class ImageControl;
class PictureBox;

// The main window's own controls, each named as its objectName; the window makes them all in
// createControls() and createMenus().
struct PrincipalControls {
    PictureBox* fprincipal = nullptr;
    ImageControl* fotoinicial = nullptr;
    ImageControl* logotipo = nullptr;
    std::array<ImageControl*, 6> Muestrapelos{};
    std::array<ImageControl*, 2> btnpelos{};
    QGroupBox* Fotos = nullptr;
    std::array<ImageControl*, 7> Fotoseleccionada{};  // 1 ... 6; index 0 unused
    QGroupBox* Frame1 = nullptr;
    QRadioButton* opfoto = nullptr;
    QRadioButton* oppelo = nullptr;
    QGroupBox* opciones = nullptr;
    QRadioButton* oppaletal = nullptr;
    QRadioButton* opnuca = nullptr;
    QLabel* opvolver = nullptr;
    QGroupBox* Frame4 = nullptr;
    QCheckBox* ancho = nullptr;
    QCheckBox* alto = nullptr;
    QLineEdit* txtampliar = nullptr;
    std::array<QPushButton*, 2> btnampliar{};
    QGroupBox* Frame3 = nullptr;
    QLineEdit* txtgirar = nullptr;
    std::array<ImageControl*, 2> btngirar{};
    QPushButton* btnrestauragirar = nullptr;
    QProgressBar* bprogreso = nullptr;
    QLineEdit* infobprogreso = nullptr;
    QTimer* Timer1 = nullptr;  // the slide show's pace
    QTimer* Timer2 = nullptr;  // the deferred redraw

    QToolBar* barra = nullptr;
    std::array<QAction*, kBarButtonCount + 1> barraButtons{};  // 1 ... 15; index 0 unused
    QAction* mnupresentacion = nullptr;
};

}  // namespace crinova
