#pragma once

#include <QImage>
#include <QPainter>
#include <QPolygonF>
#include <QString>
#include <QTransform>
#include <vector>

#include "catalogue/own_styles.h"
#include "face/eye_finder.h"
#include "portrait.h"

// Two real photographs of Debian packages with their hair outlined by hand, and the model's eyes
// they are prepared to: shared by the tests of hair selection and of hiding a client's own hair.
namespace crinova::test {

inline const QString kAstronautPackage = QStringLiteral("python3-skimage");
inline const QString kAstronautFile =
    QStringLiteral("/usr/lib/python3/dist-packages/skimage/data/astronaut.png");
inline const QString kManPackage = QStringLiteral("opencv-doc");
inline const QString kManFile =
    QStringLiteral("/usr/share/doc/opencv-doc/opencv4/html/230501201_1.jpg");

// The model's eyes on the 300 x 320 frame, as the generator draws "\vexasinmo.jpg".
inline EyePair modelEyes() {
    const auto [left, right] =
        crinova::samples::pupilCentres(crinova::samples::fittedFrame(kStyleSize));
    return {left, right};
}

// Hair outlined by hand on the photos themselves, in their own pixels.
inline const std::vector<QPointF> kAstronautHair = {
    {230, 15.5},  {240, 16.3}, {250, 18.7},  {260, 21.7}, {270, 25.8},  {280, 32.5}, {285, 36.7},
    {290, 45},    {293, 50},   {297, 60},    {300, 70},   {301, 80},    {301, 90},   {300, 100},
    {296, 110},   {293, 115},  {289, 120},   {284, 125},  {280, 130},   {277, 133},  {272, 136},
    {268.6, 130}, {270, 120},  {270.7, 110}, {270, 100},  {268.6, 95},  {265, 91},   {260, 88},
    {250, 83.6},  {240, 81.4}, {230, 80},    {220, 79},   {210, 78.6},  {200, 77},   {190, 76},
    {186, 76},    {184, 82},   {182, 90},    {181, 100},  {180.5, 110}, {180, 119},  {176, 121},
    {170, 119},   {166, 115},  {161, 110},   {158, 105},  {156, 100},   {154, 90},   {153.5, 80},
    {153, 70},    {154, 60},   {157, 55},    {161, 50},   {165, 49},    {175, 47},   {185, 44},
    {189, 40},    {190, 30},   {195, 26},    {200, 22.5}, {210, 19},    {220, 17}};
inline const std::vector<QPointF> kManHair = {
    {181, 292}, {181, 260}, {182, 240}, {183, 220}, {183, 200}, {184, 185}, {185, 170}, {188, 160},
    {192, 150}, {202, 140}, {212, 130}, {222, 120}, {235, 110}, {245, 105}, {257, 100}, {270, 97},
    {285, 95},  {300, 91},  {315, 88},  {330, 82},  {345, 80},  {360, 82},  {380, 87},  {400, 92},
    {420, 102}, {440, 110}, {460, 122}, {475, 135}, {485, 147}, {495, 162}, {500, 175}, {504, 190},
    {505, 205}, {503, 220}, {502, 240}, {502, 260}, {501, 280}, {500, 300}, {497, 310}, {493, 316},
    {489, 322}, {486, 340}, {482, 360}, {478, 380}, {472, 387}, {469, 380}, {465, 360}, {462, 340},
    {458, 320}, {452, 300}, {443, 280}, {435, 260}, {427, 240}, {415, 220}, {405, 210}, {400, 205},
    {380, 203}, {360, 200}, {340, 200}, {320, 200}, {300, 200}, {280, 203}, {260, 205}, {240, 208},
    {220, 210}, {200, 215}, {197, 240}, {190, 260}, {185, 280}};

// The outline on the frame: 255 inside (pixel centres), 0 outside.
inline QImage outlineOnFrame(const std::vector<QPointF>& outline, const QTransform& toFrame) {
    QImage mask(kStyleSize, QImage::Format_Grayscale8);
    mask.fill(0);
    QPainter painter(&mask);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    QPolygonF polygon;
    for (const QPointF& point : outline) {
        polygon << toFrame.map(point) + QPointF(0.5, 0.5);
    }
    painter.drawPolygon(polygon);
    return mask;
}

}  // namespace crinova::test
