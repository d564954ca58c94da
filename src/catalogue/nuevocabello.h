#pragma once

#include <QImage>
#include <QWidget>
#include <optional>

#include "catalogue/own_styles.h"
#include "face/model_eyes.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/modeless_window.h"
#include "platform/record_sets.h"
#include "segmentation/hair_selection.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace crinova {

class ImageControl;
class SelectionEditor;

// What the new-style window asks of the main window.
struct NuevocabelloHost {
    const ProgramFolder& folder;
    Database& database;
    Dialogs& dialogs;
};

// "NUEVO CABELLO DESDE FOTO": turns a photo of a person wearing a hairstyle into a catalogue style.
// The photo is prepared to the model's eyes as a new client's is, the hair selected at once and
// corrected with the brush, and the style saved with its four attributes and its name. Released
// on close; closing with a selection not saved asks first.
class Nuevocabello : public QWidget {
    Q_OBJECT
  public:
    Nuevocabello(NuevocabelloHost host, QWidget* parent);
    ~Nuevocabello() override;
    ModelessClose& modelessClose() { return *close_; }

    void btnabrirfoto_Click();
    void btnguardarcabello_Click();
    void btnvolver_Click();

    // Opens the photo at `path` as "&Abrir Foto" does once the file is chosen.
    void openPhoto(const QString& path);
    HairSelection& selection() { return selection_; }
    bool unsaved() const { return unsaved_; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void createControls();
    void eyeClicked(const QPointF& point);
    // Prepares the opened photo for the eyes on it (its own pixels) and selects the hair.
    void selectOn(const EyePair& eyes);
    void selectionChanged();
    void lengthChanged();
    void showPreview();
    void tell(const QString& text, MessageIcon icon);
    void setBusy(bool on);

    NuevocabelloHost host_;
    ModelessClose* close_ = nullptr;
    SelectionEditor* editor_ = nullptr;
    ImageControl* fotovista_ = nullptr;
    QLabel* lblestado_ = nullptr;
    QComboBox* cbpersona_ = nullptr;
    QComboBox* cblargura_ = nullptr;
    QComboBox* cbtipo_ = nullptr;
    QComboBox* cbcolor_ = nullptr;
    QLineEdit* txtnombrecabello_ = nullptr;
    QPushButton* btnguardarcabello_ = nullptr;

    ModelEyes modelEyes_;
    std::optional<EyePair> model_;
    QImage modelPhoto_;
    QString photoPath_;
    SourcePhoto photo_;
    std::vector<QPointF> clicks_;
    std::optional<StyleSource> reopened_;  // the salon's style this photo was kept for
    EyePair eyes_;                         // on the opened photo, in its own pixels
    HairSelection selection_;
    QString proposedName_;
    bool unsaved_ = false;
};

}  // namespace crinova
