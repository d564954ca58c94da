#pragma once

#include <QObject>
#include <QPointer>
#include <functional>

#include "client_view/large_renderer.h"
#include "client_view/saved_looks.h"
#include "client_view/vistacliente.h"
#include "platform/dialogs.h"
#include "platform/files.h"

class QAction;
class QWidget;

namespace crinova {

// The client's view and what it needs: "&Vista para el Cliente" opens the view, which follows
// every full composition; each stored slot gets its large companion; "E&xportar para el
// Cliente..." writes the stored looks to a folder the stylist chooses. Owns the large renderer.
class ClientViewCommands : public QObject {
    Q_OBJECT
  public:
    // What the commands ask of the main window.
    struct Window {
        QWidget* parent;
        std::function<LargeLook()> currentLook;  // the look on the main picture now
        std::function<LookName()> currentName;   // its style's name and colour
        std::function<QString()> clientName;     // the active client's, or empty
        std::function<QImage()> logo;
        std::function<void(int)> setMousePointer;
    };

    ClientViewCommands(const ProgramFolder& folder, Dialogs& dialogs, Window window,
                       QObject* parent);
    ~ClientViewCommands() override;

    // The two entries; "E&xportar para el Cliente..." is enabled exactly while `mnuImprimir` is.
    void connectActions(QAction* mnuvistacliente, QAction* mnuexportar, QAction* mnuImprimir);

    void mnuvistacliente_Click();
    void mnuexportar_Click();

    // After every full composition: the open view gets the look again.
    void recomposed();
    // Slot N was just written with the look on the main picture: its companion follows.
    void slotSaved(int slot);
    // The program closes: no more rendering, nothing more written.
    void shutdown();

    LargeRenderer& renderer() { return *renderer_; }
    Vistacliente* vistacliente() const { return vistacliente_; }

  private:
    void requestLook();

    const ProgramFolder& folder_;
    Dialogs& dialogs_;
    Window window_;
    LargeRenderer* renderer_ = nullptr;
    QPointer<Vistacliente> vistacliente_;
    bool withBefore_ = false;
};

}  // namespace crinova
