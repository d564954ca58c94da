#pragma once

#include <QWidget>
#include <functional>
#include <optional>

#include "overlay/hair_shades.h"
#include "platform/dialogs.h"
#include "platform/modeless_window.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSlider;

namespace crinova {

// What the colour window asks of the main window.
struct ColourHost {
    QWidget* parent;
    Dialogs& dialogs;
    std::function<std::optional<HairColour>()> chosen;           // the colour shown now, if any
    std::function<void(const std::optional<HairColour>&)> show;  // shows a colour on the photo
    std::function<bool()> strandsHaveDirection;                  // of the style applied now
    std::function<bool()> ownHairSelected;  // the client's own hair has been selected
    std::function<bool()> selectOwnHair;    // selects it now; false when there is none
    // The colour goes on the client's own hair (true) or on the style (false).
    std::function<void(bool)> colourOwnHair;
    std::function<bool()> ownHairColoured;  // the colour is on her own hair now
};

// "COLOR DEL CABELLO": the shade as the salon writes it (level and reflection, or a fantasy
// colour), its intensity, streaks or balayage in a second shade, and the way back to the style's
// own colour. Every change shows on the photo at once. Released on close; the colour stays.
class Colorcabello : public QWidget {
    Q_OBJECT
  public:
    explicit Colorcabello(ColourHost host);
    ModelessClose& modelessClose() { return *close_; }

    // Another style was applied: "Mechas" is offered only where its strands run clearly one way.
    void styleChanged();

    void cbaltura_Click();
    void cbreflejo_Click();
    void btnfantasia_Click();
    void sldintensidad_Change();
    void cmechas_Click();
    void cbalayage_Click();
    void cbalturamechas_Click();  // also the second shade's reflection
    void cpelopropio_Click();
    void btncolororiginal_Click();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void createControls();
    void showChoice();  // the controls from choice_
    void apply();       // the choice (or none) onto the photo

    ColourHost host_;
    ModelessClose* close_ = nullptr;
    HairColour choice_;
    bool active_ = false;  // a colour is shown; otherwise the style's own

    QComboBox* cbaltura_ = nullptr;
    QComboBox* cbreflejo_ = nullptr;
    QLabel* lbltono_ = nullptr;
    QLabel* fmuestra_ = nullptr;
    QPushButton* btnfantasia_ = nullptr;
    QSlider* sldintensidad_ = nullptr;
    QLabel* lblintensidad_ = nullptr;
    QCheckBox* cmechas_ = nullptr;
    QCheckBox* cbalayage_ = nullptr;
    QComboBox* cbalturamechas_ = nullptr;
    QComboBox* cbreflejomechas_ = nullptr;
    QLabel* fmuestramechas_ = nullptr;
    QCheckBox* cpelopropio_ = nullptr;
    QPushButton* btncolororiginal_ = nullptr;
    QPushButton* btncerrar_ = nullptr;
};

}  // namespace crinova
