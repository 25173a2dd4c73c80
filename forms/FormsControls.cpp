#include "forms/FormsControls.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPalette>
#include <QPen>
#include <QRectF>

#include "forms/BorderedLabel.h"

QFont FormsControls::Font() {
  QFont font = QApplication::font();
  font.setPointSizeF(8.25);
  font.setWeight(QFont::Normal);
  font.setUnderline(false);
  font.setStrikeOut(false);
  return font;
}

QLabel* FormsControls::Label(const QString& caption, QRect geometry, bool autoSize,
                             QWidget* parent, BorderStyle border) {
  QLabel* label = border == BorderStyle::FixedSingle ? new BorderedLabel(caption, parent)
                                                     : new QLabel(caption, parent);
  label->setFont(Font());
  UseWhiteText(*label);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->setWordWrap(!autoSize);
  label->setTextFormat(Qt::PlainText);
  label->setGeometry(geometry);
  if (autoSize) label->resize(label->sizeHint());
  return label;
}

void FormsControls::UseWhiteText(QWidget& control) {
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

void FormsControls::PaintSingleBorder(QWidget& control) {
  QPainter painter(&control);
  // One logical pixel wide along the inside of the edge, so it is as thick as the scale.
  painter.setPen(QPen(QColor(0xC0, 0xC0, 0xC0), 1));
  painter.drawRect(QRectF(control.rect()).adjusted(0.5, 0.5, -0.5, -0.5));
}

QFrame* FormsControls::Separator(QRect geometry, QWidget* parent) {
  auto* frame = new QFrame(parent);
  frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
  frame->setLineWidth(1);
  frame->setAutoFillBackground(true);
  QPalette palette = frame->palette();
  palette.setColor(QPalette::Window, QColor(0x80, 0x80, 0x80));
  frame->setPalette(palette);
  frame->setGeometry(geometry);
  frame->setEnabled(false);
  frame->setFocusPolicy(Qt::NoFocus);
  return frame;
}
