#include "forms/Canvas.h"

#include <QPainter>

Canvas::Canvas(QSize clientSize, std::uint32_t backColor, std::uint32_t fillColor,
               QWidget* parent)
    : QWidget(parent), backColor_(backColor), fillColor_(fillColor) {
  setFixedSize(clientSize);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

QImage& Canvas::hDC() {
  if (surface_.isNull()) {
    const qreal ratio = devicePixelRatioF();
    surface_ = QImage(size() * ratio, QImage::Format_RGB32);
    surface_.setDevicePixelRatio(ratio);
    surface_.fill(ToQColor(backColor_));
  }
  return surface_;
}

QColor Canvas::ToQColor(std::uint32_t colour) {
  return {static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
          static_cast<int>((colour >> 16) & 0xFF)};
}

void Canvas::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.drawImage(QPointF(0, 0), hDC());
  QWidget::paintEvent(event);
}
