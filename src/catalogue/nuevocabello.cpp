#include "catalogue/nuevocabello.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "face/face_fit.h"
#include "face/photo_preparation.h"
#include "platform/image_control.h"
#include "platform/pictures.h"
#include "platform/pointers.h"
#include "program/folder_names.h"
#include "segmentation/selection_editor.h"
#include "segmentation/soft_edge.h"

namespace crinova {
namespace {

const QString kTitle = QStringLiteral("Añadir Cabello desde Foto");
const QString kOpenHint =
    QStringLiteral("Abra la foto de una persona con el peinado que quiere añadir al catálogo.");
const QString kBrushHint = QStringLiteral(
    "Si la selección no es exacta, píntela: «Es pelo» añade, «No es pelo» quita. Después elija "
    "cómo es el cabello, su nombre, y guárdelo.");

QComboBox* wordBox(const char* name, const QStringList& words, QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromUtf8(name));
    for (const QString& word : words) {
        box->addItem(word, word);
    }
    return box;
}

// A point of a picture decoded at `scale` back in the photo's own pixels, and the other way.
QPointF toPhoto(const QPointF& p, double scale) {
    return QPointF((p.x() + 0.5) / scale - 0.5, (p.y() + 0.5) / scale - 0.5);
}
QPointF toPicture(const QPointF& p, double scale) {
    return QPointF((p.x() + 0.5) * scale - 0.5, (p.y() + 0.5) * scale - 0.5);
}

}  // namespace

Nuevocabello::Nuevocabello(NuevocabelloHost host, QWidget* parent)
    : QWidget(parent, Qt::Window), host_(host) {
    setObjectName(QStringLiteral("nuevocabello"));
    setWindowTitle(QStringLiteral("NUEVO CABELLO DESDE FOTO"));
    close_ = new ModelessClose(this);
    createControls();
    const PictureLoad model = loadPicture(host_.folder.fullPath(kBasePhoto));
    modelPhoto_ = model.ok() ? model.picture.scaled(kStyleSize) : QImage();
    if (modelPhoto_.isNull()) {
        modelPhoto_ = QImage(kStyleSize, QImage::Format_RGB32);
        modelPhoto_.fill(Qt::white);
    }
    fotovista_->setPicture(modelPhoto_);
}

Nuevocabello::~Nuevocabello() = default;

void Nuevocabello::createControls() {
    editor_ = new SelectionEditor(this);
    connect(editor_, &SelectionEditor::selectionChanged, this, &Nuevocabello::selectionChanged);
    connect(editor_, &SelectionEditor::pointClicked, this, &Nuevocabello::eyeClicked);

    auto* btnabrirfoto = new QPushButton(QStringLiteral("&Abrir Foto"), this);
    btnabrirfoto->setObjectName(QStringLiteral("btnabrirfoto"));
    connect(btnabrirfoto, &QPushButton::clicked, this, &Nuevocabello::btnabrirfoto_Click);

    fotovista_ = new ImageControl(this, false);
    fotovista_->setObjectName(QStringLiteral("fotovista"));
    fotovista_->setFixedSize(kStyleSize);
    fotovista_->setFramed(true);

    lblestado_ = new QLabel(kOpenHint, this);
    lblestado_->setObjectName(QStringLiteral("lblestado"));
    lblestado_->setWordWrap(true);
    lblestado_->setFixedWidth(kStyleSize.width());

    auto* attributes = new QGroupBox(QStringLiteral("El cabello:"), this);
    cbpersona_ = wordBox("cbpersona", kPersonWords, attributes);
    cbpersona_->setCurrentIndex(1);  // most styles are women's
    cblargura_ = wordBox("cblargura", kLengthWords, attributes);
    cbtipo_ = wordBox("cbtipo", kTypeWords, attributes);
    cbcolor_ = wordBox("cbcolor", kColourWords, attributes);
    txtnombrecabello_ = new QLineEdit(attributes);
    txtnombrecabello_->setObjectName(QStringLiteral("txtnombrecabello"));
    connect(cblargura_, &QComboBox::currentIndexChanged, this, &Nuevocabello::lengthChanged);
    auto* form = new QFormLayout(attributes);
    form->addRow(QStringLiteral("Pe&rsona:"), cbpersona_);
    form->addRow(QStringLiteral("&Largura:"), cblargura_);
    form->addRow(QStringLiteral("&Tipo:"), cbtipo_);
    form->addRow(QStringLiteral("&Color:"), cbcolor_);
    form->addRow(QStringLiteral("&Nombre:"), txtnombrecabello_);

    btnguardarcabello_ = new QPushButton(QStringLiteral("&Guardar Cabello"), this);
    btnguardarcabello_->setObjectName(QStringLiteral("btnguardarcabello"));
    btnguardarcabello_->setEnabled(false);
    connect(btnguardarcabello_, &QPushButton::clicked, this,
            &Nuevocabello::btnguardarcabello_Click);
    auto* btnvolver = new QPushButton(QStringLiteral("&Volver"), this);
    btnvolver->setObjectName(QStringLiteral("btnvolver"));
    connect(btnvolver, &QPushButton::clicked, this, &Nuevocabello::btnvolver_Click);

    auto* side = new QVBoxLayout;
    side->addWidget(btnabrirfoto);
    side->addWidget(fotovista_);
    side->addWidget(lblestado_);
    side->addWidget(attributes);
    side->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnguardarcabello_);
    buttons->addWidget(btnvolver);
    side->addLayout(buttons);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(editor_, 0, Qt::AlignTop);
    layout->addLayout(side);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void Nuevocabello::tell(const QString& text, MessageIcon icon) {
    host_.dialogs.MsgBox(text, MessageButtons::Ok, icon, kTitle);
}

void Nuevocabello::setBusy(bool on) {
    if (on) {
        QApplication::setOverrideCursor(cursorFor(kPointerBusy));
    } else {
        QApplication::restoreOverrideCursor();
    }
}

void Nuevocabello::btnabrirfoto_Click() {
    if (unsaved_ &&
        host_.dialogs.MsgBox(QStringLiteral("El cabello seleccionado no se ha guardado. ¿Abrir "
                                            "otra foto y dejarlo?"),
                             MessageButtons::YesNo, MessageIcon::Question,
                             kTitle) != MessageAnswer::Yes) {
        return;
    }
    const QString originals = host_.folder.fullPath(kOwnStylesFolder);
    const QString path = host_.dialogs.OpenFile(
        QStringLiteral("Fotos JPG, BMP o PNG(*.jpg;*.jpeg;*.bmp;*.png)|*.jpg;*.jpeg;*.bmp;*.png"),
        QStringLiteral("Seleccione la Foto con el Peinado"),
        QFileInfo(originals).isDir() ? originals : host_.folder.fullPath(kClientsFolder));
    if (!path.isEmpty()) {
        openPhoto(path);
    }
}

void Nuevocabello::openPhoto(const QString& path) {
    setBusy(true);
    SourcePhoto photo = loadSourcePhoto(path);
    if (photo.picture.isNull()) {
        setBusy(false);
        host_.dialogs.MsgBox(photo.error, MessageButtons::Ok, MessageIcon::Critical,
                             QString::fromUtf8(kPictureFaultTitle));
        return;
    }
    if (!model_) {
        model_ =
            modelEyes_.eyes(host_.folder.fullPath(kBasePhoto), kBasePhoto, host_.database).eyes;
    }
    if (!model_) {
        modelEyes_.forget();
        setBusy(false);
        tell(modelEyesMissingMessage(kBasePhoto), MessageIcon::Critical);
        return;
    }
    photoPath_ = path;
    photo_ = std::move(photo);
    clicks_.clear();
    selection_.start({}, {});
    reopened_ = readStyleSource(host_.folder, path, host_.database);
    if (reopened_) {
        cbpersona_->setCurrentIndex(std::max(0, cbpersona_->findData(reopened_->row.tpersona)));
        cblargura_->setCurrentIndex(std::max(0, cblargura_->findData(reopened_->row.largura)));
        cbtipo_->setCurrentIndex(std::max(0, cbtipo_->findData(reopened_->row.tipo)));
        cbcolor_->setCurrentIndex(std::max(0, cbcolor_->findData(reopened_->row.color)));
        txtnombrecabello_->setText(reopened_->row.nombre);
        proposedName_.clear();
        selectOn(EyePair{toPicture(reopened_->eyes.left, photo_.scale),
                         toPicture(reopened_->eyes.right, photo_.scale)});
        setBusy(false);
        return;
    }
    const EyeSearch search = findEyesReduced(photo_.picture);
    if (search.eyes) {
        selectOn(*search.eyes);
        setBusy(false);
        return;
    }
    // The stylist shows the eyes on the whole photo.
    editor_->showPicture(preparePhoto(photo_.picture, std::nullopt, kStyleSize).picture, true);
    fotovista_->setPicture(modelPhoto_);
    btnguardarcabello_->setEnabled(false);
    unsaved_ = false;
    setBusy(false);
    QString text = QString::fromUtf8(kEyesNotFoundMessage);
    if (search.fault == EyeFault::CascadeMissing) {
        text += QStringLiteral("\n\nNo se puede buscar la cara: falta el archivo %1.")
                    .arg(sharedCascades().missingFile());
    }
    lblestado_->setText(text);
    tell(text, MessageIcon::Information);
}

void Nuevocabello::eyeClicked(const QPointF& point) {
    if (photo_.picture.isNull() || selection_.started()) {
        return;
    }
    clicks_.push_back(point);
    if (clicks_.size() < 2) {
        return;
    }
    const QPointF first = clicks_[0];
    const QPointF second = clicks_[1];
    clicks_.clear();
    if (clicksTooClose(first, second)) {
        editor_->showPicture(editor_->canvas()->picture(), true);  // the marks go too
        tell(QString::fromUtf8(kClicksTooCloseMessage), MessageIcon::Information);
        return;
    }
    const QSize size = photo_.picture.size();
    const QPointF a = fittedToPhoto(first, size, kStyleSize);
    const QPointF b = fittedToPhoto(second, size, kStyleSize);
    setBusy(true);
    // Named by their side on the screen, whichever was clicked first.
    selectOn(a.x() <= b.x() ? EyePair{a, b} : EyePair{b, a});
    setBusy(false);
}

void Nuevocabello::selectOn(const EyePair& eyes) {
    eyes_ = EyePair{toPhoto(eyes.left, photo_.scale), toPhoto(eyes.right, photo_.scale)};
    selection_.start(alignPhoto(photo_.picture, eyes, *model_, kStyleSize));
    if (reopened_) {
        for (const Stroke& stroke : reopened_->strokes) {
            selection_.addStroke(stroke);
        }
    } else {
        proposedName_ = proposeStyleName(photoPath_, cblargura_->currentData().toString(),
                                         host_.folder, host_.database);
        txtnombrecabello_->setText(proposedName_);
    }
    editor_->setSelection(&selection_);
    btnguardarcabello_->setEnabled(true);
    lblestado_->setText(kBrushHint);
    unsaved_ = !reopened_;
    showPreview();
}

void Nuevocabello::selectionChanged() {
    unsaved_ = true;
    showPreview();
}

void Nuevocabello::lengthChanged() {
    // A name proposed for one length folder may be taken in another.
    if (!proposedName_.isEmpty() && txtnombrecabello_->text() == proposedName_) {
        proposedName_ = proposeStyleName(photoPath_, cblargura_->currentData().toString(),
                                         host_.folder, host_.database);
        txtnombrecabello_->setText(proposedName_);
    }
}

void Nuevocabello::showPreview() {
    fotovista_->setPicture(selection_.started()
                               ? layOver(modelPhoto_, selection_.colour(), selection_.alpha())
                               : modelPhoto_);
}

void Nuevocabello::btnguardarcabello_Click() {
    if (!selection_.started()) {
        tell(kOpenHint, MessageIcon::Information);
        return;
    }
    StyleSource source;
    source.row = StyleRow{cbpersona_->currentData().toString(),
                          cblargura_->currentData().toString(), cbtipo_->currentData().toString(),
                          cbcolor_->currentData().toString(), txtnombrecabello_->text().trimmed()};
    // Saving a reopened style under its own name replaces it.
    const bool replace = reopened_ && reopened_->row.largura == source.row.largura &&
                         reopened_->row.nombre == source.row.nombre;
    const NameRefusal refusal = replace ? NameRefusal::None
                                        : checkStyleName(source.row.nombre, source.row.largura,
                                                         host_.folder, host_.database);
    if (refusal != NameRefusal::None) {
        tell(nameRefusalMessage(refusal, source.row.nombre, source.row.largura),
             MessageIcon::Information);
        txtnombrecabello_->setFocus();
        return;
    }
    source.photo = photo_.bytes;
    source.suffix = photo_.suffix;
    source.eyes = eyes_;
    source.strokes = selection_.strokes();
    setBusy(true);
    QString error;
    const bool saved = saveOwnStyle(host_.database, host_.folder,
                                    stylePictures(selection_.colour(), selection_.alpha()), source,
                                    replace, &error);
    setBusy(false);
    if (!saved) {
        tell(error, MessageIcon::Critical);
        return;
    }
    reopened_ = source;
    proposedName_.clear();
    unsaved_ = false;
    tell(QStringLiteral("El cabello «%1» está en el catálogo, en «%2».")
             .arg(source.row.nombre, source.row.largura),
         MessageIcon::Information);
}

void Nuevocabello::btnvolver_Click() {
    close();
}

void Nuevocabello::closeEvent(QCloseEvent* event) {
    if (unsaved_ &&
        host_.dialogs.MsgBox(QStringLiteral("El cabello seleccionado no se ha guardado. ¿Cerrar "
                                            "sin guardarlo?"),
                             MessageButtons::YesNo, MessageIcon::Question,
                             kTitle) != MessageAnswer::Yes) {
        event->ignore();
        return;
    }
    close_->closing();
    event->accept();
}

}  // namespace crinova
