#pragma once

#include <QMainWindow>

#include "eraser/eraser_editor.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/modeless_window.h"

class QAction;

namespace crinova {

class PictureBox;

// "ELIMINAR FONDO FOTOGRAFÍA": paints a client photo's background out with a round brush and
// saves the result over the photo. Released on close.
class Eliminarfondo : public QMainWindow {
    Q_OBJECT
  public:
    Eliminarfondo(const ProgramFolder& folder, Dialogs& dialogs, QWidget* parent);
    ModelessClose& modelessClose() { return *close_; }

    void mnuabrir_Click();
    void mnuguardar_Click();
    void mnudesacer_Click();
    void mnurecuperar_Click();
    void mnucolor_Click();
    void mnuvolver_Click();
    void fprincipal_MouseDown(int buttons, int shift, double x, double y);
    void fprincipal_MouseMove(int buttons, int shift, double x, double y);

    EraserEditor& editor() { return editor_; }
    PictureBox* fprincipal() const { return fprincipal_; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void createMenus();
    void chooseBrush(EraserEditor::Brush brush, QAction* entry);
    // Fits the window around the photo, shown at (5, 5).
    void fitToPhoto();

    const ProgramFolder& folder_;
    Dialogs& dialogs_;
    EraserEditor editor_;
    PictureBox* fprincipal_ = nullptr;
    QAction* mnudesacer_ = nullptr;
    ModelessClose* close_ = nullptr;
};

}  // namespace crinova
