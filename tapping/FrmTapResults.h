#pragma once

// The "Calculated Results" window: bar length, beat length and tempo of one measurement, each
// in a locked box. The tap window fills the boxes and shows it modally; each result gets a
// freshly loaded window. The box that gains the focus hands its number to the calculator.

#include <array>
#include <cstdint>

#include "forms/Form.h"
#include "forms/SharedForm.h"
#include "forms/TextBox.h"

class QFrame;

class FrmTapResults : public Form, public SharedForm<FrmTapResults> {
  Q_OBJECT

 public:
  FrmTapResults();

  // 0: one bar in seconds, 1: one beat in seconds, 2: beats per minute.
  TextBox& TxtResult(int index) { return *txtResult_.at(index); }
  QFrame& Separator(int index) { return *separator_.at(index); }

 private:
  void Form_Load();
  void Form_Resize() override;
  void TxtResult_GotFocus(int index);
  static void TxtResult_KeyPress(int index, std::int16_t keyAscii);

  std::array<QFrame*, 1> separator_{};
  std::array<TextBox*, 3> txtResult_{};
};
