#pragma once
// The program's own small pictures, drawn with QPainter so nothing is taken from elsewhere.
#include <QIcon>
#include <QRectF>
#include <string>

class QPainter;

namespace qt {

// Draws the picture `name` ("pointer", "smile", "sulky", "arrowLeft", "arrowRight") into `box`;
// an unknown name draws nothing and returns false.
bool drawPicture(QPainter& p, const QRectF& box, const std::string& name);
// The picture as an icon of `size` pixels; a null icon for an unknown name.
QIcon pictureIcon(const std::string& name, int size);

}  // namespace qt
