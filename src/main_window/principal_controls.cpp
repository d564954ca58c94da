// The controls of the main window and where they stand. Positions are pixels of the 632 x 434 area
// below the toolbar; the slot thumbnails follow the frame's twips (15 to a pixel).
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QValidator>

#include "main_window/principal.h"
#include "main_window/window_icons.h"
#include "platform/image_control.h"
#include "platform/picture_box.h"
#include "platform/text_colour.h"

namespace crinova {
namespace {

inline constexpr int kClientWidth = 632;
// 434 pixels, and room below for the slot frame's caption above its thumbnails.
inline constexpr int kClientHeight = 452;
inline constexpr int kFrameCaption = 16;
inline constexpr int kPictureWidth = 300;
inline constexpr int kPictureHeight = 320;

template <typename Control>
Control* place(Control* control, const QString& name, int x, int y, int width, int height) {
    control->setObjectName(name);
    control->setGeometry(x, y, width, height);
    return control;
}

QGroupBox* frame(QWidget* parent, const QString& name, const char* caption, int x, int y, int width,
                 int height) {
    return place(new QGroupBox(QString::fromUtf8(caption), parent), name, x, y, width, height);
}

// Step fields take digits only, however the text arrives (typed, pasted, dropped, set): anything
// else is dropped from it. Refusing the edit would not do, since a field that already holds other
// characters lets every later edit through.
class DigitsOnly : public QValidator {
  public:
    using QValidator::QValidator;
    State validate(QString& input, int& position) const override {
        QString digits;
        int kept = position;
        for (qsizetype i = 0; i < input.size(); ++i) {
            const QChar c = input.at(i);
            if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
                digits += c;
            } else if (i < position) {
                --kept;
            }
        }
        input = digits;
        position = kept;
        return Acceptable;
    }
};

int twips(int value) {
    return (value + 7) / 15;
}

}  // namespace

void Principal::createControls() {
    auto* area = new QWidget(this);
    area->setObjectName(QStringLiteral("area"));
    area->setFixedSize(kClientWidth, kClientHeight);
    setCentralWidget(area);

    buffers_.fprincipal.Resize(kPictureWidth, kPictureHeight);
    fprincipal_ = new PictureBox(buffers_.fprincipal, area);
    fprincipal_->setObjectName(QStringLiteral("fprincipal"));
    fprincipal_->move(4, 4);

    fotoinicial_ = place(new ImageControl(area), QStringLiteral("fotoinicial"), 314, 4, 150, 160);
    fotoinicial_->setFramed(true);
    logotipo_ = place(new ImageControl(area), QStringLiteral("logotipo"), 468, 4, 160, 46);

    Frame1_ = frame(area, QStringLiteral("Frame1"), "Actua en:", 468, 52, 160, 46);
    opfoto_ = place(new QRadioButton(QStringLiteral("Foto"), Frame1_), QStringLiteral("opfoto"), 10,
                    20, 70, 20);
    oppelo_ = place(new QRadioButton(QStringLiteral("Pelo"), Frame1_), QStringLiteral("oppelo"), 84,
                    20, 70, 20);
    opfoto_->setChecked(true);
    setTextColour(opfoto_, Qt::red);

    opciones_ = frame(area, QStringLiteral("opciones"), "Opciones:", 468, 100, 160, 64);
    oppaletal_ = place(new QRadioButton(QStringLiteral("Lateral"), opciones_),
                       QStringLiteral("oppaletal"), 10, 18, 72, 20);
    opnuca_ = place(new QRadioButton(QStringLiteral("Nuca"), opciones_), QStringLiteral("opnuca"),
                    84, 18, 70, 20);
    oppaletal_->setEnabled(false);
    opnuca_->setEnabled(false);
    opvolver_ = place(new QLabel(QStringLiteral("RESTAURAR FOTO"), opciones_),
                      QStringLiteral("opvolver"), 10, 40, 140, 18);
    opvolver_->setCursor(Qt::PointingHandCursor);
    opvolver_->setVisible(false);

    for (int i = 0; i < 6; ++i) {
        auto* thumbnail = place(new ImageControl(area), QStringLiteral("Muestrapelos_%1").arg(i),
                                314 + (i % 3) * 64, 170 + (i / 3) * 68, 60, 64);
        thumbnail->setFramed(true);
        thumbnail->setCursor(Qt::PointingHandCursor);
        Muestrapelos_[static_cast<std::size_t>(i)] = thumbnail;
    }
    for (int i = 0; i < 2; ++i) {
        btnpelos_[static_cast<std::size_t>(i)] =
            place(new ImageControl(area), QStringLiteral("btnpelos_%1").arg(i), 510, 184 + i * 56,
                  32, 32);
        btnpelos_[static_cast<std::size_t>(i)]->setCursor(Qt::PointingHandCursor);
    }
    btnpelos_[0]->setPicture(firstPageIcon());
    btnpelos_[1]->setPicture(nextPageIcon());

    Frame3_ = frame(area, QStringLiteral("Frame3"), "Girar", 548, 166, 80, 136);
    txtgirar_ = place(new QLineEdit(QStringLiteral("0"), Frame3_), QStringLiteral("txtgirar"), 8,
                      22, 64, 22);
    txtgirar_->setMaxLength(2);
    txtgirar_->setValidator(new DigitsOnly(txtgirar_));
    for (int i = 0; i < 2; ++i) {
        btngirar_[static_cast<std::size_t>(i)] =
            place(new ImageControl(Frame3_), QStringLiteral("btngirar_%1").arg(i), 6 + i * 36, 52,
                  32, 32);
        btngirar_[static_cast<std::size_t>(i)]->setPicture(rotateIcon(i == 0));
        btngirar_[static_cast<std::size_t>(i)]->setCursor(Qt::PointingHandCursor);
    }
    btnrestauragirar_ = place(new QPushButton(QStringLiteral("&Restaurar"), Frame3_),
                              QStringLiteral("btnrestauragirar"), 4, 96, 72, 28);
    btnrestauragirar_->setEnabled(false);

    Frame4_ = frame(area, QStringLiteral("Frame4"), "Ampliar, Reducir", 314, 306, 314, 48);
    ancho_ = place(new QCheckBox(QStringLiteral("Ancho"), Frame4_), QStringLiteral("ancho"), 10, 20,
                   64, 20);
    alto_ = place(new QCheckBox(QStringLiteral("Alto"), Frame4_), QStringLiteral("alto"), 78, 20,
                  56, 20);
    ancho_->setChecked(true);
    alto_->setChecked(true);
    txtampliar_ = place(new QLineEdit(QStringLiteral("0"), Frame4_), QStringLiteral("txtampliar"),
                        140, 18, 56, 24);
    txtampliar_->setMaxLength(3);
    txtampliar_->setValidator(new DigitsOnly(txtampliar_));
    btnampliar_[0] = place(new QPushButton(QStringLiteral("+"), Frame4_),
                           QStringLiteral("btnampliar_0"), 204, 16, 48, 28);
    btnampliar_[1] = place(new QPushButton(QStringLiteral("-"), Frame4_),
                           QStringLiteral("btnampliar_1"), 258, 16, 48, 28);

    // The slot frame and its thumbnails stand where the twips say; slot 3 is left of slot 2.
    Fotos_ = frame(area, QStringLiteral("Fotos"), "Fotos Seleccionadas", twips(36), twips(5364),
                   twips(7032), twips(1164) + kFrameCaption);
    static constexpr int kSlotLeft[7] = {0, 90, 2400, 1230, 3540, 4710, 5895};
    for (int n = 1; n <= 6; ++n) {
        auto* slot =
            place(new ImageControl(Fotos_), QStringLiteral("Fotoseleccionada_%1").arg(n),
                  twips(kSlotLeft[n]), twips(30) + kFrameCaption, twips(1095), twips(1095));
        Fotoseleccionada_[static_cast<std::size_t>(n)] = slot;
    }

    infobprogreso_ = place(new QLineEdit(area), QStringLiteral("infobprogreso"), 478, 372, 150, 24);
    infobprogreso_->setReadOnly(true);
    infobprogreso_->setAlignment(Qt::AlignCenter);
    bprogreso_ = place(new QProgressBar(area), QStringLiteral("bprogreso"), 478, 406, 150, 20);
    bprogreso_->setRange(0, 100);
    bprogreso_->setValue(0);
    bprogreso_->setTextVisible(false);

    timer1_ = new QTimer(this);
    timer1_->setObjectName(QStringLiteral("Timer1"));
    timer1_->setInterval(5000);
    timer2_ = new QTimer(this);
    timer2_->setObjectName(QStringLiteral("Timer2"));
    timer2_->setInterval(1000);
    connect(timer1_, &QTimer::timeout, this, &Principal::Timer1_Timer);
    connect(timer2_, &QTimer::timeout, this, &Principal::Timer2_Timer);
}

}  // namespace crinova
