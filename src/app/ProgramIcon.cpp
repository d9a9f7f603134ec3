// The program icon, drawn at the sizes window managers ask for.
#include "app/ProgramIcon.h"

#include <QPainter>
#include <QPixmap>

namespace {

// The icon is drawn on a square of this many units and scaled to each size.
constexpr int kUnits = 32;

QPixmap iconAt(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(double(size) / kUnits, double(size) / kUnits);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(30, 60, 150));
  painter.drawRoundedRect(0, 0, kUnits, kUnits, 6, 6);
  painter.setPen(QPen(Qt::white, 2));
  painter.setBrush(Qt::NoBrush);
  painter.drawEllipse(QPointF(10, 16), 6, 6);
  painter.drawLine(QPointF(16, 16), QPointF(23, 16));
  painter.setBrush(QColor(255, 255, 0));
  painter.drawRect(QRectF(23, 7, 3, 18));
  painter.setBrush(QColor(255, 0, 0));
  painter.setPen(Qt::NoPen);
  painter.drawEllipse(QPointF(10, 16), 2.5, 2.5);
  return pixmap;
}

}  // namespace

QIcon programIcon() {
  QIcon icon;
  for (int size : {16, 32, 48, 64}) icon.addPixmap(iconAt(size));
  return icon;
}
