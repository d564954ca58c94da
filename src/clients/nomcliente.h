#pragma once

#include <QWidget>

#include "clients/client_host.h"
#include "platform/dialogs.h"
#include "platform/modeless_window.h"

class QLineEdit;

namespace crinova {

// "Nombre y Codigo del Cliente": a new client's name, code and photo. Released on close.
class Nomcliente : public QWidget {
    Q_OBJECT
  public:
    Nomcliente(Database& database, const ProgramFolder& folder, Dialogs& dialogs, ClientHost& host,
               QWidget* parent);
    ModelessClose& modelessClose() { return *close_; }

    void btnaceptar_Click();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    Database& database_;
    const ProgramFolder& folder_;
    Dialogs& dialogs_;
    ClientHost& host_;
    QLineEdit* txtnombrecliente_ = nullptr;
    QLineEdit* txtcodigo_ = nullptr;
    ModelessClose* close_ = nullptr;
};

// A text box that selects its whole text when it gets the focus, so typing replaces it.
void selectAllOnFocus(QLineEdit* field);

}  // namespace crinova
