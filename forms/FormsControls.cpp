#include "forms/FormsControls.h"

#include <QFrame>
#include <QLabel>
#include <QPalette>

#include "forms/BorderedLabel.h"
#include "forms/Canvas.h"
#include "forms/ControlLook.h"

QLabel* FormsControls::Label(const QString& caption, QRect geometry, bool autoSize,
                             QWidget* parent, BorderStyle border) {
  QLabel* label = border == BorderStyle::FixedSingle ? new BorderedLabel(caption, parent)
                                                     : new QLabel(caption, parent);
  label->setFont(ControlLook::Font());
  ControlLook::UseWhiteText(*label);
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

void FormsControls::StretchSeparator(QFrame& rule, const Canvas& client) {
  rule.resize(static_cast<int>(client.ScaleWidth()), rule.height());
}
