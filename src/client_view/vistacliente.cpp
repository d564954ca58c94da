#include "client_view/vistacliente.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSlider>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

#include "client_view/view_pictures.h"
#include "platform/image_control.h"
#include "slots/wipe.h"

namespace crinova {

// A large picture shown as large as the widget allows, keeping its proportions, on black; or two
// side by side; or two split by a divider that follows the mouse.
class ViewPicture : public QWidget {
  public:
    enum class Mode { Single, SideBySide, Divided };

    explicit ViewPicture(QWidget* parent) : QWidget(parent) {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setMinimumSize(160, 160);
    }

    void setPictures(const QImage& first, const QImage& second = {}) {
        first_ = first;
        second_ = second;
        frame_ = QImage();
        update();
    }
    // A frame already at the size shown (the wipe), centred.
    void setFrame(const QImage& frame) {
        frame_ = frame;
        update();
    }
    void setMode(Mode mode) {
        mode_ = mode;
        update();
    }
    void setDivider(double divider) {
        divider_ = divider;
        update();
    }
    const QImage& first() const { return first_; }
    // Where `picture` shows when it alone fills the widget.
    QRect fitted(QSize picture) const { return fittedRect(picture, rect()); }
    std::function<void(double)> dividerDragged;

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::black);
        if (!frame_.isNull()) {
            painter.drawImage(fitted(frame_.size()).topLeft(), frame_);
            return;
        }
        if (mode_ == Mode::SideBySide && !second_.isNull()) {
            const QRect left(0, 0, width() / 2, height());
            const QRect right(width() / 2, 0, width() - width() / 2, height());
            draw(painter, first_, fittedRect(first_.size(), left), firstCache_);
            draw(painter, second_, fittedRect(second_.size(), right), secondCache_);
            return;
        }
        const QRect area = fitted(first_.size());
        if (mode_ == Mode::Divided && !second_.isNull()) {
            const QImage& before = scaled(first_, area.size(), firstCache_);
            const QImage& after = scaled(second_, area.size(), secondCache_);
            painter.drawImage(area.topLeft(), dividedPicture(before, after, divider_));
            const int x = area.left() + int(divider_ * area.width());
            painter.fillRect(QRect(x - 1, area.top(), 3, area.height()), Qt::white);
            return;
        }
        draw(painter, first_, area, firstCache_);
    }
    void mousePressEvent(QMouseEvent* event) override { drag(event); }
    void mouseMoveEvent(QMouseEvent* event) override { drag(event); }
    void mouseDoubleClickEvent(QMouseEvent* event) override { event->ignore(); }

  private:
    struct Cache {
        qint64 key = 0;
        QImage picture;
    };
    static const QImage& scaled(const QImage& picture, QSize size, Cache& cache) {
        if (cache.key != picture.cacheKey() || cache.picture.size() != size) {
            cache.key = picture.cacheKey();
            cache.picture = picture.isNull() ? QImage() : scaledForView(picture, size);
        }
        return cache.picture;
    }
    static void draw(QPainter& painter, const QImage& picture, const QRect& area, Cache& cache) {
        if (!picture.isNull() && !area.isEmpty()) {
            painter.drawImage(area.topLeft(), scaled(picture, area.size(), cache));
        }
    }
    void drag(QMouseEvent* event) {
        const QRect area = fitted(first_.size());
        if (mode_ != Mode::Divided || area.isEmpty() || !dividerDragged) {
            event->ignore();
            return;
        }
        dividerDragged(std::clamp((event->position().x() - area.left()) / area.width(), 0.0, 1.0));
    }

    QImage first_;
    QImage second_;
    QImage frame_;
    Mode mode_ = Mode::Single;
    double divider_ = 0.5;
    Cache firstCache_;
    Cache secondCache_;
};

namespace {

constexpr int kSlideInterval = 5000;  // as the slide show's Timer1
constexpr int kWipeTick = 15;

ViewPicture* viewPicture(QWidget* parent, const char* name) {
    auto* picture = new ViewPicture(parent);
    picture->setObjectName(QString::fromLatin1(name));
    return picture;
}

}  // namespace

Vistacliente::Vistacliente(ClientViewHost host, QWidget* parent)
    : QWidget(parent, Qt::Window), host_(std::move(host)) {
    setObjectName(QStringLiteral("vistacliente"));
    setWindowTitle(QStringLiteral("Vista para el Cliente"));
    close_ = new ModelessClose(this);
    clock_ = [] { return std::chrono::steady_clock::now(); };

    tabvista_ = new QTabWidget(this);
    tabvista_->setObjectName(QStringLiteral("tabvista"));

    fahora_ = viewPicture(tabvista_, "fahora");
    tabvista_->addTab(fahora_, QStringLiteral("Ahora"));

    auto* comparison = new QWidget(tabvista_);
    opladoalado_ = new QRadioButton(QStringLiteral("Uno al &lado del otro"), comparison);
    opladoalado_->setObjectName(QStringLiteral("opladoalado"));
    opladoalado_->setChecked(true);
    opdivisor_ = new QRadioButton(QStringLiteral("Con &divisor"), comparison);
    opdivisor_->setObjectName(QStringLiteral("opdivisor"));
    slddivisor_ = new QSlider(Qt::Horizontal, comparison);
    slddivisor_->setObjectName(QStringLiteral("slddivisor"));
    slddivisor_->setRange(0, 100);
    slddivisor_->setValue(50);
    slddivisor_->setEnabled(false);
    fcomparar_ = viewPicture(comparison, "fcomparar");
    fcomparar_->setMode(ViewPicture::Mode::SideBySide);
    fcomparar_->dividerDragged = [this](double at) { slddivisor_->setValue(int(at * 100 + 0.5)); };
    auto* options = new QHBoxLayout;
    options->addWidget(opladoalado_);
    options->addWidget(opdivisor_);
    options->addWidget(slddivisor_, 1);
    auto* comparisonLayout = new QVBoxLayout(comparison);
    comparisonLayout->addLayout(options);
    comparisonLayout->addWidget(fcomparar_, 1);
    tabvista_->addTab(comparison, QStringLiteral("Antes y Después"));

    auto* saved = new QWidget(tabvista_);
    auto* thumbnails = new QHBoxLayout;
    for (int i = 1; i <= 6; ++i) {
        auto* thumbnail = new ImageControl(saved);
        thumbnail->setObjectName(QStringLiteral("fguardada_%1").arg(i));
        thumbnail->setFramed(true);
        thumbnail->setFixedSize(75, 80);
        thumbnail->setCursor(Qt::PointingHandCursor);
        connect(thumbnail, &ImageControl::clicked, this, [this, i] { fguardada_Click(i); });
        fguardada_[static_cast<std::size_t>(i)] = thumbnail;
        thumbnails->addWidget(thumbnail);
    }
    btnpasar_ = new QPushButton(QStringLiteral("&Pasar las Fotos"), saved);
    btnpasar_->setObjectName(QStringLiteral("btnpasar"));
    thumbnails->addStretch(1);
    thumbnails->addWidget(btnpasar_);
    fguardada0_ = viewPicture(saved, "fguardada");
    lblguardada_ = new QLabel(saved);
    lblguardada_->setObjectName(QStringLiteral("lblguardada"));
    lblguardada_->setAlignment(Qt::AlignCenter);
    auto* savedLayout = new QVBoxLayout(saved);
    savedLayout->addLayout(thumbnails);
    savedLayout->addWidget(fguardada0_, 1);
    savedLayout->addWidget(lblguardada_);
    tabvista_->addTab(saved, QStringLiteral("Guardadas"));

    infovista_ = new QLabel(this);
    infovista_->setObjectName(QStringLiteral("infovista"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(tabvista_, 1);
    layout->addWidget(infovista_);

    tmrpasar_ = new QTimer(this);
    tmrpasar_->setObjectName(QStringLiteral("tmrpasar"));
    tmrpasar_->setInterval(kSlideInterval);
    tmrcortinilla_ = new QTimer(this);
    tmrcortinilla_->setObjectName(QStringLiteral("tmrcortinilla"));
    tmrcortinilla_->setInterval(kWipeTick);

    connect(tabvista_, &QTabWidget::currentChanged, this, &Vistacliente::tabvista_Change);
    connect(opladoalado_, &QRadioButton::clicked, this, &Vistacliente::opladoalado_Click);
    connect(opdivisor_, &QRadioButton::clicked, this, &Vistacliente::opdivisor_Click);
    connect(slddivisor_, &QSlider::valueChanged, this, &Vistacliente::slddivisor_Change);
    connect(btnpasar_, &QPushButton::clicked, this, &Vistacliente::btnpasar_Click);
    connect(tmrpasar_, &QTimer::timeout, this, &Vistacliente::tmrpasar_Timer);
    connect(tmrcortinilla_, &QTimer::timeout, this, &Vistacliente::tmrcortinilla_Timer);
}

Vistacliente::~Vistacliente() = default;

void Vistacliente::showPlaced() {
    std::vector<QRect> screens;
    int mainScreen = 0;
    const QList<QScreen*> all = QGuiApplication::screens();
    for (int i = 0; i < all.size(); ++i) {
        screens.push_back(all[i]->geometry());
        if (host_.mainWindow && host_.mainWindow->screen() == all[i]) {
            mainScreen = i;
        }
    }
    const QRect mainFrame =
        host_.mainWindow ? host_.mainWindow->frameGeometry() : QRect(0, 0, 0, 0);
    const ViewPlacement placement = placeClientView(screens, mainScreen, mainFrame, {960, 900});
    if (placement.fullScreen) {
        winId();  // the window exists, so it can be put on its screen
        windowHandle()->setScreen(all[placement.screen]);
        setGeometry(placement.geometry);
        setWindowState(Qt::WindowFullScreen);
    } else {
        resize(placement.geometry.size());
        move(placement.geometry.topLeft());
    }
    showModeless(this);
}

void Vistacliente::showRendering(const LargeRendering& rendering) {
    rendering_ = rendering;
    fahora_->setPictures(rendering.ahora);
    if (!rendering.antes.isNull()) {
        fcomparar_->setPictures(rendering.antes, rendering.ahora);
    }
    infovista_->setText(rendering.notes.join(QLatin1Char(' ')));
}

QString Vistacliente::statusText() const {
    return infovista_->text();
}

bool Vistacliente::comparing() const {
    return tabvista_->currentIndex() == 1;
}

void Vistacliente::tabvista_Change(int index) {
    if (index != 2) {
        stopSlideShow();
    }
    if (index == 2) {
        reloadSavedLooks();
    } else if (host_.wantLook) {
        host_.wantLook(comparing());
    }
}

void Vistacliente::opladoalado_Click() {
    slddivisor_->setEnabled(false);
    fcomparar_->setMode(ViewPicture::Mode::SideBySide);
}

void Vistacliente::opdivisor_Click() {
    slddivisor_->setEnabled(true);
    fcomparar_->setMode(ViewPicture::Mode::Divided);
    fcomparar_->setDivider(slddivisor_->value() / 100.0);
}

void Vistacliente::slddivisor_Change(int value) {
    fcomparar_->setDivider(value / 100.0);
}

void Vistacliente::reloadSavedLooks() {
    saved_ = host_.savedLooks ? host_.savedLooks() : std::vector<SavedLook>{};
    for (std::size_t i = 1; i <= 6; ++i) {
        fguardada_[i]->setPicture(i <= saved_.size() ? saved_[i - 1].picture : QImage());
        fguardada_[i]->setVisible(i <= saved_.size());
    }
    btnpasar_->setEnabled(saved_.size() > 1);
    const int shown = std::min(std::max(shownSaved_, 1), static_cast<int>(saved_.size()));
    showSaved(shown, false);
    if (saved_.empty()) {
        lblguardada_->setText(QStringLiteral("Todavía no hay ninguna foto guardada."));
    }
}

void Vistacliente::fguardada_Click(int index) {
    stopSlideShow();
    showSaved(index, false);
}

void Vistacliente::showSaved(int position, bool wipe) {
    if (position < 1 || position > static_cast<int>(saved_.size())) {
        shownSaved_ = 0;
        fguardada0_->setPictures(QImage());
        lblguardada_->clear();
        return;
    }
    shownSaved_ = position;
    const SavedLook& look = saved_[static_cast<std::size_t>(position - 1)];
    lblguardada_->setText(lookCaption(position, look));
    if (!wipe) {
        fguardada0_->setPictures(look.picture);
        return;
    }
    // The wipe runs at the size the look is shown at, from whatever is shown now.
    const QRect area = fguardada0_->fitted(look.picture.size());
    wipeTarget_ = scaledForView(look.picture, area.size());
    if (wipeFrame_.size() != wipeTarget_.size()) {
        wipeFrame_ = wipeTarget_.copy();
        wipeFrame_.fill(Qt::black);
    }
    fguardada0_->setPictures(look.picture);
    wipeStart_ = clock_();
    tmrcortinilla_->start();
    tmrcortinilla_Timer();
}

void Vistacliente::tmrcortinilla_Timer() {
    const int y = wipeStepAt(clock_() - wipeStart_, WipePacing{}.duration, wipeTarget_.height());
    drawWipeStep(wipeFrame_, wipeTarget_, y);
    fguardada0_->setFrame(wipeFrame_);
    if (y == 0) {
        tmrcortinilla_->stop();
    }
}

void Vistacliente::btnpasar_Click() {
    if (tmrpasar_->isActive()) {
        stopSlideShow();
        return;
    }
    reloadSavedLooks();
    if (saved_.empty()) {
        return;
    }
    btnpasar_->setText(QStringLiteral("&Parar"));
    showSaved(1, true);
    tmrpasar_->start();
}

void Vistacliente::tmrpasar_Timer() {
    if (saved_.empty()) {
        stopSlideShow();
        return;
    }
    showSaved(shownSaved_ % static_cast<int>(saved_.size()) + 1, true);
}

void Vistacliente::stopSlideShow() {
    tmrpasar_->stop();
    tmrcortinilla_->stop();
    btnpasar_->setText(QStringLiteral("&Pasar las Fotos"));
    wipeFrame_ = QImage();
    if (shownSaved_ > 0 && shownSaved_ <= static_cast<int>(saved_.size())) {
        fguardada0_->setPictures(saved_[static_cast<std::size_t>(shownSaved_ - 1)].picture);
    }
}

void Vistacliente::toggleFullScreen() {
    if (isFullScreen()) {
        showNormal();
    } else {
        showFullScreen();
    }
}

void Vistacliente::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F11) {
        toggleFullScreen();
    } else if (event->key() == Qt::Key_Escape) {
        if (isFullScreen()) {
            showNormal();
        } else {
            close();
        }
    } else {
        QWidget::keyPressEvent(event);
    }
}

void Vistacliente::mouseDoubleClickEvent(QMouseEvent*) {
    toggleFullScreen();
}

void Vistacliente::closeEvent(QCloseEvent* event) {
    close_->closing([this] {
        tmrpasar_->stop();
        tmrcortinilla_->stop();
    });
    event->accept();
}

}  // namespace crinova
