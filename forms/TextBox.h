#pragma once

// The single-line text box of Tempulo's result windows: locked (no editing, but focus, selection
// and key presses still arrive), white text on the window's gradient, a thin light-grey border.

#include <cstdint>

#include <QLineEdit>

class TextBox : public QLineEdit {
  Q_OBJECT

 public:
  TextBox(QRect geometry, QWidget* parent);

  // Shows the number as ValueToText writes it.
  void SetValue(double value);

  void SetSelection(int start, int length) { setSelection(start, length); }

 signals:
  void GotFocus();
  // The character typed, by reference as the control hands it over; it is read, not cancelled.
  void KeyPress(std::int16_t& keyAscii);

 protected:
  void focusInEvent(QFocusEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
};
