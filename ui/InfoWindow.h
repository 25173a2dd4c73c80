#pragma once

// What the About and Instructions windows share: a fixed tool window centred on the main window,
// one column of labels over a grey-to-silver gradient, each label stacked just below the one
// above whenever the window is sized.

#include <QSize>
#include <QString>

#include "forms/Form.h"
#include "forms/LabelArray.h"

class QLabel;

class InfoWindow : public Form {
  Q_OBJECT

 public:
  QLabel& Lbl(int index) { return lbl_[index]; }
  [[nodiscard]] int LblCount() const { return lbl_.Count(); }

 protected:
  // Element 0 of the labels as designed, with its alignment; the window loads the others.
  InfoWindow(const QString& caption, QSize clientSize, Qt::Alignment firstAlignment);

  LabelArray lbl_;

 private:
  void Form_Resize() override;
};
