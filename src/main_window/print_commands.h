#pragma once

#include <QImage>
#include <QObject>
#include <QPointer>
#include <functional>

#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/printer.h"
#include "printing/imprimir.h"

class QAction;
class QWidget;

namespace crinova {

// The print command: "Imprimir" gathers the stored photos of slots 1 ... 6 and opens the print
// dialog over them. Owns the print flags (whether the printer was set up in this run) and the
// dialog, which is made on first use and released when it closes.
class PrintCommands : public QObject {
    Q_OBJECT
  public:
    struct Window {
        QWidget* parent;                     // the dialog's parent window
        std::function<QImage()> logo;        // the logo printed on each page
        std::function<void()> dialogClosed;  // the main window takes the screen back
    };

    PrintCommands(const ProgramFolder& folder, Printer& printer, Dialogs& dialogs, Window window,
                  QObject* parent);

    // The menu entry that runs the command.
    void connectAction(QAction* mnuImprimir);

    void mnuImprimir_Click();

    PrintFlags& flags() { return flags_; }
    Imprimir* imprimir() const { return imprimir_; }

  private:
    const ProgramFolder& folder_;
    Printer& printer_;
    Dialogs& dialogs_;
    Window window_;
    PrintFlags flags_;
    QPointer<Imprimir> imprimir_;
};

}  // namespace crinova
