#include "server/servidor.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

#include "platform/pointers.h"

namespace crinova {
namespace {

const QString kTitle = QStringLiteral("Servidor del Salón");
const QString kRememberedHint = QStringLiteral("(recordada en este ordenador)");

}  // namespace

Servidor::Servidor(ServerHost host, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window), host_(std::move(host)), dialogs_(dialogs) {
    setObjectName(QStringLiteral("servidor"));
    setWindowTitle(QStringLiteral("SERVIDOR DEL SALÓN"));
    close_ = new ModelessClose(this);
    setFixedSize(470, 352);
    int y = 12;
    const auto field = [this, &y](const char* name, const QString& caption, int width) {
        auto* label = new QLabel(caption, this);
        label->setGeometry(12, y + 2, 120, 22);
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setGeometry(135, y, width, 24);
        label->setBuddy(edit);
        y += 32;
        return edit;
    };
    txtservidor_ = field("txtservidor", QStringLiteral("Servidor:"), 323);
    txtpuerto_ = field("txtpuerto", QStringLiteral("Puerto:"), 70);
    txtbasedatos_ = field("txtbasedatos", QStringLiteral("Base de datos:"), 323);
    txtusuario_ = field("txtusuario", QStringLiteral("Usuario:"), 323);
    txtclave_ = field("txtclave", QStringLiteral("Contraseña:"), 323);
    txtclave_->setEchoMode(QLineEdit::Password);
    cclaverecordar_ =
        new QCheckBox(QStringLiteral("Recordar la contraseña en este ordenador"), this);
    cclaverecordar_->setObjectName(QStringLiteral("cclaverecordar"));
    cclaverecordar_->setGeometry(135, y, 285, 22);
    ccifrado_ = new QCheckBox(QStringLiteral("Requerir cifrado (TLS)"), this);
    ccifrado_->setObjectName(QStringLiteral("ccifrado"));
    ccifrado_->setGeometry(135, y + 24, 285, 22);
    lblestado_ = new QLabel(this);
    lblestado_->setObjectName(QStringLiteral("lblestado"));
    lblestado_->setGeometry(12, y + 52, 446, 38);
    lblestado_->setWordWrap(true);
    const auto button = [this](const char* name, const QString& caption, int x, int top, int w) {
        auto* pushed = new QPushButton(caption, this);
        pushed->setObjectName(QString::fromLatin1(name));
        pushed->setGeometry(x, top, w, 28);
        buttons_ << pushed;
        return pushed;
    };
    const int row = y + 98;
    auto* btnprobar = button("btnprobar", QStringLiteral("&Probar Conexión"), 12, row, 146);
    auto* btnconectar = button("btnconectar", QStringLiteral("&Conectar"), 162, row, 146);
    auto* btnvolver = button("btnvolver", QStringLiteral("&Volver"), 312, row, 146);
    auto* btnlocal =
        button("btnlocal", QStringLiteral("Trabajar &Solo en este Ordenador"), 12, row + 34, 221);
    auto* btnsubir = button("btnsubir", QStringLiteral("S&ubir los Datos de este Ordenador"), 237,
                            row + 34, 221);
    connect(btnprobar, &QPushButton::clicked, this, &Servidor::btnprobar_Click);
    connect(btnconectar, &QPushButton::clicked, this, &Servidor::btnconectar_Click);
    connect(btnvolver, &QPushButton::clicked, this, &QWidget::close);
    connect(btnlocal, &QPushButton::clicked, this, &Servidor::btnlocal_Click);
    connect(btnsubir, &QPushButton::clicked, this, &Servidor::btnsubir_Click);
    btnconectar->setDefault(true);
    showSaved(host_.settings());
}

void Servidor::showSaved(const ServerSettings& settings) {
    txtservidor_->setText(settings.servidor);
    txtpuerto_->setText(QString::number(settings.puerto));
    txtbasedatos_->setText(settings.basedatos);
    txtusuario_->setText(settings.usuario);
    ccifrado_->setChecked(settings.cifrado);
    const bool remembered = !settings.servidor.isEmpty() && host_.passwordRemembered(settings);
    cclaverecordar_->setChecked(remembered);
    txtclave_->clear();
    txtclave_->setPlaceholderText(remembered ? kRememberedHint : QString());
    lblestado_->setText(host_.stateText());
}

std::optional<ServerSettings> Servidor::typedSettings() {
    ServerSettings typed;
    typed.servidor = txtservidor_->text().trimmed();
    typed.basedatos = txtbasedatos_->text().trimmed();
    typed.usuario = txtusuario_->text().trimmed();
    typed.cifrado = ccifrado_->isChecked();
    if (typed.servidor.isEmpty() || typed.basedatos.isEmpty() || typed.usuario.isEmpty()) {
        dialogs_.MsgBox(
            QStringLiteral("Tiene que escribir el Servidor, la Base de Datos y el Usuario"),
            MessageButtons::Ok, MessageIcon::Information, QStringLiteral("Error Faltan Datos"));
        return std::nullopt;
    }
    bool number = false;
    typed.puerto = txtpuerto_->text().trimmed().toInt(&number);
    if (!number || typed.puerto < 1 || typed.puerto > 65535) {
        dialogs_.MsgBox(QStringLiteral("El Puerto tiene que ser un número entre 1 y 65535"),
                        MessageButtons::Ok, MessageIcon::Information,
                        QStringLiteral("Error Numero mal Introducido"));
        txtpuerto_->setFocus();
        return std::nullopt;
    }
    return typed;
}

void Servidor::setWaiting(bool waiting) {
    for (QPushButton* pushed : buttons_) {
        pushed->setEnabled(!waiting);
    }
    if (waiting) {
        setCursor(cursorFor(kPointerBusy));
    } else {
        unsetCursor();
    }
}

void Servidor::btnprobar_Click() {
    const std::optional<ServerSettings> typed = typedSettings();
    if (!typed) {
        return;
    }
    setWaiting(true);
    QPointer<Servidor> self(this);
    host_.test(*typed, txtclave_->text(), [self, typed](const ServerOutcome& outcome) {
        if (!self) {
            return;
        }
        self->setWaiting(false);
        self->dialogs_.MsgBox(
            outcome.ok()
                ? QStringLiteral("La conexión con el servidor %1 funciona.").arg(serverName(*typed))
                : outcome.message,
            MessageButtons::Ok, outcome.ok() ? MessageIcon::Information : MessageIcon::Critical,
            kTitle);
    });
}

void Servidor::btnconectar_Click() {
    const std::optional<ServerSettings> typed = typedSettings();
    if (!typed) {
        return;
    }
    setWaiting(true);
    QPointer<Servidor> self(this);
    host_.connect(*typed, txtclave_->text(), cclaverecordar_->isChecked(),
                  [self, typed](const ServerOutcome& outcome) {
                      if (!self) {
                          return;
                      }
                      self->setWaiting(false);
                      if (!outcome.ok()) {
                          // Everything typed stays, to be mended and tried again.
                          self->dialogs_.MsgBox(outcome.message, MessageButtons::Ok,
                                                MessageIcon::Critical, kTitle);
                          self->lblestado_->setText(self->host_.stateText());
                          if (outcome.fault == ServerFault::PasswordNeeded ||
                              outcome.fault == ServerFault::WrongPassword) {
                              self->txtclave_->setFocus();
                          }
                          return;
                      }
                      self->showSaved(self->host_.settings());
                      self->close();
                  });
}

void Servidor::btnlocal_Click() {
    host_.workLocally();
    close();
}

void Servidor::btnsubir_Click() {
    setCursor(Qt::WaitCursor);
    const QString report = host_.upload();
    unsetCursor();
    dialogs_.MsgBox(report, MessageButtons::Ok, MessageIcon::Information, kTitle);
}

void Servidor::askPassword(const QString& why) {
    lblestado_->setText(why);
    txtclave_->setFocus();
}

void Servidor::closeEvent(QCloseEvent* event) {
    close_->closing();
    event->accept();
}

}  // namespace crinova
