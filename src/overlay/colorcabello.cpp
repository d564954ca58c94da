#include "overlay/colorcabello.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>

#include "overlay/lab_colour.h"

namespace crinova {
namespace {

const char* const kNoDirection =
    "Este cabello no tiene una dirección clara (rizos): las mechas dibujarían bucles. "
    "El Balayage sí se puede aplicar.";

template <typename Control>
Control* named(Control* control, const char* name) {
    control->setObjectName(QString::fromUtf8(name));
    return control;
}

QComboBox* levelBox(QWidget* parent, const char* name) {
    auto* box = named(new QComboBox(parent), name);
    for (int level = 1; level <= kLevelCount; ++level) {
        box->addItem(levelName(level));
    }
    return box;
}

QComboBox* reflejoBox(QWidget* parent, const char* name) {
    auto* box = named(new QComboBox(parent), name);
    for (int i = 0; i < kReflejoCount; ++i) {
        box->addItem(reflejoName(Reflejo(i)));
    }
    return box;
}

QLabel* swatch(QWidget* parent, const char* name) {
    auto* label = named(new QLabel(parent), name);
    label->setFixedSize(40, 24);
    label->setFrameShape(QFrame::Box);
    label->setAutoFillBackground(true);
    return label;
}

void paintSwatch(QLabel* label, const std::optional<Lab>& colour) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window,
                     colour ? QColor(rgbFromLab(*colour))
                            : label->parentWidget()->palette().color(QPalette::Window));
    label->setPalette(palette);
}

}  // namespace

Colorcabello::Colorcabello(ColourHost host)
    : QWidget(host.parent, Qt::Window), host_(std::move(host)) {
    setObjectName(QStringLiteral("colorcabello"));
    setWindowTitle(QStringLiteral("COLOR DEL CABELLO"));
    close_ = new ModelessClose(this);
    if (const std::optional<HairColour> chosen = host_.chosen()) {
        choice_ = *chosen;
        active_ = true;
    }
    createControls();
    cpelopropio_->setChecked(host_.ownHairColoured());
    showChoice();
    styleChanged();
}

void Colorcabello::createControls() {
    auto* layout = new QGridLayout(this);

    auto* tono = new QGroupBox(QStringLiteral("Tono"), this);
    auto* tonoLayout = new QGridLayout(tono);
    cbaltura_ = levelBox(tono, "cbaltura");
    cbaltura_->setPlaceholderText(QStringLiteral("(elija la altura)"));
    cbreflejo_ = reflejoBox(tono, "cbreflejo");
    fmuestra_ = swatch(tono, "fmuestra");
    lbltono_ = named(new QLabel(tono), "lbltono");
    QFont bold = lbltono_->font();
    bold.setBold(true);
    lbltono_->setFont(bold);
    btnfantasia_ = named(new QPushButton(QStringLiteral("&Fantasía..."), tono), "btnfantasia");
    sldintensidad_ = named(new QSlider(Qt::Horizontal, tono), "sldintensidad");
    sldintensidad_->setRange(0, 100);
    lblintensidad_ = named(new QLabel(tono), "lblintensidad");
    tonoLayout->addWidget(new QLabel(QStringLiteral("Altura:"), tono), 0, 0);
    tonoLayout->addWidget(cbaltura_, 0, 1);
    tonoLayout->addWidget(new QLabel(QStringLiteral("Reflejo:"), tono), 1, 0);
    tonoLayout->addWidget(cbreflejo_, 1, 1);
    tonoLayout->addWidget(fmuestra_, 2, 0);
    tonoLayout->addWidget(lbltono_, 2, 1);
    tonoLayout->addWidget(btnfantasia_, 3, 1);
    tonoLayout->addWidget(new QLabel(QStringLiteral("Intensidad:"), tono), 4, 0);
    tonoLayout->addWidget(sldintensidad_, 4, 1);
    tonoLayout->addWidget(lblintensidad_, 4, 2);
    layout->addWidget(tono, 0, 0, 1, 2);

    auto* mechas = new QGroupBox(QStringLiteral("Mechas y Balayage"), this);
    auto* mechasLayout = new QGridLayout(mechas);
    cmechas_ = named(new QCheckBox(QStringLiteral("Mechas"), mechas), "cmechas");
    cbalayage_ = named(new QCheckBox(QStringLiteral("Balayage"), mechas), "cbalayage");
    cbalturamechas_ = levelBox(mechas, "cbalturamechas");
    cbreflejomechas_ = reflejoBox(mechas, "cbreflejomechas");
    fmuestramechas_ = swatch(mechas, "fmuestramechas");
    mechasLayout->addWidget(cmechas_, 0, 0);
    mechasLayout->addWidget(cbalayage_, 0, 1);
    mechasLayout->addWidget(new QLabel(QStringLiteral("Segundo tono:"), mechas), 1, 0);
    mechasLayout->addWidget(cbalturamechas_, 1, 1);
    mechasLayout->addWidget(fmuestramechas_, 2, 0);
    mechasLayout->addWidget(cbreflejomechas_, 2, 1);
    layout->addWidget(mechas, 1, 0, 1, 2);

    cpelopropio_ =
        named(new QCheckBox(QStringLiteral("Aplicar a su propio pelo"), this), "cpelopropio");
    layout->addWidget(cpelopropio_, 2, 0, 1, 2);
    btncolororiginal_ =
        named(new QPushButton(QStringLiteral("Color &Original"), this), "btncolororiginal");
    btncerrar_ = named(new QPushButton(QStringLiteral("&Cerrar"), this), "btncerrar");
    layout->addWidget(btncolororiginal_, 3, 0);
    layout->addWidget(btncerrar_, 3, 1);

    connect(cbaltura_, &QComboBox::activated, this, &Colorcabello::cbaltura_Click);
    connect(cbreflejo_, &QComboBox::activated, this, &Colorcabello::cbreflejo_Click);
    connect(btnfantasia_, &QPushButton::clicked, this, &Colorcabello::btnfantasia_Click);
    connect(sldintensidad_, &QSlider::valueChanged, this, &Colorcabello::sldintensidad_Change);
    connect(cmechas_, &QCheckBox::clicked, this, &Colorcabello::cmechas_Click);
    connect(cbalayage_, &QCheckBox::clicked, this, &Colorcabello::cbalayage_Click);
    connect(cbalturamechas_, &QComboBox::activated, this, &Colorcabello::cbalturamechas_Click);
    connect(cbreflejomechas_, &QComboBox::activated, this, &Colorcabello::cbalturamechas_Click);
    connect(cpelopropio_, &QCheckBox::clicked, this, &Colorcabello::cpelopropio_Click);
    connect(btncolororiginal_, &QPushButton::clicked, this, &Colorcabello::btncolororiginal_Click);
    connect(btncerrar_, &QPushButton::clicked, this, &QWidget::close);
}

void Colorcabello::showChoice() {
    const QSignalBlocker blockSlider(sldintensidad_);
    cbaltura_->setCurrentIndex(active_ && !choice_.shade.fantasia ? choice_.shade.level - 1 : -1);
    cbreflejo_->setCurrentIndex(int(choice_.shade.reflejo));
    lbltono_->setText(active_ ? choice_.shade.name() : QStringLiteral("Color original"));
    paintSwatch(fmuestra_, active_ ? std::optional<Lab>(choice_.shade.target()) : std::nullopt);
    sldintensidad_->setValue(choice_.intensity);
    lblintensidad_->setText(QStringLiteral("%1 %").arg(choice_.intensity));
    cmechas_->setChecked(choice_.highlights == Highlights::Mechas);
    cbalayage_->setChecked(choice_.highlights == Highlights::Balayage);
    const bool second = choice_.highlights != Highlights::None;
    cbalturamechas_->setCurrentIndex(choice_.second.level - 1);
    cbreflejomechas_->setCurrentIndex(int(choice_.second.reflejo));
    cbalturamechas_->setEnabled(second);
    cbreflejomechas_->setEnabled(second);
    paintSwatch(fmuestramechas_,
                second ? std::optional<Lab>(choice_.second.target()) : std::nullopt);
    cbalturamechas_->setToolTip(choice_.second.name());
}

void Colorcabello::apply() {
    showChoice();
    host_.show(active_ ? std::optional<HairColour>(choice_) : std::nullopt);
}

void Colorcabello::styleChanged() {
    const bool clear = host_.strandsHaveDirection();
    cmechas_->setEnabled(clear);
    cmechas_->setToolTip(clear ? QString() : QString::fromUtf8(kNoDirection));
}

void Colorcabello::cbaltura_Click() {
    if (cbaltura_->currentIndex() < 0) {
        return;
    }
    choice_.shade = {cbaltura_->currentIndex() + 1, Reflejo(cbreflejo_->currentIndex()), {}};
    active_ = true;
    apply();
}

void Colorcabello::cbreflejo_Click() {
    choice_.shade.reflejo = Reflejo(cbreflejo_->currentIndex());
    if (cbaltura_->currentIndex() < 0) {
        return;  // the level decides first what is shown
    }
    choice_.shade.fantasia.reset();
    apply();
}

void Colorcabello::btnfantasia_Click() {
    const std::optional<Colour> answer =
        host_.dialogs.ChooseColour(toColour(rgbFromLab(choice_.shade.target())));
    if (!answer) {
        return;  // cancelled: nothing changes
    }
    choice_.shade.fantasia = labFromRgb(toPixel(*answer));
    active_ = true;
    apply();
}

void Colorcabello::sldintensidad_Change() {
    choice_.intensity = sldintensidad_->value();
    lblintensidad_->setText(QStringLiteral("%1 %").arg(choice_.intensity));
    if (active_) {
        apply();
    }
}

void Colorcabello::cmechas_Click() {
    choice_.highlights = cmechas_->isChecked() ? Highlights::Mechas : Highlights::None;
    if (active_) {
        apply();
    } else {
        showChoice();
    }
}

void Colorcabello::cbalayage_Click() {
    choice_.highlights = cbalayage_->isChecked() ? Highlights::Balayage : Highlights::None;
    if (active_) {
        apply();
    } else {
        showChoice();
    }
}

void Colorcabello::cbalturamechas_Click() {
    choice_.second = {
        cbalturamechas_->currentIndex() + 1, Reflejo(cbreflejomechas_->currentIndex()), {}};
    if (active_) {
        apply();
    } else {
        showChoice();
    }
}

void Colorcabello::cpelopropio_Click() {
    if (cpelopropio_->isChecked() && !host_.ownHairSelected() &&
        (host_.dialogs.MsgBox(
             QStringLiteral("Para ver el color en su propio pelo, primero hay que seleccionar el "
                            "pelo propio del Cliente/a. ¿Seleccionarlo ahora?"),
             MessageButtons::YesNo, MessageIcon::Question,
             QStringLiteral("Error Faltan Datos")) != MessageAnswer::Yes ||
         !host_.selectOwnHair())) {
        cpelopropio_->setChecked(false);
        return;
    }
    host_.colourOwnHair(cpelopropio_->isChecked());
    apply();
}

void Colorcabello::btncolororiginal_Click() {
    active_ = false;
    cpelopropio_->setChecked(false);
    host_.colourOwnHair(false);
    apply();
}

void Colorcabello::closeEvent(QCloseEvent* event) {
    close_->closing();
    event->accept();
}

}  // namespace crinova
