#pragma once

#include <QMetaObject>
#include <QObject>
#include <QPointF>
#include <QPointer>
#include <functional>
#include <optional>
#include <vector>

#include "face/eye_finder.h"
#include "face/face_fit.h"
#include "face/framing_guide.h"
#include "face/model_eyes.h"
#include "face/photo_preparation.h"
#include "overlay/overlay_state.h"
#include "overlay/picture_buffers.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/record_sets.h"

class QAction;
class QLabel;
class QWidget;

namespace crinova {

class PictureBox;

// Fitting the applied hair to the client's face: "A&justar Cabello a la Cara" finds the eyes on
// the working photo and fits at once; "Ajustar Cabello con &Clics" (or a search that found no
// eyes) lets the stylist click the two eyes on the main picture. A tilted eye line is levelled
// first by one rotation step, as the rotation buttons take it. Owns both entries, whose enabled
// state follows "&Guardar Foto", and the two-click mode. Also prepares a new client's photo.
class FaceCommands : public QObject {
    Q_OBJECT
  public:
    struct Window {
        QWidget* window;  // the main window: a press on any other of its controls leaves the mode
        PictureBox* fprincipal;
        OverlayState& overlay;
        PictureBuffers& buffers;
        std::function<bool()> compose;  // the full composition
        // One rotation step of the working photo (index 0 counter-clockwise), as the rotation
        // buttons take it; answers false when nothing was turned.
        std::function<bool(int index, int degrees)> turnPhoto;
        std::function<void(int)> setPointer;  // the window's pointer code
        std::function<double()> turnedBy;     // radians the working photo is turned by, or 0
    };

    FaceCommands(const ProgramFolder& folder, Database& database, Dialogs& dialogs, Window window,
                 QObject* parent);
    ~FaceCommands() override;

    // The two entries, enabled exactly while `mnuguardar` is.
    void connectActions(QAction* mnuajustarcara, QAction* mnuajustarclics, QAction* mnuguardar);

    void mnuajustarcara_Click();
    void mnuajustarclics_Click();

    // The two-click mode for another command (`title` names it in refusals): `done` gets the
    // clicked eyes on the working photo as loaded, before any turn.
    void clickEyes(std::function<void(const EyePair& onPhoto)> done, const char* title);

    bool clickMode() const { return clickMode_; }
    // Leaves the two-click mode with nothing changed.
    void leaveClickMode();

    // A working copy of a new client's photo at the main picture's size, or nothing when the photo
    // already has that size.
    std::optional<PreparedPhoto> prepareClientPhoto(const QImage& photo);
    // Where prepareClientPhoto puts the eyes: the main picture's size and the model's eyes.
    EyeTarget clientPhotoTarget();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // The model's eyes, told to the stylist when they are not known.
    std::optional<EyePair> modelEyes();
    // The eyes on the working photo, on the screen.
    EyeSearch searchWorkingPhoto(std::optional<EyePair>* screen);
    void tellEyesNotFound(const EyeSearch& search);
    // The fit of `client` (screen eyes), levelling a tilted line first. After the turn the eyes
    // are looked for again when `searchAgain`, otherwise (or when not found) the points are turned
    // with the photo.
    void fitTo(const EyePair& model, EyePair client, bool searchAgain);
    void enterClickMode();
    void clickAt(const QPointF& at);
    EyePair onUnturnedPhoto(const EyePair& screen) const;
    // The instruction beside the pointer: what to click next, kept next to `pointer` (a point of
    // the main picture) and inside it.
    void instruct(const char* text);
    void placeInstruction(const QPointF& pointer);
    QSize mainSize() const;

    const ProgramFolder& folder_;
    Database& database_;
    Dialogs& dialogs_;
    Window window_;
    ModelEyes modelEyes_;
    QPointer<QAction> mnuajustarclics_;
    QPointer<QAction> mnuajustarcara_;

    bool clickMode_ = false;
    std::optional<QPointF> firstClick_;
    std::function<void(const EyePair&)> clickedFor_;  // empty: the clicks are for the fit
    const char* clickTitle_ = kFitTitle;
    // The release that follows a counted press is swallowed too, so no drag ever ends there.
    bool swallowRelease_ = false;
    int pointerBefore_ = 0;
    QPointer<QLabel> indicacionclic_;
    std::vector<QMetaObject::Connection> otherCommands_;
};

}  // namespace crinova
