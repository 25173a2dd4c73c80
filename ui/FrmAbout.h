#pragma once

// The About window, opened from the main window's Help menu: the title, what the program does,
// its author, version and copyright, one label each, stacked down a grey-to-silver gradient.
// Labels: 0 title, 1 description, 2 author, 3 blank, 4 systems, 5 version, 6 copyright, 7 blank.

#include "forms/SharedForm.h"
#include "ui/InfoWindow.h"

class QLabel;

class FrmAbout : public InfoWindow, public SharedForm<FrmAbout> {
  Q_OBJECT

 public:
  FrmAbout();

  // "Version: 1.10.3": the version's parts in plain decimal digits.
  static QString VersionCaption(int major, int minor, int revision);

 private:
  void Form_Load();
  void LoadLabels();
};
