#pragma once

// The small tool window that shows the outcome of one calculator operation, the whole value
// selected. Escape or Enter closes it; an operator key typed into it runs the next operation
// on the shown value. The calculator fills it and shows it; at most one exists at a time.

#include <cstdint>

#include "forms/Form.h"
#include "forms/SharedForm.h"
#include "forms/TextBox.h"

class FrmResult : public Form, public SharedForm<FrmResult> {
  Q_OBJECT

 public:
  FrmResult();

  TextBox& TxtResult() { return *txtResult_; }

 private:
  void Form_Load();
  bool Form_KeyDown(int keyCode, Qt::KeyboardModifiers shift);
  void TxtResult_GotFocus();
  static void TxtResult_KeyPress(std::int16_t keyAscii);

  TextBox* txtResult_;
};
