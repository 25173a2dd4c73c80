#include "forms/ControlLook.h"

#include <QApplication>
#include <QPainter>
#include <QPalette>
#include <QPen>
#include <QRectF>
#include <QWidget>

QFont ControlLook::Font() {
  QFont font = QApplication::font();
  font.setPointSizeF(8.25);
  font.setWeight(QFont::Normal);
  font.setUnderline(false);
  font.setStrikeOut(false);
  return font;
}

void ControlLook::UseWhiteText(QWidget& control) {
  // Palette colours rather than a style sheet: a style sheet puts every control under a slower
  // style engine, at start-up and at each repaint.
  QPalette palette = control.palette();
  for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text}) {
    palette.setColor(role, Qt::white);
  }
  for (const QPalette::ColorRole role : {QPalette::Window, QPalette::Base}) {
    palette.setColor(role, Qt::transparent);
  }
  control.setPalette(palette);
  control.setAutoFillBackground(false);
}

void ControlLook::PaintSingleBorder(QWidget& control) {
  QPainter painter(&control);
  // One logical pixel wide along the inside of the edge, so it is as thick as the scale.
  painter.setPen(QPen(QColor(0xC0, 0xC0, 0xC0), 1));
  painter.drawRect(QRectF(control.rect()).adjusted(0.5, 0.5, -0.5, -0.5));
}
