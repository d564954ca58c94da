#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <optional>

#include "clients/client_host.h"
#include "face/photo_preparation.h"
#include "platform/dialogs.h"
#include "platform/modeless_window.h"

class QLineEdit;
class QPushButton;

namespace crinova {

class Camara;
class ImageControl;

// The working copy of a chosen photo, or nothing when the photo can be used as it is.
using PhotoPreparer = std::function<std::optional<PreparedPhoto>(const QImage&)>;

// "Nombre y Codigo del Cliente": a new client's name, code and photo. Released on close.
//
// With a `prepare` step, a photo that needs it (a camera's, of another size than the main picture)
// is shown prepared in the dialog and, once the stylist takes it, written as
// "\clientes\<code>.jpg", which becomes the client's photo, with its large companion made from the
// chosen file through the same preparation; the chosen file is left untouched.
class Nomcliente : public QWidget {
    Q_OBJECT
  public:
    Nomcliente(Database& database, const ProgramFolder& folder, Dialogs& dialogs, ClientHost& host,
               QWidget* parent, PhotoPreparer prepare = {});
    ModelessClose& modelessClose() { return *close_; }
    // The prepared photo shown before it is taken; hidden when there is none.
    ImageControl* fotopreparada() const { return fotopreparada_; }

    void btnaceptar_Click();
    // "&Cámara...": the camera window, whose still comes back through useStill.
    void btncamara_Click();
    // Takes a camera's still as the client's photo, as "&Aceptar" takes a chosen file, the still
    // written whole first as "\clientes\<code>-original.jpg" (numbered when that name is taken).
    // Answers whether the client was registered; if not, nothing of the still is left behind.
    bool useStill(const QImage& still);
    Camara* camara() const;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    // Prepares the photo when it needs it and asks the stylist; answers the name to store, or
    // nothing when the stylist declined or the copy could not be written (then `written` is
    // empty). `written` is the full path of a copy made, to remove if the client is not added.
    std::optional<QString> preparedPhotoName(const QString& codigo, const QString& photo,
                                             const QImage& picture, QString* written);
    void showPrepared(const QImage& picture);
    // Writes the still being used; answers its full path, or nothing after telling the stylist.
    QString writeStill(const QString& codigo);

    Database& database_;
    const ProgramFolder& folder_;
    Dialogs& dialogs_;
    ClientHost& host_;
    PhotoPreparer prepare_;
    ImageControl* fotopreparada_ = nullptr;
    QLineEdit* txtnombrecliente_ = nullptr;
    QLineEdit* txtcodigo_ = nullptr;
    ModelessClose* close_ = nullptr;
    QPointer<Camara> camara_;
    QImage still_;       // while useStill runs
    QString stillFile_;  // where it was written
    bool closing_ = false;
};

// A text box that selects its whole text when it gets the focus, so typing replaces it.
void selectAllOnFocus(QLineEdit* field);

// Makes `button` the default button of `window`: Enter there presses it, as in a dialog, unless
// another button has the focus, which then takes its own Enter.
void pressOnEnter(QWidget* window, QPushButton* button);

}  // namespace crinova
