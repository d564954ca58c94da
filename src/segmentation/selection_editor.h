#pragma once

#include <QImage>
#include <QPointF>
#include <QWidget>
#include <vector>

#include "segmentation/hair_selection.h"

class QComboBox;
class QPushButton;
class QRadioButton;

namespace crinova {

// The picture being selected on, enlarged, with the selection's outline (a light line just inside
// the border, a dark one just outside) and the strokes drawn so far (green "it is", red "it is
// not"). The left button draws a stroke with the round brush; in the points mode it clicks points
// instead, each marked with a small cross. Coordinates are the picture's pixels.
class SelectionCanvas : public QWidget {
    Q_OBJECT
  public:
    // Each picture pixel is shown as kZoom screen pixels.
    static constexpr double kZoom = 1.5;

    explicit SelectionCanvas(QWidget* parent = nullptr);

    void setPicture(const QImage& picture);
    void setOutline(const QImage& hard);
    void setStrokes(const std::vector<Stroke>& strokes);
    // What the next stroke marks and its radius.
    void setBrush(bool selected, int radius);
    // Points mode: clicks give points; otherwise (and with no picture) the brush draws.
    void setPointsMode(bool points);
    void setDrawing(bool enabled);

    const QImage& picture() const { return picture_; }
    // Where a position on the canvas falls on the picture, in picture pixels (pixel (i, j) is the
    // point (i, j)).
    static QPointF toPicture(const QPointF& position);

  signals:
    void strokeDrawn(const crinova::Stroke& stroke);
    void pointClicked(const QPointF& point);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void updateCursor();
    void updateMarks();

    QImage picture_;
    QImage outline_;  // ARGB32, the picture's size
    QImage marks_;    // ARGB32: the strokes, tinted
    std::vector<Stroke> strokes_;
    std::vector<QPointF> clicked_;  // in the points mode
    Stroke current_;
    bool stroking_ = false;
    bool pointsMode_ = false;
    bool drawing_ = false;
};

// The selection of hair on an aligned photo and its corrections: the canvas `fotoseleccion`, the
// option pair `oppelosi` "Es pelo" / `oppelono` "No es pelo" for what a stroke marks, `cbpincel`
// the brush radius (2, 4 or 8 pixels of the frame), `btndeshacer` "&Deshacer" takes back the last
// stroke and `btnreiniciar` "&Empezar de Nuevo" drops them all. Every window that selects hair on
// a photo embeds it over its own HairSelection; each change is recomputed at once, with the busy
// pointer, and told by `selectionChanged`.
class SelectionEditor : public QWidget {
    Q_OBJECT
  public:
    explicit SelectionEditor(QWidget* parent = nullptr);

    // Shows `selection` (started, or null for none) and lets the brush correct it.
    void setSelection(HairSelection* selection);
    // Shows a picture without a selection; with `askPoints` the next clicks are points.
    void showPicture(const QImage& picture, bool askPoints);
    // Shows the selection again after its owner changed it (started it over, replayed strokes).
    void refresh();

    SelectionCanvas* canvas() const { return fotoseleccion_; }

    void btndeshacer_Click();
    void btnreiniciar_Click();

  signals:
    void selectionChanged();
    void pointClicked(const QPointF& point);

  private:
    void strokeDrawn(const Stroke& stroke);
    void brushChanged();
    void busy(bool on);

    HairSelection* selection_ = nullptr;
    SelectionCanvas* fotoseleccion_ = nullptr;
    QRadioButton* oppelosi_ = nullptr;
    QRadioButton* oppelono_ = nullptr;
    QComboBox* cbpincel_ = nullptr;
    QPushButton* btndeshacer_ = nullptr;
    QPushButton* btnreiniciar_ = nullptr;
};

}  // namespace crinova
