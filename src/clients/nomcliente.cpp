#include "clients/nomcliente.h"

#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QTimer>
#include <QValidator>

#include <algorithm>
#include <utility>

#include "clients/camara.h"
#include "platform/event_hook.h"
#include "platform/image_control.h"
#include "platform/pictures.h"
#include "platform/pointers.h"
#include "program/client_files.h"
#include "program/folder_names.h"
#include "program/large_companions.h"

namespace crinova {
namespace {

constexpr int kDialogWidth = 360;
constexpr int kDialogHeight = 130;

// "\clientes\<code><tag>.jpg", or with a number when that name or its large companion's is taken:
// whatever holds it (the chosen photo itself, a file left by a deleted record, the photo of a
// client whose code ends in "-grande") is never overwritten.
QString freePhotoName(const ProgramFolder& folder, const QString& codigo,
                      const QString& suffix = QStringLiteral("jpg"), const QString& tag = {}) {
    const QString stem = clientFolderName(codigo) + tag;
    const auto taken = [&folder](const QString& name) {
        const QString path = folder.fullPath(name);
        const QStringList companions = largeCompanionCandidates(path);
        return QFileInfo::exists(path) ||
               std::any_of(companions.begin(), companions.end(),
                           [](const QString& companion) { return QFileInfo::exists(companion); });
    };
    QString name = stem + QLatin1Char('.') + suffix;
    for (int n = 2; taken(name); ++n) {
        name = stem + QStringLiteral("-%1.").arg(n) + suffix;
    }
    return name;
}

// The chosen photo's name as stored: as it is when it lies under "\clientes\", else the name of a
// copy made there, since client photos are opened from there only. `written` is the copy's path.
std::optional<QString> photoInClients(const ProgramFolder& folder, const QString& codigo,
                                      const QString& photo, QString* written, QString* error) {
    const QString stored = storedPhotoName(folder, photo);
    if (!clientPhotoPath(folder, stored).isEmpty()) {
        return stored;
    }
    const QString suffix = QFileInfo(photo).suffix().toLower() == QLatin1String("bmp")
                               ? QStringLiteral("bmp")
                               : QStringLiteral("jpg");
    const QString name = freePhotoName(folder, codigo, suffix);
    QDir().mkpath(folder.fullPath(kClientsFolder));
    if (!QFile::copy(photo, folder.fullPath(name))) {
        *error = QStringLiteral("No se ha podido copiar la foto %1 en %2.")
                     .arg(photo, folder.fullPath(name));
        return std::nullopt;
    }
    *written = folder.fullPath(name);
    return name;
}

// Writes a JPEG whole or not at all; a prepared photo says whether its face was found.
bool saveJpeg(const QImage& picture, const QString& path, QString* error,
              std::optional<bool> faceFound = std::nullopt) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        QImageWriter writer(&file, "jpg");
        writer.setQuality(95);
        if (faceFound) {
            writer.setText(QString::fromLatin1(kPreparedFaceKey),
                           QString::fromLatin1(*faceFound ? "si" : "no"));
        }
        if (writer.write(picture) && file.commit()) {
            return true;
        }
    }
    *error = QStringLiteral("No se ha podido escribir la foto preparada %1.").arg(path);
    return false;
}

// Refuses, as they are typed or pasted, characters that would hide what a name or code says.
class PlainTextValidator : public QValidator {
  public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        return hasHiddenCharacters(input) ? Invalid : Acceptable;
    }
};

class DefaultButton : public QObject {
  public:
    DefaultButton(QWidget* window, QPushButton* button) : QObject(window), button_(button) {
        button->setDefault(true);
        window->installEventFilter(this);
    }

  protected:
    // Sees the keys that the control with the focus left alone (a text box leaves Enter).
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) {
            return false;
        }
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter) {
            return false;
        }
        auto* focused = qobject_cast<QPushButton*>(static_cast<QWidget*>(watched)->focusWidget());
        QPushButton* pressed = focused ? focused : button_.data();
        if (pressed && pressed->isEnabled() && pressed->isVisible()) {
            pressed->click();
        }
        return true;
    }

  private:
    QPointer<QPushButton> button_;
};

}  // namespace

void pressOnEnter(QWidget* window, QPushButton* button) {
    new DefaultButton(window, button);
}

void selectAllOnFocus(QLineEdit* field) {
    // After the click that gave the focus has placed the cursor.
    new EventHook(field, QEvent::FocusIn,
                  [field] { QTimer::singleShot(0, field, [field] { field->selectAll(); }); });
}

Nomcliente::Nomcliente(Database& database, const ProgramFolder& folder, Dialogs& dialogs,
                       ClientHost& host, QWidget* parent, PhotoPreparer prepare)
    : QWidget(parent, Qt::Window),
      database_(database),
      folder_(folder),
      dialogs_(dialogs),
      host_(host),
      prepare_(std::move(prepare)) {
    setObjectName(QStringLiteral("nomcliente"));
    setWindowTitle(QStringLiteral("Nombre y Codigo del Cliente"));
    close_ = new ModelessClose(this);
    setFixedSize(kDialogWidth, kDialogHeight);
    auto* label2 = new QLabel(QStringLiteral("Nombre Cliente:"), this);
    label2->setObjectName(QStringLiteral("Label2"));
    label2->setGeometry(12, 14, 110, 22);
    txtnombrecliente_ = new QLineEdit(this);
    txtnombrecliente_->setObjectName(QStringLiteral("txtnombrecliente"));
    txtnombrecliente_->setGeometry(125, 12, 222, 24);
    auto* label1 = new QLabel(QStringLiteral("Código Cliente:"), this);
    label1->setObjectName(QStringLiteral("Label1"));
    label1->setGeometry(12, 48, 110, 22);
    txtcodigo_ = new QLineEdit(this);
    txtcodigo_->setObjectName(QStringLiteral("txtcodigo"));
    txtcodigo_->setGeometry(125, 46, 120, 24);
    selectAllOnFocus(txtnombrecliente_);
    selectAllOnFocus(txtcodigo_);
    txtnombrecliente_->setValidator(new PlainTextValidator(txtnombrecliente_));
    txtcodigo_->setValidator(new PlainTextValidator(txtcodigo_));
    auto* btnaceptar = new QPushButton(QStringLiteral("&Aceptar"), this);
    btnaceptar->setObjectName(QStringLiteral("btnaceptar"));
    btnaceptar->setGeometry(140, 92, 100, 28);
    auto* btncancelar = new QPushButton(QStringLiteral("&Cancelar"), this);
    btncancelar->setObjectName(QStringLiteral("btncancelar"));
    btncancelar->setGeometry(247, 92, 100, 28);
    auto* btncamara = new QPushButton(QStringLiteral("&Cámara..."), this);
    btncamara->setObjectName(QStringLiteral("btncamara"));
    btncamara->setGeometry(12, 92, 100, 28);
    // Below the fields, shown only while a prepared photo waits for the stylist's word.
    fotopreparada_ = new ImageControl(this, false);
    fotopreparada_->setObjectName(QStringLiteral("fotopreparada"));
    fotopreparada_->setGeometry(30, kDialogHeight, 300, 320);
    fotopreparada_->setFramed(true);
    fotopreparada_->setVisible(false);
    connect(btnaceptar, &QPushButton::clicked, this, &Nomcliente::btnaceptar_Click);
    connect(btncancelar, &QPushButton::clicked, this, &QWidget::close);
    pressOnEnter(this, btnaceptar);
    connect(btncamara, &QPushButton::clicked, this, &Nomcliente::btncamara_Click);
}

void Nomcliente::btnaceptar_Click() {
    const QString title = QStringLiteral("Nuevo Cliente");
    const ClientRecord typed{txtcodigo_->text().trimmed(), txtnombrecliente_->text().trimmed(), {}};
    if (typed.nombre.isEmpty() || typed.codigo.isEmpty()) {
        dialogs_.MsgBox(QStringLiteral("Tiene que escribir el Nombre y el Código del Cliente/a"),
                        MessageButtons::Ok, MessageIcon::Information,
                        QStringLiteral("Error Faltan Datos"));
        return;
    }
    if (hasHiddenCharacters(typed.nombre) || hasHiddenCharacters(typed.codigo)) {
        dialogs_.MsgBox(QStringLiteral("El Nombre o el Código lleva caracteres que no se ven o que "
                                       "cambian el orden del texto. Escríbalos de nuevo."),
                        MessageButtons::Ok, MessageIcon::Information,
                        QStringLiteral("Error Faltan Datos"));
        return;
    }
    std::vector<ClientRecord> clients;
    QString error;
    if (!loadClients(database_, clients, &error)) {
        dialogs_.MsgBox(error, MessageButtons::Ok, MessageIcon::Critical, title);
        return;
    }
    for (const ClientRecord& client : clients) {
        if (client.codigo == typed.codigo) {
            dialogs_.MsgBox(QStringLiteral("Ya existe un Cliente/a con el Código %1: %2")
                                .arg(client.codigo, client.nombre),
                            MessageButtons::Ok, MessageIcon::Information, title);
            return;
        }
    }
    const QString photo =
        !still_.isNull()
            ? writeStill(typed.codigo)
            : dialogs_.OpenFile(QStringLiteral("Archivos JPG o BMP(*.bmp;*.jpg)|*.bmp;*.jpg"),
                                QStringLiteral("Seleccione la Foto del Cliente/a"),
                                folder_.fullPath(QStringLiteral("\\clientes")));
    if (photo.isEmpty()) {
        return;
    }
    const PictureLoad load = loadPicture(photo);
    if (!load.ok()) {
        dialogs_.MsgBox(pictureFaultMessage(load), MessageButtons::Ok, MessageIcon::Critical,
                        QString::fromUtf8(kPictureFaultTitle));
        return;
    }
    QString written;
    const std::optional<QString> stored =
        preparedPhotoName(typed.codigo, photo, load.picture, &written);
    if (!stored) {
        return;
    }
    ClientRecord client = typed;
    client.fprograma = *stored;
    // The looks of the client active until now are settled before this one is written.
    if (!host_.settleLooks(client.codigo)) {
        if (!written.isEmpty()) {
            QFile::remove(written);
            deleteLargeCompanions(written);
        }
        return;  // the stylist went back; the dialog keeps what was typed
    }
    const ClientWrite outcome = addClient(database_, client, &error);
    if (outcome != ClientWrite::Done && !written.isEmpty()) {
        QFile::remove(written);  // no record refers to it
        deleteLargeCompanions(written);
    }
    switch (outcome) {
        case ClientWrite::Done:
            break;
        case ClientWrite::DuplicateCode:
            dialogs_.MsgBox(
                QStringLiteral("Ya existe un Cliente/a con el Código %1").arg(client.codigo),
                MessageButtons::Ok, MessageIcon::Information, title);
            return;
        case ClientWrite::Gone:
        case ClientWrite::Failed:
            dialogs_.MsgBox(QStringLiteral("La ficha no se ha guardado.\n\n%1").arg(error),
                            MessageButtons::Ok, MessageIcon::Critical, title);
            return;
    }
    if (host_.activateClient(client)) {
        close();
    }
}

std::optional<QString> Nomcliente::preparedPhotoName(const QString& codigo, const QString& photo,
                                                     const QImage& picture, QString* written) {
    written->clear();
    std::optional<PreparedPhoto> prepared;
    if (prepare_) {
        setCursor(cursorFor(kPointerBusy));
        prepared = prepare_(picture);
        unsetCursor();
    }
    if (!prepared) {
        QString error;
        const std::optional<QString> name = photoInClients(folder_, codigo, photo, written, &error);
        if (!name) {
            dialogs_.MsgBox(error, MessageButtons::Ok, MessageIcon::Critical,
                            QStringLiteral("Nuevo Cliente"));
        }
        return name;
    }
    showPrepared(prepared->picture);
    const QString question =
        prepared->faceFound
            ? QStringLiteral(
                  "La foto se ha preparado para Crinova: la cara se ha colocado donde "
                  "los cabellos la esperan. La foto original no se modifica.\n\n"
                  "¿Dar de alta al Cliente/a con esta foto?")
            : QStringLiteral(
                  "No se ha encontrado la cara en la foto: se ha reducido para que se "
                  "vea entera, y habrá que colocar el cabello a mano. La foto original "
                  "no se modifica.\n\n¿Dar de alta al Cliente/a con esta foto?");
    // The question stands beside the photo it asks about, never over it.
    const QRect photoOnScreen(fotopreparada_->mapToGlobal(QPoint(0, 0)), fotopreparada_->size());
    if (dialogs_.MsgBoxBeside(question, MessageButtons::YesNo, MessageIcon::Question,
                              QStringLiteral("Nuevo Cliente"),
                              photoOnScreen) != MessageAnswer::Yes) {
        showPrepared(QImage());
        return std::nullopt;
    }
    const QString name = freePhotoName(folder_, codigo);
    QString error;
    if (!saveJpeg(prepared->picture, folder_.fullPath(name), &error, prepared->faceFound)) {
        dialogs_.MsgBox(error, MessageButtons::Ok, MessageIcon::Critical,
                        QStringLiteral("Nuevo Cliente"));
        return std::nullopt;
    }
    *written = folder_.fullPath(name);
    // Its large companion, from the original through the same preparation. Without it the
    // client's view enlarges the photo instead and says so.
    writeLargeCompanion(preparePhotoLarger(picture, *prepared, kLargeFactor),
                        largeCompanionPath(*written, QStringLiteral("jpg")), *written);
    return storedPhotoName(folder_, *written);
}

void Nomcliente::showPrepared(const QImage& picture) {
    fotopreparada_->setPicture(picture);
    fotopreparada_->setVisible(!picture.isNull());
    // The photo below the fields, with a margin under it.
    setFixedSize(kDialogWidth,
                 picture.isNull() ? kDialogHeight : fotopreparada_->geometry().bottom() + 1 + 10);
    // Grown downwards, the dialog may reach past the screen's foot: it moves up to show the photo
    // whole.
    if (const QScreen* shown = screen(); shown && isVisible()) {
        const QRect room = shown->availableGeometry();
        const QRect frame = frameGeometry();
        if (frame.bottom() > room.bottom()) {
            move(pos().x(), std::max(room.top(), pos().y() - (frame.bottom() - room.bottom())));
        }
    }
}

void Nomcliente::btncamara_Click() {
    showModeless(modelessWindow(
        camara_,
        [this] {
            return new Camara({host_.camera(), dialogs_, host_.photoTarget(),
                               [this](const QImage& still) { return useStill(still); }},
                              this);
        },
        this, [] {}));
}

Camara* Nomcliente::camara() const {
    return camara_;
}

bool Nomcliente::useStill(const QImage& still) {
    const QString codigo = txtcodigo_->text().trimmed();
    still_ = still;
    btnaceptar_Click();
    still_ = QImage();
    const QString written = std::exchange(stillFile_, QString());
    if (closing_) {
        return true;
    }
    std::vector<ClientRecord> clients;
    const bool registered =
        !written.isEmpty() && loadClients(database_, clients, nullptr) &&
        std::any_of(clients.begin(), clients.end(),
                    [&](const ClientRecord& client) { return client.codigo == codigo; });
    if (!written.isEmpty() && !registered) {
        QFile::remove(written);
    }
    return registered;
}

QString Nomcliente::writeStill(const QString& codigo) {
    const QString path = folder_.fullPath(
        freePhotoName(folder_, codigo, QStringLiteral("jpg"), QStringLiteral("-original")));
    QString error;
    if (!saveJpeg(still_, path, &error)) {
        dialogs_.MsgBox(QStringLiteral("No se ha podido guardar la foto de la cámara en %1. "
                                       "Compruebe que queda sitio en el disco.")
                            .arg(path),
                        MessageButtons::Ok, MessageIcon::Critical, QStringLiteral("Nuevo Cliente"));
        return {};
    }
    stillFile_ = path;
    return path;
}

void Nomcliente::closeEvent(QCloseEvent* event) {
    closing_ = true;
    if (camara_) {
        camara_->close();
    }
    close_->closing();
    event->accept();
}

}  // namespace crinova
