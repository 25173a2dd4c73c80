#include "forms/TextBox.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QPointer>

#include "common/Conversions.h"
#include "forms/ControlLook.h"

TextBox::TextBox(QRect geometry, QWidget* parent) : QLineEdit(parent) {
  setGeometry(geometry);
  setReadOnly(true);
  setFont(ControlLook::Font());
  setCursor(Qt::IBeamCursor);
  ControlLook::UseWhiteText(*this);
  // No platform frame: the single border is painted over the box, one pixel inside its edge,
  // and the text keeps one more pixel clear of it on either side.
  setFrame(false);
  setContentsMargins(1, 1, 1, 1);
  setTextMargins(1, 0, 1, 0);
}

void TextBox::paintEvent(QPaintEvent* event) {
  QLineEdit::paintEvent(event);
  ControlLook::PaintSingleBorder(*this);
}

void TextBox::SetValue(double value) { setText(ValueToText(value)); }

void TextBox::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  if (event->reason() != Qt::PopupFocusReason) emit GotFocus();
}

void TextBox::keyPressEvent(QKeyEvent* event) {
  QPointer<TextBox> alive(this);
  const QString text = event->text();
  if (!text.isEmpty()) {
    auto keyAscii = static_cast<std::int16_t>(text.at(0).unicode());
    emit KeyPress(keyAscii);
  }
  // A key may have closed this box's window; a closed window takes no more keys.
  if (alive.isNull() || !isVisible()) {
    event->accept();
    return;
  }
  QLineEdit::keyPressEvent(event);
}
