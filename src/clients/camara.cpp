#include "clients/camara.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>

#include "platform/image_control.h"

namespace crinova {

// The live picture as a mirror shows it, with the framing guide over it.
class CameraView : public QWidget {
  public:
    using QWidget::QWidget;

    void show(const QImage& frame, const FramingGuide& guide) {
        frame_ = frame;
        guide_ = guide;
        update();
    }
    void clear() { show(QImage(), FramingGuide()); }
    void setGreen(bool green) {
        if (green != green_) {
            green_ = green;
            update();
        }
    }
    bool green() const { return green_; }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(0x30, 0x30, 0x30));
        if (frame_.isNull()) {
            return;
        }
        const double k =
            std::min(width() / double(frame_.width()), height() / double(frame_.height()));
        const QSizeF shown(frame_.width() * k, frame_.height() * k);
        // Mirrored: the frame's column x is drawn at the right edge minus x.
        painter.translate((width() + shown.width()) / 2.0, (height() - shown.height()) / 2.0);
        painter.scale(-k, k);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.drawImage(0, 0, frame_);
        QPen pen(green_ ? QColor(0x20, 0xd0, 0x40) : QColor(0xff, 0xb0, 0x00), 3);
        pen.setCosmetic(true);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(guide_.oval);
        const EyePair& marks = guide_.marks;
        const double y = (marks.left.y() + marks.right.y()) / 2.0;
        painter.drawLine(QPointF(guide_.oval.left(), y), QPointF(guide_.oval.right(), y));
        for (const QPointF& mark : {marks.left, marks.right}) {
            painter.drawEllipse(mark, guide_.tolerance, guide_.tolerance);
        }
    }

  private:
    QImage frame_;
    FramingGuide guide_;
    bool green_ = false;
};

namespace {

template <typename Control>
Control* place(Control* control, const char* name, int x, int y, int width, int height) {
    control->setObjectName(QString::fromUtf8(name));
    control->setGeometry(x, y, width, height);
    return control;
}

const QString kTitle = QStringLiteral("FOTO CON CÁMARA");

}  // namespace

Camara::Camara(Host host, QWidget* parent) : QWidget(parent, Qt::Window), host_(std::move(host)) {
    setObjectName(QStringLiteral("camara"));
    setWindowTitle(kTitle);
    close_ = new ModelessClose(this);
    setFixedSize(810, 446);
    cbcamara_ = place(new QComboBox(this), "cbcamara", 10, 10, 480, 24);
    cbcamara_->setVisible(false);
    fcamara_ = place(new CameraView(this), "fcamara", 10, 40, 480, 360);
    lblcamara_ = place(new QLabel(fcamara_), "lblcamara", 30, 120, 420, 120);
    lblcamara_->setWordWrap(true);
    lblcamara_->setAlignment(Qt::AlignCenter);
    lblcamara_->setStyleSheet(QStringLiteral("color: white; font-size: 15px;"));
    lblaviso_ = place(new QLabel(this), "lblaviso", 10, 408, 480, 28);
    lblaviso_->setAlignment(Qt::AlignCenter);
    lblaviso_->setWordWrap(true);
    QFont bold = lblaviso_->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.2);
    lblaviso_->setFont(bold);
    place(new QLabel(QStringLiteral("Así queda la foto para Crinova:"), this), "Label1", 500, 12,
          300, 22);
    fcaptura_ = place(new ImageControl(this), "fcaptura", 500, 40, 300, 320);
    fcaptura_->setFramed(true);
    btncapturar_ =
        place(new QPushButton(QStringLiteral("&Capturar"), this), "btncapturar", 500, 368, 148, 30);
    btnrepetir_ =
        place(new QPushButton(QStringLiteral("&Repetir"), this), "btnrepetir", 652, 368, 148, 30);
    btnusar_ = place(new QPushButton(QStringLiteral("&Usar Esta Foto"), this), "btnusar", 500, 404,
                     300, 30);
    // The space bar takes the photo wherever the focus is, as a camera's button would.
    auto* space = new QShortcut(QKeySequence(Qt::Key_Space), this);
    connect(space, &QShortcut::activated, this, &Camara::btncapturar_Click);
    connect(btncapturar_, &QPushButton::clicked, this, &Camara::btncapturar_Click);
    connect(btnusar_, &QPushButton::clicked, this, &Camara::btnusar_Click);
    connect(btnrepetir_, &QPushButton::clicked, this, &Camara::btnrepetir_Click);
    connect(cbcamara_, &QComboBox::activated, this, &Camara::cbcamara_Click);

    worker_ = new CameraWorker(host_.target, this);
    connect(worker_, &CameraWorker::frameRead, this, &Camara::frameRead);
    connect(worker_, &CameraWorker::stillPrepared, this, &Camara::stillPrepared);
    if (host_.camera) {
        connect(host_.camera, &Camera::frame, this, &Camara::camera_Frame);
        connect(host_.camera, &Camera::still, this, &Camara::camera_Still);
        connect(host_.camera, &Camera::fault, this, &Camara::camera_Fault);
        connect(host_.camera, &Camera::camerasChanged, this, &Camara::camerasChanged);
    }
    startCamera();
}

Camara::~Camara() {
    releaseCamera();
}

bool Camara::guideGreen() const {
    return fcamara_->green();
}

void Camara::startCamera() {
    const std::vector<CameraInfo> cameras =
        host_.camera ? host_.camera->cameras() : std::vector<CameraInfo>();
    const QString chosen = cbcamara_->currentData().toString();
    cbcamara_->clear();
    for (const CameraInfo& camera : cameras) {
        cbcamara_->addItem(camera.description, camera.id);
    }
    cbcamara_->setVisible(cameras.size() > 1);
    if (cameras.empty()) {
        showFault(cameraFaultMessage(CameraFault::NoCamera));
        return;
    }
    cbcamara_->setCurrentIndex(std::max(0, cbcamara_->findData(chosen)));
    cbcamara_Click(cbcamara_->currentIndex());
}

void Camara::cbcamara_Click(int index) {
    if (!host_.camera || index < 0) {
        return;
    }
    lblcamara_->clear();
    lblcamara_->setVisible(false);
    lblaviso_->clear();
    frames_ = 0;
    if (stage_ != Stage::Preparing && stage_ != Stage::Review) {
        setStage(Stage::Live);
    }
    holding_ = true;
    host_.camera->open(cbcamara_->itemData(index).toString());
}

void Camara::releaseCamera() {
    if (holding_ && host_.camera) {
        holding_ = false;
        host_.camera->close();
    }
}

void Camara::showFault(const QString& message) {
    releaseCamera();
    if (stage_ == Stage::Preparing || stage_ == Stage::Review) {
        // The still is taken: it stays, and the message waits below it.
        lblaviso_->setText(message);
        return;
    }
    fcamara_->clear();
    lblcamara_->setText(message);
    lblcamara_->setVisible(true);
    lblaviso_->clear();
    setStage(Stage::Off);
}

void Camara::setStage(Stage stage) {
    stage_ = stage;
    btncapturar_->setEnabled(stage == Stage::Live);
    btnusar_->setEnabled(stage == Stage::Review);
    btnrepetir_->setEnabled(stage == Stage::Review || stage == Stage::Off);
    if (stage != Stage::Review && stage != Stage::Preparing) {
        fcaptura_->clearPicture();
    }
}

void Camara::camera_Frame(const QImage& frame) {
    if (stage_ != Stage::Live || !holding_) {
        return;
    }
    fcamara_->show(frame, framingGuide(frame.size(), host_.target));
    // At most every other frame, and never while the search before is still running.
    if (++frames_ % 2 == 0 && worker_->read(frame)) {
        ++framesRead_;
    }
}

void Camara::frameRead(const FrameReading& reading) {
    if (stage_ != Stage::Live) {
        return;
    }
    const FramingVerdict verdict = judgeFraming(reading, framingGuide(reading.size, host_.target));
    fcamara_->setGreen(verdict.onMarks);
    lblaviso_->setText(framingHintText(verdict.hint));
}

void Camara::btncapturar_Click() {
    if (stage_ != Stage::Live || !holding_) {
        return;
    }
    setStage(Stage::Capturing);
    lblaviso_->setText(QStringLiteral("Tomando la foto..."));
    host_.camera->capture();
}

void Camara::camera_Still(const QImage& still) {
    if (stage_ != Stage::Capturing || still.isNull()) {
        if (stage_ == Stage::Capturing) {
            camera_Fault(CameraFault::StillFailed);
        }
        return;
    }
    still_ = still;
    setStage(Stage::Preparing);
    fcamara_->show(still, framingGuide(still.size(), host_.target));
    lblaviso_->setText(QStringLiteral("Preparando la foto..."));
    worker_->prepare(still);
}

void Camara::stillPrepared(const PreparedPhoto& photo) {
    if (stage_ != Stage::Preparing) {
        return;
    }
    fcaptura_->setPicture(photo.picture);
    setStage(Stage::Review);
    if (!lblaviso_->text().startsWith(QStringLiteral("Preparando"))) {
        return;  // a fault of the camera meanwhile says more
    }
    lblaviso_->setText(photo.faceFound
                           ? QStringLiteral("Pulse «Usar Esta Foto», o «Repetir» para otra")
                           : QStringLiteral("No se ha encontrado la cara: pulse «Repetir»"));
}

void Camara::camera_Fault(CameraFault fault) {
    if (fault == CameraFault::StillFailed) {
        if (stage_ == Stage::Capturing) {
            setStage(Stage::Live);
            lblaviso_->clear();
            host_.dialogs.MsgBox(cameraFaultMessage(fault), MessageButtons::Ok,
                                 MessageIcon::Critical, kTitle);
        }
        return;
    }
    if (holding_) {
        showFault(cameraFaultMessage(fault));
    }
}

void Camara::camerasChanged() {
    // A camera plugged in while the window waited for one.
    if (stage_ == Stage::Off && host_.camera && !host_.camera->cameras().empty()) {
        startCamera();
    }
}

void Camara::btnusar_Click() {
    if (stage_ != Stage::Review) {
        return;
    }
    const QImage still = still_;
    if (host_.use && host_.use(still)) {
        close();
    }
}

void Camara::btnrepetir_Click() {
    if (stage_ == Stage::Off) {
        startCamera();
        return;
    }
    if (stage_ != Stage::Review) {
        return;
    }
    still_ = QImage();
    setStage(Stage::Live);
    lblaviso_->clear();
    if (!holding_) {
        startCamera();
    }
}

void Camara::closeEvent(QCloseEvent* event) {
    close_->closing([this] { releaseCamera(); });
    event->accept();
}

}  // namespace crinova
