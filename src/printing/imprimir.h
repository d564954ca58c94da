#pragma once

#include <QWidget>
#include <array>

#include "platform/activation_watch.h"
#include "platform/dialogs.h"
#include "platform/modeless_window.h"
#include "platform/printer.h"
#include "printing/print_layouts.h"
#include "printing/printed_page.h"

class QCheckBox;
class QGroupBox;
class QPushButton;
class QRadioButton;

namespace crinova {

class ImageControl;

// The print flags the main window keeps for the whole run.
struct PrintFlags {
    int numerofotos = 0;                // stored photos found by the last print command
    bool impresoraconfigurada = false;  // the printer was set up in this run
};

// The print dialog "IMPRIMIR FOTOS": the preview page, the selection of photos for "Una", the
// number of photos per page, the distortion and the printer. Released on close.
class Imprimir : public QWidget {
    Q_OBJECT
  public:
    Imprimir(PrintFlags& flags, Printer& printer, Dialogs& dialogs, const QImage& logo,
             QWidget* parent);
    ModelessClose& modelessClose() { return *close_; }

    // The stored photos in slot order (null pictures after the last); enables the arrangements
    // that divide their number (earlier ones stay enabled).
    void loadPhotos(const std::array<QImage, 6>& photos, int count);

    void opcion_Click(Arrangement arrangement);  // opuna_Click ... opseis_Click
    void btnaumentar_Click();
    void btnreducir_Click();
    void btnconfigurar_Click();
    void btnimprimir_Click();
    void btnvolver_Click();
    void Form_Activate();

    const PrintPreview& preview() const { return preview_; }

  protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void createControls(const QImage& logo);
    // Shows the preview's state on the controls.
    void refresh();
    PrintJob job() const;

    PrintFlags& flags_;
    Printer& printer_;
    Dialogs& dialogs_;
    PrintPreview preview_;
    ActivationWatch activation_;  // a printer question does not drop the distortion

    QGroupBox* Frame1_ = nullptr;
    std::array<ImageControl*, 6> fotos_{};
    std::array<ImageControl*, 6> fseleccion_{};
    std::array<QCheckBox*, 6> cseleccion_{};
    std::array<QRadioButton*, 7> options_{};  // by photos per page, 1 ... 6
    QRadioButton* opaltura_ = nullptr;
    QRadioButton* opanchura_ = nullptr;
    ModelessClose* close_ = nullptr;
};

}  // namespace crinova
