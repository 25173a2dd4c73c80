#pragma once

// The About window, opened from the main window's Help menu: the title, what the program does,
// its author, version and copyright, one label each, stacked down a grey-to-silver gradient.

#include "platform/Form.h"
#include "platform/LabelArray.h"
#include "platform/SharedForm.h"

class QLabel;

class FrmAbout : public Form, public SharedForm<FrmAbout> {
  Q_OBJECT

 public:
  FrmAbout();

  // 0 title, 1 description, 2 author, 3 blank, 4 systems, 5 version, 6 copyright, 7 blank.
  QLabel& Lbl(int index) { return lbl_[index]; }
  int LblCount() const { return lbl_.Count(); }

  // "Version: 1.10.3": the version's parts in plain decimal digits.
  static QString VersionCaption(int major, int minor, int revision);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Form_Load();
  void Form_Resize();
  void LoadLabels();

  LabelArray lbl_;
};
