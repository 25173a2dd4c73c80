#pragma once

// The Instructions window, opened from the main window's Help menu: how to tap and which keys
// run the result calculator, one line per label down a grey-to-silver gradient. The key table
// is laid out by runs of spaces in its strings.

#include "platform/Form.h"
#include "platform/LabelArray.h"
#include "platform/SharedForm.h"

class QLabel;

class FrmGuide : public Form, public SharedForm<FrmGuide> {
  Q_OBJECT

 public:
  FrmGuide();

  // Label i shows string 41 + i.
  QLabel& Lbl(int index) { return lbl_[index]; }
  int LblCount() const { return lbl_.Count(); }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Form_Load();
  void Form_Resize();
  void LoadLabels();

  LabelArray lbl_;
};
