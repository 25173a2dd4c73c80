#include "platform/FormsControls.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>

QFont FormsControls::Font() {
  QFont font = QApplication::font();
  font.setPointSizeF(8.25);
  font.setWeight(QFont::Normal);
  font.setUnderline(false);
  font.setStrikeOut(false);
  return font;
}

QLabel* FormsControls::Label(const QString& caption, QRect geometry, bool autoSize,
                             QWidget* parent) {
  auto* label = new QLabel(caption, parent);
  label->setFont(Font());
  label->setStyleSheet(QStringLiteral("QLabel { color: #FFFFFF; background: transparent; }"));
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->setWordWrap(!autoSize);
  label->setTextFormat(Qt::PlainText);
  label->setGeometry(geometry);
  if (autoSize) label->resize(label->sizeHint());
  return label;
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
