#include "platform/TextBox.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QPointer>

#include "common/Conversions.h"
#include "platform/FormsControls.h"

TextBox::TextBox(QRect geometry, QWidget* parent) : QLineEdit(parent) {
  setGeometry(geometry);
  setReadOnly(true);
  setFont(FormsControls::Font());
  setCursor(Qt::IBeamCursor);
  setStyleSheet(QStringLiteral(
      "QLineEdit { background: transparent; color: #FFFFFF; border: 1px solid #C0C0C0;"
      " padding: 0px 1px; selection-background-color: palette(highlight);"
      " selection-color: palette(highlighted-text); }"));
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
