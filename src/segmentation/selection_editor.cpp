#include "segmentation/selection_editor.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <cmath>

#include "platform/pointers.h"

namespace crinova {
namespace {

constexpr QRgb kInsideLine = 0xffffe14du;   // light yellow
constexpr QRgb kOutsideLine = 0xc0101010u;  // near black
constexpr QRgb kHairMark = 0x6040c040u;     // translucent green
constexpr QRgb kNotHairMark = 0x60e04040u;  // translucent red
const int kRadii[] = {2, 4, 8};
constexpr int kDefaultRadius = 1;  // 4 pixels

}  // namespace

SelectionCanvas::SelectionCanvas(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("fotoseleccion"));
    setFixedSize(int(300 * kZoom), int(320 * kZoom));
    setMouseTracking(false);
    setAttribute(Qt::WA_OpaquePaintEvent);
    current_.radius = kRadii[kDefaultRadius];
}

void SelectionCanvas::setPicture(const QImage& picture) {
    picture_ = picture.convertToFormat(QImage::Format_RGB32);
    clicked_.clear();
    if (!picture_.isNull()) {
        setFixedSize(int(std::ceil(picture_.width() * kZoom)),
                     int(std::ceil(picture_.height() * kZoom)));
    }
    outline_ = QImage();
    strokes_.clear();
    updateMarks();
}

void SelectionCanvas::setOutline(const QImage& hard) {
    outline_ = QImage();
    if (!hard.isNull()) {
        const QImage mask = hard.convertToFormat(QImage::Format_Grayscale8);
        outline_ = QImage(mask.size(), QImage::Format_ARGB32);
        outline_.fill(0);
        const int w = mask.width();
        const int h = mask.height();
        auto at = [&](int x, int y) {
            return x >= 0 && y >= 0 && x < w && y < h && mask.constScanLine(y)[x] != 0;
        };
        for (int y = 0; y < h; ++y) {
            QRgb* line = reinterpret_cast<QRgb*>(outline_.scanLine(y));
            for (int x = 0; x < w; ++x) {
                const bool in = at(x, y);
                const bool edge = in != at(x - 1, y) || in != at(x + 1, y) || in != at(x, y - 1) ||
                                  in != at(x, y + 1);
                if (edge) {
                    line[x] = in ? kInsideLine : kOutsideLine;
                }
            }
        }
    }
    update();
}

void SelectionCanvas::setStrokes(const std::vector<Stroke>& strokes) {
    strokes_ = strokes;
    updateMarks();
}

void SelectionCanvas::updateMarks() {
    marks_ = QImage();
    if (!picture_.isNull() && !strokes_.empty()) {
        QImage labels(picture_.size(), QImage::Format_Grayscale8);
        labels.fill(static_cast<uchar>(PixelLabel::ProbablyBackground));
        for (const Stroke& stroke : strokes_) {
            stampStroke(labels, stroke);
        }
        marks_ = QImage(picture_.size(), QImage::Format_ARGB32);
        marks_.fill(0);
        for (int y = 0; y < labels.height(); ++y) {
            const uchar* in = labels.constScanLine(y);
            QRgb* out = reinterpret_cast<QRgb*>(marks_.scanLine(y));
            for (int x = 0; x < labels.width(); ++x) {
                if (in[x] == static_cast<uchar>(PixelLabel::Selected)) {
                    out[x] = kHairMark;
                } else if (in[x] == static_cast<uchar>(PixelLabel::Background)) {
                    out[x] = kNotHairMark;
                }
            }
        }
    }
    update();
}

void SelectionCanvas::setBrush(bool selected, int radius) {
    current_.selected = selected;
    current_.radius = radius;
    updateCursor();
}

void SelectionCanvas::setPointsMode(bool points) {
    pointsMode_ = points;
    clicked_.clear();
    stroking_ = false;
    updateCursor();
}

void SelectionCanvas::setDrawing(bool enabled) {
    drawing_ = enabled;
    stroking_ = false;
    updateCursor();
}

QPointF SelectionCanvas::toPicture(const QPointF& position) {
    return QPointF(position.x() / kZoom - 0.5, position.y() / kZoom - 0.5);
}

void SelectionCanvas::updateCursor() {
    if (pointsMode_) {
        setCursor(cursorFor(kPointerCross));
        return;
    }
    if (!drawing_) {
        unsetCursor();
        return;
    }
    // The brush itself: a circle of its size on the screen.
    const int r = int(std::ceil(current_.radius * kZoom)) + 1;
    QPixmap shape(2 * r + 3, 2 * r + 3);
    shape.fill(Qt::transparent);
    QPainter painter(&shape);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 2));
    painter.drawEllipse(QPointF(r + 1.5, r + 1.5), r, r);
    painter.setPen(QPen(Qt::white, 1));
    painter.drawEllipse(QPointF(r + 1.5, r + 1.5), r, r);
    painter.end();
    setCursor(QCursor(shape, r + 1, r + 1));
}

void SelectionCanvas::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Dark));
    if (picture_.isNull()) {
        return;
    }
    const QRectF area(0, 0, picture_.width() * kZoom, picture_.height() * kZoom);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(area, picture_);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    if (!marks_.isNull()) {
        painter.drawImage(area, marks_);
    }
    if (!outline_.isNull()) {
        painter.drawImage(area, outline_);
    }
    // The points clicked so far, as small crosses.
    painter.setPen(QPen(Qt::red, 2));
    for (const QPointF& point : clicked_) {
        const QPointF at = (point + QPointF(0.5, 0.5)) * kZoom;
        painter.drawLine(at - QPointF(6, 0), at + QPointF(6, 0));
        painter.drawLine(at - QPointF(0, 6), at + QPointF(0, 6));
    }
    if (stroking_) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(QColor::fromRgba(current_.selected ? kHairMark : kNotHairMark),
                            (2 * current_.radius + 1) * kZoom, Qt::SolidLine, Qt::RoundCap,
                            Qt::RoundJoin));
        QPolygonF path;
        for (const QPoint& point : current_.points) {
            path << QPointF((point.x() + 0.5) * kZoom, (point.y() + 0.5) * kZoom);
        }
        painter.drawPolyline(path);
        if (path.size() == 1) {
            painter.drawPoint(path.first());
        }
    }
}

void SelectionCanvas::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || picture_.isNull()) {
        return;
    }
    const QPointF at = toPicture(event->position());
    if (pointsMode_) {
        clicked_.push_back(at);
        update();
        emit pointClicked(at);
        return;
    }
    if (!drawing_) {
        return;
    }
    stroking_ = true;
    current_.points = {QPoint(int(std::lround(at.x())), int(std::lround(at.y())))};
    update();
}

void SelectionCanvas::mouseMoveEvent(QMouseEvent* event) {
    if (!stroking_) {
        return;
    }
    const QPointF at = toPicture(event->position());
    const QPoint point(int(std::lround(at.x())), int(std::lround(at.y())));
    if (point != current_.points.back()) {
        current_.points.push_back(point);
        update();
    }
}

void SelectionCanvas::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !stroking_) {
        return;
    }
    stroking_ = false;
    const Stroke stroke = current_;
    current_.points.clear();
    update();
    emit strokeDrawn(stroke);
}

SelectionEditor::SelectionEditor(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("editorseleccion"));
    fotoseleccion_ = new SelectionCanvas(this);
    oppelosi_ = new QRadioButton(QStringLiteral("Es pelo"), this);
    oppelosi_->setObjectName(QStringLiteral("oppelosi"));
    oppelosi_->setChecked(true);
    oppelono_ = new QRadioButton(QStringLiteral("No es pelo"), this);
    oppelono_->setObjectName(QStringLiteral("oppelono"));
    cbpincel_ = new QComboBox(this);
    cbpincel_->setObjectName(QStringLiteral("cbpincel"));
    for (const int radius : kRadii) {
        cbpincel_->addItem(QString::number(radius), radius);
    }
    cbpincel_->setCurrentIndex(kDefaultRadius);
    auto* pincel = new QLabel(QStringLiteral("&Pincel:"), this);
    pincel->setBuddy(cbpincel_);
    btndeshacer_ = new QPushButton(QStringLiteral("&Deshacer"), this);
    btndeshacer_->setObjectName(QStringLiteral("btndeshacer"));
    btnreiniciar_ = new QPushButton(QStringLiteral("&Empezar de Nuevo"), this);
    btnreiniciar_->setObjectName(QStringLiteral("btnreiniciar"));

    auto* brush = new QHBoxLayout;
    brush->addWidget(oppelosi_);
    brush->addWidget(oppelono_);
    brush->addSpacing(12);
    brush->addWidget(pincel);
    brush->addWidget(cbpincel_);
    brush->addStretch();
    auto* steps = new QHBoxLayout;
    steps->addWidget(btndeshacer_);
    steps->addWidget(btnreiniciar_);
    steps->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(fotoseleccion_);
    layout->addLayout(brush);
    layout->addLayout(steps);

    connect(fotoseleccion_, &SelectionCanvas::strokeDrawn, this, &SelectionEditor::strokeDrawn);
    connect(fotoseleccion_, &SelectionCanvas::pointClicked, this, &SelectionEditor::pointClicked);
    connect(oppelosi_, &QRadioButton::toggled, this, &SelectionEditor::brushChanged);
    connect(cbpincel_, &QComboBox::currentIndexChanged, this, &SelectionEditor::brushChanged);
    connect(btndeshacer_, &QPushButton::clicked, this, &SelectionEditor::btndeshacer_Click);
    connect(btnreiniciar_, &QPushButton::clicked, this, &SelectionEditor::btnreiniciar_Click);
    brushChanged();
    refresh();
}

void SelectionEditor::setSelection(HairSelection* selection) {
    selection_ = selection;
    fotoseleccion_->setPointsMode(false);
    fotoseleccion_->setPicture(selection && selection->started() ? selection->photo().frame
                                                                 : QImage());
    refresh();
}

void SelectionEditor::showPicture(const QImage& picture, bool askPoints) {
    selection_ = nullptr;
    fotoseleccion_->setPicture(picture);
    fotoseleccion_->setPointsMode(askPoints);
    refresh();
}

void SelectionEditor::refresh() {
    const bool active = selection_ && selection_->started();
    fotoseleccion_->setDrawing(active);
    fotoseleccion_->setOutline(active ? selection_->hardMask() : QImage());
    fotoseleccion_->setStrokes(active ? selection_->strokes() : std::vector<Stroke>{});
    const bool strokes = active && !selection_->strokes().empty();
    btndeshacer_->setEnabled(strokes);
    btnreiniciar_->setEnabled(strokes);
}

void SelectionEditor::brushChanged() {
    fotoseleccion_->setBrush(oppelosi_->isChecked(), cbpincel_->currentData().toInt());
}

void SelectionEditor::busy(bool on) {
    if (on) {
        QApplication::setOverrideCursor(cursorFor(kPointerBusy));
    } else {
        QApplication::restoreOverrideCursor();
    }
}

void SelectionEditor::strokeDrawn(const Stroke& stroke) {
    if (!selection_ || !selection_->started()) {
        return;
    }
    busy(true);
    selection_->addStroke(stroke);
    busy(false);
    refresh();
    emit selectionChanged();
}

void SelectionEditor::btndeshacer_Click() {
    if (selection_ && selection_->undo()) {
        refresh();
        emit selectionChanged();
    }
}

void SelectionEditor::btnreiniciar_Click() {
    if (selection_ && !selection_->strokes().empty()) {
        selection_->reset();
        refresh();
        emit selectionChanged();
    }
}

}  // namespace crinova
