#pragma once

#include <QMainWindow>

#include "eraser/eraser_editor.h"
#include "platform/dialogs.h"
#include "platform/files.h"

class QAction;

namespace crinova {

class PictureBox;

// What the eraser window asks of the main window.
class EraserHost {
  public:
    virtual ~EraserHost() = default;
    // The editor is closing: the main window takes the screen back.
    virtual void eliminarfondoClosed() = 0;
};

// "ELIMINAR FONDO FOTOGRAFÍA": paints a client photo's background out with a round brush and
// saves the result over the photo. Released on close.
class Eliminarfondo : public QMainWindow {
    Q_OBJECT
  public:
    Eliminarfondo(const ProgramFolder& folder, Dialogs& dialogs, EraserHost& host, QWidget* parent);

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
    EraserHost& host_;
    EraserEditor editor_;
    PictureBox* fprincipal_ = nullptr;
    QAction* mnudesacer_ = nullptr;
    bool closed_ = false;
};

}  // namespace crinova
