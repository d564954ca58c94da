#include "eraser/eliminarfondo.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QMenuBar>

#include "platform/picture_box.h"

namespace crinova {
namespace {

const QString kTitle = QStringLiteral("Guardar Fotografía Cliente/a");

}  // namespace

Eliminarfondo::Eliminarfondo(const ProgramFolder& folder, Dialogs& dialogs, QWidget* parent)
    : QMainWindow(parent, Qt::Window), folder_(folder), dialogs_(dialogs) {
    setObjectName(QStringLiteral("eliminarfondo"));
    setWindowTitle(QStringLiteral("ELIMINAR FONDO FOTOGRAFÍA"));
    close_ = new ModelessClose(this);
    auto* area = new QWidget(this);
    setCentralWidget(area);
    fprincipal_ = new PictureBox(editor_.fprincipal, area);
    fprincipal_->setObjectName(QStringLiteral("fprincipal"));
    fprincipal_->setFrameStyle(QFrame::NoFrame);
    fprincipal_->move(4, 4);  // 60 twips
    connect(fprincipal_, &PictureBox::mouseDown, this, &Eliminarfondo::fprincipal_MouseDown);
    connect(fprincipal_, &PictureBox::mouseMove, this, &Eliminarfondo::fprincipal_MouseMove);
    createMenus();
    area->setFixedSize(311, 329);  // 4665 x 4935 twips
}

void Eliminarfondo::createMenus() {
    QMenu* principal = menuBar()->addMenu(QStringLiteral("Principal"));
    principal->setObjectName(QStringLiteral("mnuprincipal"));
    auto add = [this](QMenu* menu, const char* name, const char* caption, const char* shortcut,
                      void (Eliminarfondo::*procedure)()) {
        QAction* entry = menu->addAction(QString::fromUtf8(caption));
        entry->setObjectName(QString::fromUtf8(name));
        entry->setShortcut(QKeySequence(QString::fromUtf8(shortcut)));
        if (procedure) {
            connect(entry, &QAction::triggered, this, procedure);
        }
        return entry;
    };
    add(principal, "mnuabrir", "&Abrir Fotografía", "Ctrl+O", &Eliminarfondo::mnuabrir_Click);
    add(principal, "mnuguardar", "&Guardar Fotografía", "", &Eliminarfondo::mnuguardar_Click);
    mnudesacer_ =
        add(principal, "mnudesacer", "&Deshacer", "Ctrl+Z", &Eliminarfondo::mnudesacer_Click);
    mnudesacer_->setEnabled(false);
    add(principal, "mnurecuperar", "&Recuperar Fotografía", "", &Eliminarfondo::mnurecuperar_Click);
    add(principal, "mnucolor", "&Canviar Color Pincel", "", &Eliminarfondo::mnucolor_Click);
    principal->addSeparator()->setObjectName(QStringLiteral("separador"));
    add(principal, "mnuvolver", "&Volver a Crinova", "", &Eliminarfondo::mnuvolver_Click);

    QMenu* limpiar = menuBar()->addMenu(QStringLiteral("&Limpiar"));
    limpiar->setObjectName(QStringLiteral("mnulimpiar"));
    QMenu* pincel = limpiar->addMenu(QStringLiteral("con &Pincel"));
    pincel->setObjectName(QStringLiteral("mnupincel"));
    const std::tuple<const char*, const char*, const char*, EraserEditor::Brush> sizes[] = {
        {"mnufino", "&Fino", "Ctrl+F", EraserEditor::Brush::Fino},
        {"mnumedio", "&Medio", "Ctrl+M", EraserEditor::Brush::Medio},
        {"mnugrueso", "&Grueso", "Ctrl+G", EraserEditor::Brush::Grueso}};
    for (const auto& [name, caption, shortcut, brush] : sizes) {
        QAction* entry = add(pincel, name, caption, shortcut, nullptr);
        entry->setCheckable(true);
        connect(entry, &QAction::triggered, this,
                [this, entry, brush = brush] { chooseBrush(brush, entry); });
    }
}

void Eliminarfondo::chooseBrush(EraserEditor::Brush brush, QAction* entry) {
    editor_.setBrush(brush);
    for (const char* name : {"mnufino", "mnumedio", "mnugrueso"}) {
        QAction* size = findChild<QAction*>(QString::fromUtf8(name));
        size->setChecked(size == entry);
    }
}

void Eliminarfondo::mnuabrir_Click() {
    dialogs_.MsgBox(
        QStringLiteral("Tiene que Seleccionar la Foto con el Pelo Alisado para Eliminar el Fondo"),
        MessageButtons::Ok, MessageIcon::Information, QStringLiteral("Abrir Foto Original"));
    const QString path =
        dialogs_.OpenFile(QStringLiteral("Archivos JPG o BMP(*.bmp;*.jpg)|*.bmp;*.jpg"),
                          QStringLiteral("Seleccione la Foto con el Pelo Alisado"),
                          folder_.fullPath(QStringLiteral("\\clientes")));
    if (path.isEmpty()) {
        return;
    }
    // The editor's own size rule answers first, read from the file's header: a phone photo is
    // refused at once rather than decoded for nothing.
    const PictureLoad photo = loadPicture(path, QSize(kLargestEraserPhoto, kLargestEraserPhoto));
    if (!photo.ok() && photo.fault != PictureFault::TooLarge) {
        dialogs_.MsgBox(pictureFaultMessage(photo), MessageButtons::Ok, MessageIcon::Critical,
                        QString::fromUtf8(kPictureFaultTitle));
        return;
    }
    if (!photo.ok() || !editor_.open(path, photo.picture)) {
        dialogs_.MsgBox(QStringLiteral("La Fotografía es demasiado Grande, intente Reducirla, ya "
                                       "que esto puede ocasionar que el Programa funcione más "
                                       "lentamente"),
                        MessageButtons::Ok, MessageIcon::Critical,
                        QStringLiteral("Error Imagen Grande"));
        return;
    }
    mnudesacer_->setEnabled(editor_.undoEnabled);
    fitToPhoto();
}

void Eliminarfondo::fitToPhoto() {
    fprincipal_->fitToSurface();
    fprincipal_->move(5, 5);
    centralWidget()->setFixedSize(editor_.fprincipal.ScaleWidth() + 10,
                                  editor_.fprincipal.ScaleHeight() + 10);
    adjustSize();
}

void Eliminarfondo::mnuguardar_Click() {
    if (editor_.rutafoto.isEmpty()) {
        dialogs_.MsgBox(QStringLiteral("No hay ninguna Fotografía abierta para Guardar."),
                        MessageButtons::Ok, MessageIcon::Information, kTitle);
        return;
    }
    if (dialogs_.MsgBox(QStringLiteral("Seguro que quiere Guardar la Fotografía del Cliente/a"),
                        MessageButtons::YesNo, MessageIcon::None, kTitle) != MessageAnswer::Yes) {
        return;
    }
    QString error;
    if (!editor_.save(&error)) {
        dialogs_.MsgBox(error, MessageButtons::Ok, MessageIcon::Critical, kTitle);
        return;
    }
    dialogs_.MsgBox(
        QStringLiteral("La Fotografía del cliente/a a sido Guardada satisfactoriamente"),
        MessageButtons::Ok, MessageIcon::Information, kTitle);
}

void Eliminarfondo::mnudesacer_Click() {
    editor_.undo();
    mnudesacer_->setEnabled(editor_.undoEnabled);
}

void Eliminarfondo::mnurecuperar_Click() {
    editor_.revert();
}

void Eliminarfondo::mnucolor_Click() {
    const std::optional<Colour> colour = dialogs_.ChooseColour(kWhite);
    if (colour) {  // cancelling leaves the brush as it was
        editor_.brushes.recolour(*colour);
    }
}

void Eliminarfondo::mnuvolver_Click() {
    close();
}

void Eliminarfondo::fprincipal_MouseDown(int buttons, int, double, double) {
    editor_.mouseDown(buttons);
    mnudesacer_->setEnabled(editor_.undoEnabled);
}

void Eliminarfondo::fprincipal_MouseMove(int buttons, int, double x, double y) {
    editor_.mouseMove(buttons, x, y);
}

void Eliminarfondo::closeEvent(QCloseEvent* event) {
    close_->closing([this] {
        editor_.temporal2.EmptyPicture();
        editor_.temporal3.EmptyPicture();
        editor_.temporal.EmptyPicture();
    });
    event->accept();
}

}  // namespace crinova
