// A plot window: the canvas shown in a top-level window.
#include "app/VisDialog.h"

#include "app/ProgramIcon.h"

#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <utility>

QSize CVisDialog::initialSize() { return QSize(387, 184); }

CVisDialog::CVisDialog(int seriesCount, int capacity, QWidget* parent)
    : QWidget(parent, Qt::Window), canvas_(seriesCount, capacity, initialSize()) {
  setWindowIcon(programIcon());
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  resize(initialSize());
}

void CVisDialog::setFixedRange(double minimum, double maximum) {
  canvas_.setFixedRange(minimum, maximum);
  update();
}

PlotStatus CVisDialog::addSample(std::vector<double> values) {
  PlotStatus status = canvas_.addSample(std::move(values));
  if (status == PlotStatus::kDone) update();
  return status;
}

void CVisDialog::showScalar(double value) {
  canvas_.showScalar(value);
  update();
}

void CVisDialog::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(0, 0, canvas_.image());
}

void CVisDialog::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (event->size() != canvas_.size() && !event->size().isEmpty()) canvas_.resize(event->size());
  update();
}

void CVisDialog::mouseMoveEvent(QMouseEvent* event) {
  canvas_.pointerMoved(event->position().toPoint());
  update();
}
