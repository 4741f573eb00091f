#include "qt/pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <algorithm>

namespace qt {

namespace {

void drawFace(QPainter& p, const QRectF& box, bool smiling) {
  const double d = std::min(box.width(), box.height()) - 2;
  if (d <= 2) return;
  const QRectF face(box.center().x() - d / 2, box.center().y() - d / 2, d, d);
  p.setPen(QPen(QColor(0x60, 0x40, 0x00), std::max(1.0, d / 20)));
  p.setBrush(smiling ? QColor(0xff, 0xd8, 0x30) : QColor(0xa8, 0xc8, 0xe8));
  p.drawEllipse(face);

  // Eyes.
  p.setBrush(QColor(0x30, 0x20, 0x00));
  p.setPen(Qt::NoPen);
  const double eye = d * 0.1;
  const QPointF left(face.left() + d * 0.33, face.top() + d * 0.38);
  const QPointF right(face.left() + d * 0.67, face.top() + d * 0.38);
  p.drawEllipse(left, eye * 0.8, eye);
  p.drawEllipse(right, eye * 0.8, eye);

  // Mouth: a smile curves up at the corners, a sulk down.
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(0x60, 0x20, 0x00), std::max(1.0, d / 14), Qt::SolidLine, Qt::RoundCap));
  QPainterPath mouth;
  const double y = face.top() + d * (smiling ? 0.62 : 0.74);
  const double bend = d * (smiling ? 0.16 : -0.12);
  mouth.moveTo(face.left() + d * 0.28, y);
  mouth.quadTo(face.center().x(), y + bend, face.left() + d * 0.72, y);
  p.drawPath(mouth);
  if (!smiling) {
    // Frowning brows.
    p.drawLine(QPointF(face.left() + d * 0.22, face.top() + d * 0.22),
               QPointF(face.left() + d * 0.42, face.top() + d * 0.28));
    p.drawLine(QPointF(face.left() + d * 0.78, face.top() + d * 0.22),
               QPointF(face.left() + d * 0.58, face.top() + d * 0.28));
  }
}

void drawPointer(QPainter& p, const QRectF& box) {
  // A downward triangle marking a position on the scale below it.
  QPolygonF tri;
  tri << QPointF(box.left() + 1, box.top() + 1) << QPointF(box.right() - 1, box.top() + 1)
      << QPointF(box.center().x(), box.bottom() - 1);
  p.setPen(QPen(QColor(0x80, 0x00, 0x00), 1));
  p.setBrush(QColor(0xe0, 0x20, 0x20));
  p.drawPolygon(tri);
}

void drawArrow(QPainter& p, const QRectF& box, bool left) {
  const double h = std::min(box.height(), box.width()) * 0.7;
  const double w = h * 0.8;
  const QPointF c = box.center();
  QPolygonF tri;
  if (left)
    tri << QPointF(c.x() - w / 2, c.y()) << QPointF(c.x() + w / 2, c.y() - h / 2)
        << QPointF(c.x() + w / 2, c.y() + h / 2);
  else
    tri << QPointF(c.x() + w / 2, c.y()) << QPointF(c.x() - w / 2, c.y() - h / 2)
        << QPointF(c.x() - w / 2, c.y() + h / 2);
  // A light edge keeps the arrow clear on a dark button too.
  p.setPen(QPen(QColor(0xe0, 0xea, 0xff), std::max(1.0, h / 12)));
  p.setBrush(QColor(0x30, 0x70, 0xd0));
  p.drawPolygon(tri);
}

}  // namespace

bool drawPicture(QPainter& p, const QRectF& box, const std::string& name) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  bool known = true;
  if (name == "smile")
    drawFace(p, box, true);
  else if (name == "sulky")
    drawFace(p, box, false);
  else if (name == "pointer")
    drawPointer(p, box);
  else if (name == "arrowLeft")
    drawArrow(p, box, true);
  else if (name == "arrowRight")
    drawArrow(p, box, false);
  else
    known = false;
  p.restore();
  return known;
}

QIcon pictureIcon(const std::string& name, int size) {
  QPixmap pix(size, size);
  pix.fill(Qt::transparent);
  QPainter p(&pix);
  const bool known = drawPicture(p, QRectF(0, 0, size, size), name);
  p.end();
  return known ? QIcon(pix) : QIcon();
}

}  // namespace qt
