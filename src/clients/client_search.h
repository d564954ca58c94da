#pragma once

#include <QWidget>
#include <optional>
#include <vector>

#include "clients/client_host.h"
#include "platform/dialogs.h"
#include "platform/modeless_window.h"
#include "platform/pictures.h"

class QLineEdit;
class QListWidget;
class QRadioButton;

namespace crinova {

class ImageControl;

// The two client search dialogs: "BUSQUEDA DE CLIENTE" (`buscarcliente`, "&Aceptar" makes the
// chosen client active) and "ELIMINAR FICHA CLIENTE" (`eliminarclientes`, "&Eliminar" deletes the
// chosen client's row). Both search by name or code as the stylist types. Released on close.
class ClientSearch : public QWidget {
    Q_OBJECT
  public:
    enum class Purpose { Buscar, Eliminar };
    ModelessClose& modelessClose() { return *close_; }

    ClientSearch(Purpose purpose, Database& database, const ProgramFolder& folder, Dialogs& dialogs,
                 ClientHost& host, QWidget* parent);

    void opnombre_Click();
    void opcodigo_Click();
    void txtbusqueda_Change();
    void listabusqueda_Click();
    void btnaceptar_Click();
    void btncargarvisita_Click();

    const std::vector<Visit>& visits() const { return visits_; }

    const std::optional<ClientRecord>& chosen() const { return chosen_; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void reloadClients();
    // Lists the matches down to row `row` at least; the rest follow as the list scrolls down.
    void listMatchesTo(int row);
    void showChosen();
    void showVisits();

    Purpose purpose_;
    Database& database_;
    const ProgramFolder& folder_;
    Dialogs& dialogs_;
    ClientHost& host_;
    PictureCache pictures_;
    std::vector<ClientRecord> clients_;  // every client, read once per opening or change
    std::vector<ClientKeys> keys_;       // their search keys, in the same order
    std::vector<std::size_t> shown_;     // the matches, positions in clients_, in order
    std::optional<ClientRecord> chosen_;
    std::vector<Visit> visits_;  // the chosen client's, newest first
    SearchBy searchBy_ = SearchBy::Nombre;

    QRadioButton* opnombre_ = nullptr;
    QRadioButton* opcodigo_ = nullptr;
    QLineEdit* txtbusqueda_ = nullptr;
    QListWidget* listabusqueda_ = nullptr;
    QLineEdit* txtcliente_ = nullptr;
    QLineEdit* txtcodigo_ = nullptr;
    ImageControl* fcliente_ = nullptr;
    QListWidget* listavisitas_ = nullptr;
    ModelessClose* close_ = nullptr;
};

}  // namespace crinova
