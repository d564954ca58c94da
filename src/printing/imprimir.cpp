#include "printing/imprimir.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <cmath>

#include "platform/image_control.h"

namespace crinova {
namespace {

// Controls are laid out in twips, 15 to a pixel.
QRect pixels(double left, double top, double width, double height) {
    auto px = [](double twips) { return static_cast<int>(std::lround(twips / 15.0)); };
    return QRect(px(left), px(top), px(width), px(height));
}

template <typename Control>
Control* place(Control* control, const QString& name, QRect geometry) {
    control->setObjectName(name);
    control->setGeometry(geometry);
    return control;
}

void setBold(QWidget* control, int pointSize) {
    QFont font = control->font();
    font.setBold(true);
    font.setPointSizeF(pointSize);
    control->setFont(font);
}

const char* const kOptionNames[7] = {"",         "opuna",   "opdos", "optres",
                                     "opcuatro", "opcinco", "opseis"};
const char* const kOptionCaptions[7] = {"", "Una", "Dos", "Tres", "Cuatro", "Cinco", "Seis"};

}  // namespace

Imprimir::Imprimir(PrintFlags& flags, Printer& printer, Dialogs& dialogs, const QImage& logo,
                   QWidget* parent)
    : QWidget(parent, Qt::Window), flags_(flags), printer_(printer), dialogs_(dialogs) {
    setObjectName(QStringLiteral("imprimir"));
    setWindowTitle(QStringLiteral("IMPRIMIR FOTOS"));
    close_ = new ModelessClose(this);
    setFixedSize(pixels(0, 0, 9510, 6825).size());
    // The layout is in twips for a small dialog font; captions then fit their boxes.
    QFont font = this->font();
    font.setPointSizeF(8);
    setFont(font);
    createControls(logo);
    refresh();
}

void Imprimir::createControls(const QImage& logo) {
    Frame1_ = place(new QGroupBox(QStringLiteral("PRESENTACIÓN PRELIMINAR"), this),
                    QStringLiteral("Frame1"), pixels(30, 60, 5565, 6735));
    setBold(Frame1_, 10);
    auto* logoImage =
        place(new ImageControl(Frame1_), QStringLiteral("logo"), pixels(390, 330, 4440, 735));
    logoImage->setPicture(logo);
    for (int i = 0; i < 6; ++i) {
        fotos_[static_cast<std::size_t>(i)] =
            place(new ImageControl(Frame1_), QStringLiteral("fotos_%1").arg(i), QRect());
    }

    auto* seleccion = place(new QGroupBox(QStringLiteral("Selección:"), this),
                            QStringLiteral("seleccion"), pixels(5640, 60, 1425, 6735));
    static constexpr int kCheckTop[6] = {210, 1260, 2280, 3330, 4440, 5520};
    static constexpr int kThumbTop[6] = {420, 1470, 2520, 3600, 4710, 5820};
    for (int i = 0; i < 6; ++i) {
        const auto index = static_cast<std::size_t>(i);
        cseleccion_[index] = place(new QCheckBox(QStringLiteral("Foto %1").arg(i + 1), seleccion),
                                   QStringLiteral("cseleccion_%1").arg(i),
                                   pixels(240, kCheckTop[i] - 40, i == 2 ? 795 : 855, 280));
        fseleccion_[index] =
            place(new ImageControl(seleccion), QStringLiteral("fseleccion_%1").arg(i),
                  pixels(210, kThumbTop[i], 780, 780));
        connect(cseleccion_[index], &QCheckBox::toggled, this,
                [this, index](bool ticked) { preview_.cseleccion[index].ticked = ticked; });
    }

    auto* Frame2 = place(new QGroupBox(QStringLiteral("Numero de Fotos por Página:"), this),
                         QStringLiteral("Frame2"), pixels(7140, 60, 2325, 1515));
    // The longest caption of the dialog: a point smaller so that it fits its frame.
    QFont captionFont = font();
    captionFont.setPointSizeF(font().pointSizeF() - 1);
    Frame2->setFont(captionFont);
    for (int n = 1; n <= 6; ++n) {
        const double left = n <= 3 ? 120 : 1260;
        const double top = 270 + ((n - 1) % 3) * 450;
        auto* option = place(new QRadioButton(QString::fromUtf8(kOptionCaptions[n]), Frame2),
                             QString::fromUtf8(kOptionNames[n]), pixels(left, top, 825, 285));
        option->setFont(font());
        option->adjustSize();
        options_[static_cast<std::size_t>(n)] = option;
        connect(option, &QRadioButton::clicked, this,
                [this, n] { opcion_Click(static_cast<Arrangement>(n)); });
    }

    auto* Frame3 = place(new QGroupBox(QStringLiteral("Distorsionar Fotos"), this),
                         QStringLiteral("Frame3"), pixels(7170, 1890, 2295, 1695));
    opaltura_ = place(new QRadioButton(QStringLiteral("Altura"), Frame3),
                      QStringLiteral("opaltura"), pixels(180, 450, 855, 345));
    opanchura_ = place(new QRadioButton(QStringLiteral("Anchura"), Frame3),
                       QStringLiteral("opanchura"), pixels(1200, 450, 915, 345));
    opaltura_->adjustSize();
    opanchura_->adjustSize();
    connect(opaltura_, &QRadioButton::toggled, this,
            [this](bool selected) { preview_.altura = selected; });
    auto* btnaumentar = place(new QPushButton(QStringLiteral("+"), Frame3),
                              QStringLiteral("btnaumentar"), pixels(210, 990, 855, 435));
    auto* btnreducir = place(new QPushButton(QStringLiteral("-"), Frame3),
                             QStringLiteral("btnreducir"), pixels(1290, 990, 855, 435));
    setBold(btnaumentar, 24);
    setBold(btnreducir, 24);
    connect(btnaumentar, &QPushButton::clicked, this, &Imprimir::btnaumentar_Click);
    connect(btnreducir, &QPushButton::clicked, this, &Imprimir::btnreducir_Click);

    auto* btnconfigurar = place(new QPushButton(QStringLiteral("&Configurar Impresora"), this),
                                QStringLiteral("btnconfigurar"), pixels(7170, 3870, 2295, 795));
    btnconfigurar->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    auto* btnimprimir = place(new QPushButton(QStringLiteral("&Imprimir"), this),
                              QStringLiteral("btnimprimir"), pixels(7170, 4830, 2295, 735));
    btnimprimir->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    auto* btnvolver = place(new QPushButton(QStringLiteral("&Volver"), this),
                            QStringLiteral("btnvolver"), pixels(7170, 6150, 2295, 615));
    btnvolver->setIcon(style()->standardIcon(QStyle::SP_ArrowBack));
    connect(btnconfigurar, &QPushButton::clicked, this, &Imprimir::btnconfigurar_Click);
    connect(btnimprimir, &QPushButton::clicked, this, &Imprimir::btnimprimir_Click);
    connect(btnvolver, &QPushButton::clicked, this, &Imprimir::btnvolver_Click);
}

void Imprimir::loadPhotos(const std::array<QImage, 6>& photos, int count) {
    for (std::size_t i = 0; i < 6; ++i) {
        preview_.fotos[i].picture = photos[i];
        preview_.fseleccion[i] = photos[i];
    }
    flags_.numerofotos = count;
    for (int n = 2; n <= 6; ++n) {
        if (offered(static_cast<Arrangement>(n), count)) {
            preview_.optionEnabled[static_cast<std::size_t>(n)] = true;
        }
    }
    refresh();
}

void Imprimir::refresh() {
    for (std::size_t i = 0; i < 6; ++i) {
        const PrintPreview::Image& image = preview_.fotos[i];
        fotos_[i]->setPicture(image.picture);
        fotos_[i]->setGeometry(
            pixels(image.rect.left, image.rect.top, image.rect.width, image.rect.height));
        fotos_[i]->setVisible(image.visible);
        fseleccion_[i]->setPicture(preview_.fseleccion[i]);
        const QSignalBlocker block(cseleccion_[i]);
        cseleccion_[i]->setEnabled(preview_.cseleccion[i].enabled);
        cseleccion_[i]->setChecked(preview_.cseleccion[i].ticked);
    }
    for (std::size_t n = 1; n <= 6; ++n) {
        options_[n]->setEnabled(preview_.optionEnabled[n]);
    }
    options_[static_cast<std::size_t>(preview_.selected)]->setChecked(true);
    (preview_.altura ? opaltura_ : opanchura_)->setChecked(true);
}

void Imprimir::opcion_Click(Arrangement arrangement) {
    preview_.selected = arrangement;
    preview_.build(arrangement);
    refresh();
}

void Imprimir::btnaumentar_Click() {
    preview_.distort(kDistortionStep);
    refresh();
}

void Imprimir::btnreducir_Click() {
    preview_.distort(-kDistortionStep);
    refresh();
}

void Imprimir::btnconfigurar_Click() {
    dialogs_.PrinterSetup(printer_);
    flags_.impresoraconfigurada = true;  // set up, whether confirmed or cancelled
}

PrintJob Imprimir::job() const {
    PrintJob job;
    job.numerofotos = flags_.numerofotos;
    job.selected = preview_.selected;
    for (std::size_t i = 0; i < 6; ++i) {
        job.ticked[i] = preview_.cseleccion[i].ticked;
        job.photos[i] = preview_.fotos[i].picture;
    }
    job.logo = findChild<ImageControl*>(QStringLiteral("logo"))->picture();
    job.W0 = preview_.fotos[0].rect.width;
    job.H0 = preview_.fotos[0].rect.height;
    job.H1 = preview_.fotos[1].rect.height;
    return job;
}

void Imprimir::btnimprimir_Click() {
    if (!flags_.impresoraconfigurada) {
        const MessageAnswer answer = dialogs_.MsgBox(
            QStringLiteral("No ha Configurado la Impresora, ¿desea Configurarla ahora?"),
            MessageButtons::YesNo, MessageIcon::None,
            QStringLiteral("Falta Configurar la Impresora"));
        if (answer == MessageAnswer::Yes) {
            btnconfigurar_Click();
            return;
        }
    }
    QString error;
    if (!printPages(job(), printer_, &error)) {
        dialogs_.MsgBox(QStringLiteral("No se ha podido imprimir.\n\n%1").arg(error),
                        MessageButtons::Ok, MessageIcon::Critical,
                        QStringLiteral("Error al Imprimir"));
    }
}

void Imprimir::btnvolver_Click() {
    close();
}

void Imprimir::Form_Activate() {
    // The "Una" preview is rebuilt on every activation; the selected option stays as it was.
    preview_.build(Arrangement::Una);
    refresh();
}

void Imprimir::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (activation_.activated(this, event)) {
        Form_Activate();
    }
}

void Imprimir::closeEvent(QCloseEvent* event) {
    close_->closing([this] {
        for (std::size_t i = 0; i < 6; ++i) {
            preview_.fotos[i].picture = QImage();
            preview_.fseleccion[i] = QImage();
        }
        refresh();
    });
    event->accept();
}

}  // namespace crinova
