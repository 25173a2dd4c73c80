#pragma once

// The Instructions window, opened from the main window's Help menu: how to tap and which keys
// run the result calculator, one line per label down a grey-to-silver gradient. The key table
// is laid out by runs of spaces in its strings.

#include "forms/SharedForm.h"
#include "ui/InfoWindow.h"

class QLabel;

class FrmGuide : public InfoWindow, public SharedForm<FrmGuide> {
  Q_OBJECT

 public:
  FrmGuide();

 private:
  void Form_Load();
  void LoadLabels();
};
