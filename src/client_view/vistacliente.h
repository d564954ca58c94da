#pragma once

#include <QImage>
#include <QWidget>
#include <array>
#include <chrono>
#include <functional>
#include <optional>
#include <vector>

#include "client_view/client_view_host.h"
#include "client_view/large_rendering.h"
#include "platform/modeless_window.h"

class QLabel;
class QPushButton;
class QRadioButton;
class QSlider;
class QTabWidget;
class QTimer;

namespace crinova {

class ImageControl;
class ViewPicture;

// "Vista para el Cliente": the look large for the client, on the screen facing the client when
// there is one. Three pages: "Ahora" (the look as it stands, after every recomposition), "Antes y
// Después" (the photo before beside the look, or one picture split by a divider the stylist
// drags) and "Guardadas" (the stored looks; one large at a time, or all as a slide show with the
// slide show's wipe and pace). F11 or a double click toggles full screen; Escape leaves full
// screen, then closes. Released on close.
class Vistacliente : public QWidget {
    Q_OBJECT
  public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    Vistacliente(ClientViewHost host, QWidget* parent);
    ~Vistacliente() override;
    ModelessClose& modelessClose() { return *close_; }

    // Shows the window where it belongs (placeClientView over the screens there are).
    void showPlaced();
    // A new large rendering of the look.
    void showRendering(const LargeRendering& rendering);
    const std::optional<LargeRendering>& rendering() const { return rendering_; }
    // Takes the stored looks again (after a save).
    void reloadSavedLooks();
    QString statusText() const;
    // The wipe's clock (tests step it by hand).
    void setClock(Clock clock) { clock_ = std::move(clock); }

    void tabvista_Change(int index);
    void opladoalado_Click();
    void opdivisor_Click();
    void slddivisor_Change(int value);
    void fguardada_Click(int index);  // 1 to 6, in the order of the stored looks
    void btnpasar_Click();            // starts or stops the slide show
    void tmrpasar_Timer();            // the next stored look, every five seconds
    void tmrcortinilla_Timer();       // the wipe's next step
    void toggleFullScreen();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    bool comparing() const;
    void showComparison();
    void showSaved(int position, bool wipe);
    void stopSlideShow();

    ClientViewHost host_;
    ModelessClose* close_ = nullptr;
    QTabWidget* tabvista_ = nullptr;
    ViewPicture* fahora_ = nullptr;
    ViewPicture* fcomparar_ = nullptr;
    QRadioButton* opladoalado_ = nullptr;
    QRadioButton* opdivisor_ = nullptr;
    QSlider* slddivisor_ = nullptr;
    std::array<ImageControl*, 7> fguardada_{};  // 1 ... 6
    ViewPicture* fguardada0_ = nullptr;         // the look shown large
    QLabel* lblguardada_ = nullptr;
    QPushButton* btnpasar_ = nullptr;
    QTimer* tmrpasar_ = nullptr;
    QTimer* tmrcortinilla_ = nullptr;
    QLabel* infovista_ = nullptr;

    std::optional<LargeRendering> rendering_;
    std::vector<SavedLook> saved_;
    int shownSaved_ = 0;  // position of the look shown large, 1 ...; 0: none
    Clock clock_;
    std::chrono::steady_clock::time_point wipeStart_;
    QImage wipeTarget_;  // the look at the size shown
    QImage wipeFrame_;
};

}  // namespace crinova
