// The controls of the main window and where they stand. Positions are pixels of the 632 x 434 area
// below the toolbar; the slot thumbnails follow the frame's twips (15 to a pixel).
#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QValidator>

#include <algorithm>

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

// Step fields take digits only, however the text arrives (pasted, dropped, set): anything else is
// dropped from it. Refusing the edit would not do, since a field that already holds other
// characters lets every later edit through. A typed key that is not a digit is discarded before it
// reaches the field, so it leaves the text and the selection as they were instead of replacing the
// selection with nothing.
class DigitsOnly : public QValidator {
  public:
    explicit DigitsOnly(QLineEdit* field) : QValidator(field) { field->installEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const QString typed = static_cast<QKeyEvent*>(event)->text();
            // Control keys (backspace, shortcuts) carry no printable text and go through.
            const bool printable =
                std::any_of(typed.begin(), typed.end(), [](QChar c) { return c.isPrint(); });
            if (printable && std::any_of(typed.begin(), typed.end(), [](QChar c) {
                    return c < QLatin1Char('0') || c > QLatin1Char('9');
                })) {
                return true;
            }
        }
        return QValidator::eventFilter(watched, event);
    }
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
    controls_.fprincipal = new PictureBox(buffers_.fprincipal, area);
    controls_.fprincipal->setObjectName(QStringLiteral("fprincipal"));
    controls_.fprincipal->move(4, 4);

    controls_.fotoinicial =
        place(new ImageControl(area), QStringLiteral("fotoinicial"), 314, 4, 150, 160);
    controls_.fotoinicial->setFramed(true);
    controls_.logotipo = place(new ImageControl(area), QStringLiteral("logotipo"), 468, 4, 160, 46);

    controls_.Frame1 = frame(area, QStringLiteral("Frame1"), "Actua en:", 468, 52, 160, 46);
    controls_.opfoto = place(new QRadioButton(QStringLiteral("Foto"), controls_.Frame1),
                             QStringLiteral("opfoto"), 10, 20, 70, 20);
    controls_.oppelo = place(new QRadioButton(QStringLiteral("Pelo"), controls_.Frame1),
                             QStringLiteral("oppelo"), 84, 20, 70, 20);
    controls_.opfoto->setChecked(true);
    setTextColour(controls_.opfoto, Qt::red);

    controls_.opciones = frame(area, QStringLiteral("opciones"), "Opciones:", 468, 100, 160, 64);
    controls_.oppaletal = place(new QRadioButton(QStringLiteral("Lateral"), controls_.opciones),
                                QStringLiteral("oppaletal"), 10, 18, 72, 20);
    controls_.opnuca = place(new QRadioButton(QStringLiteral("Nuca"), controls_.opciones),
                             QStringLiteral("opnuca"), 84, 18, 70, 20);
    controls_.oppaletal->setEnabled(false);
    controls_.opnuca->setEnabled(false);
    controls_.opvolver = place(new QLabel(QStringLiteral("RESTAURAR FOTO"), controls_.opciones),
                               QStringLiteral("opvolver"), 10, 40, 140, 18);
    controls_.opvolver->setCursor(Qt::PointingHandCursor);
    controls_.opvolver->setVisible(false);

    for (int i = 0; i < 6; ++i) {
        auto* thumbnail = place(new ImageControl(area), QStringLiteral("Muestrapelos_%1").arg(i),
                                314 + (i % 3) * 64, 170 + (i / 3) * 68, 60, 64);
        thumbnail->setFramed(true);
        thumbnail->setCursor(Qt::PointingHandCursor);
        controls_.Muestrapelos[static_cast<std::size_t>(i)] = thumbnail;
    }
    for (int i = 0; i < 2; ++i) {
        controls_.btnpelos[static_cast<std::size_t>(i)] =
            place(new ImageControl(area), QStringLiteral("btnpelos_%1").arg(i), 510, 184 + i * 56,
                  32, 32);
        controls_.btnpelos[static_cast<std::size_t>(i)]->setCursor(Qt::PointingHandCursor);
    }
    controls_.btnpelos[0]->setPicture(firstPageIcon());
    controls_.btnpelos[1]->setPicture(nextPageIcon());

    controls_.Frame3 = frame(area, QStringLiteral("Frame3"), "Girar", 548, 166, 80, 136);
    controls_.txtgirar = place(new QLineEdit(QStringLiteral("0"), controls_.Frame3),
                               QStringLiteral("txtgirar"), 8, 22, 64, 22);
    controls_.txtgirar->setMaxLength(2);
    controls_.txtgirar->setValidator(new DigitsOnly(controls_.txtgirar));
    for (int i = 0; i < 2; ++i) {
        controls_.btngirar[static_cast<std::size_t>(i)] =
            place(new ImageControl(controls_.Frame3), QStringLiteral("btngirar_%1").arg(i),
                  6 + i * 36, 52, 32, 32);
        controls_.btngirar[static_cast<std::size_t>(i)]->setPicture(rotateIcon(i == 0));
        controls_.btngirar[static_cast<std::size_t>(i)]->setCursor(Qt::PointingHandCursor);
    }
    controls_.btnrestauragirar =
        place(new QPushButton(QStringLiteral("&Restaurar"), controls_.Frame3),
              QStringLiteral("btnrestauragirar"), 4, 96, 72, 28);
    controls_.btnrestauragirar->setEnabled(false);

    controls_.Frame4 = frame(area, QStringLiteral("Frame4"), "Ampliar, Reducir", 314, 306, 314, 48);
    controls_.ancho = place(new QCheckBox(QStringLiteral("Ancho"), controls_.Frame4),
                            QStringLiteral("ancho"), 10, 20, 64, 20);
    controls_.alto = place(new QCheckBox(QStringLiteral("Alto"), controls_.Frame4),
                           QStringLiteral("alto"), 78, 20, 56, 20);
    controls_.ancho->setChecked(true);
    controls_.alto->setChecked(true);
    controls_.txtampliar = place(new QLineEdit(QStringLiteral("0"), controls_.Frame4),
                                 QStringLiteral("txtampliar"), 140, 18, 56, 24);
    controls_.txtampliar->setMaxLength(3);
    controls_.txtampliar->setValidator(new DigitsOnly(controls_.txtampliar));
    controls_.btnampliar[0] = place(new QPushButton(QStringLiteral("+"), controls_.Frame4),
                                    QStringLiteral("btnampliar_0"), 204, 16, 48, 28);
    controls_.btnampliar[1] = place(new QPushButton(QStringLiteral("-"), controls_.Frame4),
                                    QStringLiteral("btnampliar_1"), 258, 16, 48, 28);

    // The slot frame and its thumbnails stand where the twips say; slot 3 is left of slot 2.
    controls_.Fotos = frame(area, QStringLiteral("Fotos"), "Fotos Seleccionadas", twips(36),
                            twips(5364), twips(7032), twips(1164) + kFrameCaption);
    static constexpr int kSlotLeft[7] = {0, 90, 2400, 1230, 3540, 4710, 5895};
    for (int n = 1; n <= 6; ++n) {
        auto* slot =
            place(new ImageControl(controls_.Fotos), QStringLiteral("Fotoseleccionada_%1").arg(n),
                  twips(kSlotLeft[n]), twips(30) + kFrameCaption, twips(1095), twips(1095));
        controls_.Fotoseleccionada[static_cast<std::size_t>(n)] = slot;
    }

    controls_.infobprogreso =
        place(new QLineEdit(area), QStringLiteral("infobprogreso"), 478, 372, 150, 24);
    controls_.infobprogreso->setReadOnly(true);
    controls_.infobprogreso->setAlignment(Qt::AlignCenter);
    controls_.bprogreso =
        place(new QProgressBar(area), QStringLiteral("bprogreso"), 478, 406, 150, 20);
    controls_.bprogreso->setRange(0, 100);
    controls_.bprogreso->setValue(0);
    controls_.bprogreso->setTextVisible(false);

    controls_.Timer1 = new QTimer(this);
    controls_.Timer1->setObjectName(QStringLiteral("Timer1"));
    controls_.Timer1->setInterval(5000);
    controls_.Timer2 = new QTimer(this);
    controls_.Timer2->setObjectName(QStringLiteral("Timer2"));
    controls_.Timer2->setInterval(1000);
    connect(controls_.Timer1, &QTimer::timeout, this, &Principal::Timer1_Timer);
    connect(controls_.Timer2, &QTimer::timeout, this, &Principal::Timer2_Timer);
}

}  // namespace crinova
