#include "clients/nomcliente.h"

#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QTimer>

#include "platform/event_hook.h"
#include "platform/image_control.h"
#include "platform/pictures.h"
#include "platform/pointers.h"
#include "program/large_companions.h"

namespace crinova {
namespace {

constexpr int kDialogWidth = 360;
constexpr int kDialogHeight = 130;

// "\clientes\<code>.jpg", or with a number when that name is taken: whatever holds it (the
// chosen photo itself, a file left by a deleted record) is never overwritten.
QString freePhotoName(const ProgramFolder& folder, const QString& codigo) {
    const QString stem = clientFolderName(codigo);
    QString name = stem + QStringLiteral(".jpg");
    for (int n = 2; QFileInfo::exists(folder.fullPath(name)); ++n) {
        name = stem + QStringLiteral("-%1.jpg").arg(n);
    }
    return name;
}

// Writes a JPEG whole or not at all.
bool saveJpeg(const QImage& picture, const QString& path, QString* error) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        QImageWriter writer(&file, "jpg");
        writer.setQuality(95);
        if (writer.write(picture) && file.commit()) {
            return true;
        }
    }
    *error = QStringLiteral("No se ha podido escribir la foto preparada %1.").arg(path);
    return false;
}

}  // namespace

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
    auto* btnaceptar = new QPushButton(QStringLiteral("&Aceptar"), this);
    btnaceptar->setObjectName(QStringLiteral("btnaceptar"));
    btnaceptar->setGeometry(140, 92, 100, 28);
    auto* btncancelar = new QPushButton(QStringLiteral("&Cancelar"), this);
    btncancelar->setObjectName(QStringLiteral("btncancelar"));
    btncancelar->setGeometry(247, 92, 100, 28);
    // Below the fields, shown only while a prepared photo waits for the stylist's word.
    fotopreparada_ = new ImageControl(this, false);
    fotopreparada_->setObjectName(QStringLiteral("fotopreparada"));
    fotopreparada_->setGeometry(30, kDialogHeight, 300, 320);
    fotopreparada_->setFramed(true);
    fotopreparada_->setVisible(false);
    connect(btnaceptar, &QPushButton::clicked, this, &Nomcliente::btnaceptar_Click);
    connect(btncancelar, &QPushButton::clicked, this, &QWidget::close);
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
        dialogs_.OpenFile(QStringLiteral("Archivos JPG o BMP(*.bmp;*.jpg)|*.bmp;*.jpg"),
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
    if (!prepare_) {
        return storedPhotoName(folder_, photo);
    }
    setCursor(cursorFor(kPointerBusy));
    const std::optional<PreparedPhoto> prepared = prepare_(picture);
    unsetCursor();
    if (!prepared) {
        return storedPhotoName(folder_, photo);
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
    if (dialogs_.MsgBox(question, MessageButtons::YesNo, MessageIcon::Question,
                        QStringLiteral("Nuevo Cliente")) != MessageAnswer::Yes) {
        showPrepared(QImage());
        return std::nullopt;
    }
    const QString name = freePhotoName(folder_, codigo);
    QString error;
    if (!saveJpeg(prepared->picture, folder_.fullPath(name), &error)) {
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
    setFixedSize(kDialogWidth, picture.isNull() ? kDialogHeight : kDialogHeight + 330);
}

void Nomcliente::closeEvent(QCloseEvent* event) {
    close_->closing();
    event->accept();
}

}  // namespace crinova
