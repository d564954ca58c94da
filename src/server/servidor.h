#pragma once

#include <QWidget>
#include <optional>

#include "platform/dialogs.h"
#include "platform/modeless_window.h"
#include "server/server_host.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace crinova {

// "SERVIDOR DEL SALÓN": where the salon's server is and who logs in, tried and connected from
// here, or back to this computer alone. A saved password is never shown again: the field stays
// empty and says it is remembered. Released on close.
class Servidor : public QWidget {
    Q_OBJECT
  public:
    Servidor(ServerHost host, Dialogs& dialogs, QWidget* parent);
    ModelessClose& modelessClose() { return *close_; }

    void btnprobar_Click();
    void btnconectar_Click();
    void btnlocal_Click();
    void btnsubir_Click();
    // Asks for the password (the server wants one and none is remembered).
    void askPassword(const QString& why);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    // The typed settings, or nothing after telling the stylist what is missing or wrong.
    std::optional<ServerSettings> typedSettings();
    void showSaved(const ServerSettings& settings);
    void setWaiting(bool waiting);

    ServerHost host_;
    Dialogs& dialogs_;
    QLineEdit* txtservidor_ = nullptr;
    QLineEdit* txtpuerto_ = nullptr;
    QLineEdit* txtbasedatos_ = nullptr;
    QLineEdit* txtusuario_ = nullptr;
    QLineEdit* txtclave_ = nullptr;
    QCheckBox* cclaverecordar_ = nullptr;
    QCheckBox* ccifrado_ = nullptr;
    QLabel* lblestado_ = nullptr;
    QList<QPushButton*> buttons_;
    ModelessClose* close_ = nullptr;
};

}  // namespace crinova
