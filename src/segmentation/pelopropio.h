#pragma once

#include <QImage>
#include <QWidget>
#include <functional>

#include "platform/modeless_window.h"
#include "segmentation/hair_selection.h"

namespace crinova {

class ImageControl;
class SelectionEditor;

// What the own-hair window asks of the main window.
struct PelopropioHost {
    std::function<void()> corrected;  // the selection changed: hide again, keep, compose
    std::function<QImage()> hidden;   // the working photo with the hair hidden now
};

// "PELO PROPIO": the client's own hair as selected on the working photo, corrected with the brush
// of the hair selection (the same editor), and beside it `fotosinpelo`, the photo with the hair
// hidden, shown again after each stroke.
class Pelopropio : public QWidget {
    Q_OBJECT
  public:
    Pelopropio(PelopropioHost host, QWidget* parent);
    ModelessClose& modelessClose() { return *close_; }

    // Shows `selection` (owned by the main window's photos; null for none) and its result.
    void setSelection(HairSelection* selection);
    SelectionEditor* editor() const { return editor_; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void selectionChanged();

    PelopropioHost host_;
    ModelessClose* close_ = nullptr;
    SelectionEditor* editor_ = nullptr;
    ImageControl* fotosinpelo_ = nullptr;
};

}  // namespace crinova
