#include "clients/client_search.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

#include "clients/nomcliente.h"
#include "clients/visit_list.h"
#include "platform/image_control.h"
#include "program/client_files.h"
#include "program/large_companions.h"
#include "program/picture_store.h"

namespace crinova {
namespace {

// The matches listed at a time: many more than the list shows, few enough to list at every key.
constexpr int kListedAtOnce = 100;

template <typename Control>
Control* place(Control* control, const QString& name, int x, int y, int width, int height) {
    control->setObjectName(name);
    control->setGeometry(x, y, width, height);
    return control;
}

}  // namespace

ClientSearch::ClientSearch(Purpose purpose, Database& database, const ProgramFolder& folder,
                           Dialogs& dialogs, ClientHost& host, QWidget* parent)
    : QWidget(parent, Qt::Window),
      purpose_(purpose),
      database_(database),
      folder_(folder),
      dialogs_(dialogs),
      host_(host) {
    const bool deleting = purpose == Purpose::Eliminar;
    setObjectName(deleting ? QStringLiteral("eliminarclientes") : QStringLiteral("buscarcliente"));
    setWindowTitle(deleting ? QStringLiteral("ELIMINAR FICHA CLIENTE")
                            : QStringLiteral("BUSQUEDA DE CLIENTE"));
    close_ = new ModelessClose(this);
    // Searching also shows the chosen client's visits, below the rest.
    setFixedSize(520, deleting ? 330 : 500);

    auto* frame1 = place(new QGroupBox(QStringLiteral("Busqueda por:"), this),
                         QStringLiteral("Frame1"), 10, 8, 230, 48);
    opnombre_ = place(new QRadioButton(QStringLiteral("Nombre"), frame1),
                      QStringLiteral("opnombre"), 12, 20, 90, 22);
    opcodigo_ = place(new QRadioButton(QStringLiteral("Código"), frame1),
                      QStringLiteral("opcodigo"), 120, 20, 90, 22);
    place(new QLabel(QStringLiteral("Escriba el Nombre o Código a Buscar"), this),
          QStringLiteral("Label1_0"), 10, 62, 230, 20);
    txtbusqueda_ = place(new QLineEdit(this), QStringLiteral("txtbusqueda"), 10, 84, 230, 24);
    listabusqueda_ =
        place(new QListWidget(this), QStringLiteral("listabusqueda"), 10, 114, 230, 168);

    auto* frame2 = place(new QGroupBox(QStringLiteral("Datos Cliente:"), this),
                         QStringLiteral("Frame2"), 250, 8, 260, 274);
    const char* const captions[] = {"Nombre Cliente:", "Código Cliente:", "Foto Cliente:"};
    for (int i = 0; i < 3; ++i) {
        place(new QLabel(QString::fromUtf8(captions[i]), frame2),
              QStringLiteral("Label1_%1").arg(i + 1), 10, 22 + i * 30, 100, 22);
    }
    txtcliente_ = place(new QLineEdit(frame2), QStringLiteral("txtcliente"), 112, 22, 138, 24);
    txtcodigo_ = place(new QLineEdit(frame2), QStringLiteral("txtcodigo"), 112, 52, 138, 24);
    txtcliente_->setReadOnly(true);
    txtcodigo_->setReadOnly(true);
    fcliente_ = place(new ImageControl(frame2), QStringLiteral("fcliente"), 112, 84, 138, 147);
    fcliente_->setFramed(true);

    auto* btnaceptar = place(
        new QPushButton(deleting ? QStringLiteral("&Eliminar") : QStringLiteral("&Aceptar"), this),
        QStringLiteral("btnaceptar"), 300, 292, 100, 28);
    auto* btnvolver = place(new QPushButton(QStringLiteral("&Volver"), this),
                            QStringLiteral("btnvolver"), 410, 292, 100, 28);

    if (!deleting) {
        place(new QLabel(QStringLiteral("Visitas:"), this), QStringLiteral("Label1_4"), 10, 326,
              230, 20);
        listavisitas_ =
            place(new QListWidget(this), QStringLiteral("listavisitas"), 10, 348, 390, 142);
        auto* btncargarvisita = place(new QPushButton(QStringLiteral("&Cargar Visita"), this),
                                      QStringLiteral("btncargarvisita"), 410, 348, 100, 28);
        connect(btncargarvisita, &QPushButton::clicked, this, &ClientSearch::btncargarvisita_Click);
        // The visits' thumbnails are read as their rows come into view.
        connect(listavisitas_->verticalScrollBar(), &QScrollBar::valueChanged, this,
                [this] { showVisitStrips(listavisitas_, folder_, visits_); });
    }

    selectAllOnFocus(txtbusqueda_);
    connect(opnombre_, &QRadioButton::clicked, this, &ClientSearch::opnombre_Click);
    connect(opcodigo_, &QRadioButton::clicked, this, &ClientSearch::opcodigo_Click);
    connect(txtbusqueda_, &QLineEdit::textChanged, this, &ClientSearch::txtbusqueda_Change);
    connect(listabusqueda_, &QListWidget::currentRowChanged, this,
            &ClientSearch::listabusqueda_Click);
    connect(listabusqueda_->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] {
        if (listabusqueda_->verticalScrollBar()->value() ==
            listabusqueda_->verticalScrollBar()->maximum()) {
            listMatchesTo(listabusqueda_->count() + kListedAtOnce - 1);
        }
    });
    connect(btnaceptar, &QPushButton::clicked, this, &ClientSearch::btnaceptar_Click);
    connect(btnvolver, &QPushButton::clicked, this, &QWidget::close);
    if (!deleting) {
        pressOnEnter(this, btnaceptar);  // Enter never deletes
    }

    // Form_Load: searching by name.
    reloadClients();
    opnombre_->setChecked(true);
    opnombre_Click();
}

void ClientSearch::reloadClients() {
    QString error;
    if (!loadClients(database_, clients_, &error)) {
        clients_.clear();
        dialogs_.MsgBox(
            QStringLiteral("No se han podido leer las fichas de clientes.\n\n%1").arg(error),
            MessageButtons::Ok, MessageIcon::Critical, QStringLiteral("Error en la Base de Datos"));
    }
    keys_ = searchKeys(clients_);
}

void ClientSearch::opnombre_Click() {
    searchBy_ = SearchBy::Nombre;
    txtbusqueda_Change();
}

void ClientSearch::opcodigo_Click() {
    searchBy_ = SearchBy::Codigo;
    txtbusqueda_Change();
}

void ClientSearch::txtbusqueda_Change() {
    shown_ = matchKeys(keys_, searchBy_, txtbusqueda_->text());
    // The chosen client stays chosen while its row is still among the matches.
    int row = -1;
    for (std::size_t i = 0; chosen_ && i < shown_.size(); ++i) {
        if (clients_[shown_[i]].rowId == chosen_->rowId) {
            row = static_cast<int>(i);
            break;
        }
    }
    {
        const QSignalBlocker block(listabusqueda_);
        listabusqueda_->clear();
        listMatchesTo(std::max(row, kListedAtOnce - 1));
        listabusqueda_->setCurrentRow(row);
    }
    if (row < 0) {
        chosen_.reset();
        showChosen();
    }
}

void ClientSearch::listMatchesTo(int row) {
    const int last = std::min(row, static_cast<int>(shown_.size()) - 1);
    QStringList lines;
    for (int i = listabusqueda_->count(); i <= last; ++i) {
        const ClientRecord& client = clients_[shown_[static_cast<std::size_t>(i)]];
        lines << (client.damaged() ? damagedClientName(client)
                  : searchBy_ == SearchBy::Nombre
                      ? QStringLiteral("%1 (%2)").arg(client.nombre, client.codigo)
                      : QStringLiteral("%1 - %2").arg(client.codigo, client.nombre));
    }
    listabusqueda_->addItems(lines);
}

void ClientSearch::listabusqueda_Click() {
    const int row = listabusqueda_->currentRow();
    if (row < 0 || row >= static_cast<int>(shown_.size())) {
        chosen_.reset();
    } else {
        chosen_ = clients_[shown_[static_cast<std::size_t>(row)]];
    }
    showChosen();
}

void ClientSearch::showChosen() {
    txtcliente_->setText(chosen_ ? chosen_->nombre : QString());
    txtcodigo_->setText(chosen_ ? chosen_->codigo : QString());
    const QString photo = chosen_ ? clientPhotoPath(folder_, chosen_->fprograma) : QString();
    fcliente_->setPicture(photo.isEmpty() ? QImage() : pictures_.load(photo).picture);
    showVisits();
}

void ClientSearch::showVisits() {
    if (!listavisitas_) {
        return;
    }
    visits_.clear();
    QString error;
    if (chosen_ && !chosen_->damaged() &&
        !loadVisits(database_, chosen_->codigo, visits_, &error)) {
        visits_.clear();
        dialogs_.MsgBox(QStringLiteral("No se han podido leer las visitas.\n\n%1").arg(error),
                        MessageButtons::Ok, MessageIcon::Critical,
                        QStringLiteral("Error en la Base de Datos"));
    }
    fillVisitList(listavisitas_, folder_, visits_);
}

void ClientSearch::btncargarvisita_Click() {
    const int row = listavisitas_ ? listavisitas_->currentRow() : -1;
    if (row < 0 || row >= static_cast<int>(visits_.size())) {
        dialogs_.MsgBox(QStringLiteral("Elija una visita de la lista."), MessageButtons::Ok,
                        MessageIcon::Information, QStringLiteral("Cargar Visita"));
        return;
    }
    if (chosen_) {
        host_.loadVisit(*chosen_, visits_[static_cast<std::size_t>(row)]);
    }
}

void ClientSearch::btnaceptar_Click() {
    const QString title = purpose_ == Purpose::Eliminar ? QStringLiteral("Eliminar Ficha Cliente")
                                                        : QStringLiteral("Buscar Cliente");
    if (!chosen_) {
        dialogs_.MsgBox(QStringLiteral("Elija un Cliente/a de la lista."), MessageButtons::Ok,
                        MessageIcon::Information, title);
        return;
    }
    if (purpose_ == Purpose::Buscar) {
        if (host_.activateClient(*chosen_)) {
            close();
        }
        return;
    }
    const ClientRecord client = *chosen_;
    const QString named = client.damaged()
                              ? damagedClientName(client)
                              : QStringLiteral("%1 (código %2)").arg(client.nombre, client.codigo);
    const int visitas = client.codeMissing ? 0 : countVisits(database_, client.codigo);
    const QString kept = visitas <= 0 ? QString()
                         : visitas == 1
                             ? QStringLiteral("\n\nTiene 1 visita guardada.")
                             : QStringLiteral("\n\nTiene %1 visitas guardadas.").arg(visitas);
    if (dialogs_.MsgBox(
            QStringLiteral("¿Seguro que quiere Eliminar la Ficha del Cliente/a: %1?").arg(named) +
                kept,
            MessageButtons::YesNo, MessageIcon::Question, title) != MessageAnswer::Yes) {
        return;
    }
    // A client asking to be forgotten: her photos can go with her record.
    const QStringList files = clientFiles(database_, folder_, client);
    const bool deletePhotos =
        !files.isEmpty() &&
        dialogs_.MsgBox(
            QStringLiteral("¿Borrar también sus fotos (%1 archivos)?").arg(files.size()),
            MessageButtons::YesNoDefaultNo, MessageIcon::Question, title) == MessageAnswer::Yes;
    // On the salon's server her pictures are kept there too, the visits' ones whether or not
    // this station ever brought them here.
    QStringList serverPictures;
    if (deletePhotos && database_.dialect() == Dialect::PostgreSQL) {
        QStringList pictures;
        for (const QString& file : files) {
            pictures << folder_.relativeName(file);
        }
        std::vector<Visit> visits;
        if (!client.codeMissing) {
            loadVisits(database_, client.codigo, visits, nullptr);
        }
        for (const Visit& visit : visits) {
            for (const VisitPhoto& photo : visit.photos) {
                pictures << photo.fichero;
            }
        }
        for (const QString& picture : pictures) {
            serverPictures << picture;
            for (const QString& companion : largeCompanionCandidates(folder_.fullPath(picture))) {
                serverPictures << folder_.relativeName(companion);
            }
        }
    }
    QString error;
    switch (deleteClient(database_, client, &error)) {
        case ClientWrite::Done:
            break;
        case ClientWrite::Gone:
            // Someone changed the table meanwhile: the list shows it as it is now.
            dialogs_.MsgBox(
                QStringLiteral("La ficha de %1 ya no está en la base de datos.").arg(named),
                MessageButtons::Ok, MessageIcon::Information, title);
            chosen_.reset();
            reloadClients();
            txtbusqueda_Change();
            return;
        case ClientWrite::DuplicateCode:
        case ClientWrite::Failed:
            dialogs_.MsgBox(QStringLiteral("La ficha no se ha eliminado.\n\n%1").arg(error),
                            MessageButtons::Ok, MessageIcon::Critical, title);
            return;
    }
    if (!client.codeMissing) {
        host_.clientDeleted(client.codigo);
    }
    if (deletePhotos) {
        const QStringList kept = deleteClientFiles(folder_, client, files);
        QStringList left = kept;
        if (!serverPictures.isEmpty() && !deletePictures(database_, serverPictures, &error)) {
            left << QStringLiteral("sus fotos en el servidor del salón: %1").arg(error);
        }
        dialogs_.MsgBox(
            QStringLiteral("Se han borrado %1 archivos de fotos. Las copias de seguridad hechas "
                           "antes siguen guardando una copia de ellas.")
                    .arg(files.size() - kept.size()) +
                (left.isEmpty() ? QString()
                                : QStringLiteral("\n\nNo se han podido borrar:\n%1")
                                      .arg(left.join(QLatin1Char('\n')))),
            MessageButtons::Ok,
            left.isEmpty() ? MessageIcon::Information : MessageIcon::Exclamation, title);
    }
    chosen_.reset();
    reloadClients();
    txtbusqueda_Change();
}

void ClientSearch::closeEvent(QCloseEvent* event) {
    close_->closing();
    event->accept();
}

}  // namespace crinova
