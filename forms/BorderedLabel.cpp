#include "forms/BorderedLabel.h"

#include <QEvent>

#include "forms/ControlLook.h"

BorderedLabel::BorderedLabel(const QString& caption, QWidget* parent) : QLabel(caption, parent) {
  // The border's pixel on every side and two more on the left.
  setContentsMargins(1 + 2, 1, 1, 1);
}

void BorderedLabel::changeEvent(QEvent* event) {
  QLabel::changeEvent(event);
  // Inside the border the caption keeps the indent Qt gives a framed label: half an "x".
  if (event->type() == QEvent::FontChange) setIndent(fontMetrics().horizontalAdvance(u'x') / 2);
}

void BorderedLabel::paintEvent(QPaintEvent* event) {
  QLabel::paintEvent(event);
  ControlLook::PaintSingleBorder(*this);
}
