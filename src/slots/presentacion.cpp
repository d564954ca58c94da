#include "slots/presentacion.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPushButton>

#include "platform/image_control.h"
#include "platform/picture_box.h"

namespace crinova {

Presentacion::Presentacion(QWidget* parent) : QWidget(parent, Qt::Window), surface_(300, 320) {
    setObjectName(QStringLiteral("presentacion"));
    setWindowTitle(QStringLiteral("Form1"));
    close_ = new ModelessClose(this);
    setFixedSize(640, 480);  // 9600 x 7200 twips

    logotipo_ = new ImageControl(this);
    logotipo_->setObjectName(QStringLiteral("logotipo"));
    logotipo_->setGeometry(25, 5, 210, 60);

    fpresentacion_ = new PictureBox(surface_, this);
    fpresentacion_->setObjectName(QStringLiteral("fpresentacion"));
    Fotooriginal_ = new ImageControl(this);
    Fotooriginal_->setObjectName(QStringLiteral("Fotooriginal"));
    Fotooriginal_->setFramed(true);
    placePictures(surface_.ScaleWidth(), surface_.ScaleHeight());

    btnvolver_ = new QPushButton(QStringLiteral("&Volver al Programa"), this);
    btnvolver_->setObjectName(QStringLiteral("btnvolver"));
    btnvolver_->setGeometry(2, 436, 635, 39);  // 30, 6540, 9525, 585 twips
    connect(btnvolver_, &QPushButton::clicked, this, &Presentacion::btnvolver_Click);
}

Presentacion::~Presentacion() = default;

void Presentacion::placePictures(int width, int height) {
    surface_.Resize(width, height);
    fpresentacion_->fitToSurface();
    fpresentacion_->move(25, 70);
    Fotooriginal_->setGeometry(340, 70, fpresentacion_->width(), fpresentacion_->height());
}

void Presentacion::btnvolver_Click() {
    close();
}

void Presentacion::keyPressEvent(QKeyEvent* event) {
    // Escape leaves the show as "&Volver al Programa" does.
    if (event->key() == Qt::Key_Escape) {
        btnvolver_Click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void Presentacion::closeEvent(QCloseEvent* event) {
    close_->closing();
    event->accept();
}

}  // namespace crinova
