#include "clients/nomcliente.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "platform/event_hook.h"
#include "platform/pictures.h"

namespace crinova {

void selectAllOnFocus(QLineEdit* field) {
    // After the click that gave the focus has placed the cursor.
    new EventHook(field, QEvent::FocusIn,
                  [field] { QTimer::singleShot(0, field, [field] { field->selectAll(); }); });
}

Nomcliente::Nomcliente(Database& database, const ProgramFolder& folder, Dialogs& dialogs,
                       ClientHost& host, QWidget* parent)
    : QWidget(parent, Qt::Window),
      database_(database),
      folder_(folder),
      dialogs_(dialogs),
      host_(host) {
    setObjectName(QStringLiteral("nomcliente"));
    setWindowTitle(QStringLiteral("Nombre y Codigo del Cliente"));
    close_ = new ModelessClose(this);
    setFixedSize(360, 130);
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
    ClientRecord client = typed;
    client.fprograma = storedPhotoName(folder_, photo);
    switch (addClient(database_, client, &error)) {
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

void Nomcliente::closeEvent(QCloseEvent* event) {
    close_->closing();
    event->accept();
}

}  // namespace crinova
