#pragma once

// The look of the working windows' labels and text boxes: 8.25-point text, white on a transparent
// background, and the fixed single border.

#include <QFont>

class QWidget;

class ControlLook {
 public:
  // The controls' font: 8.25 points, regular, in the application's sans-serif face.
  static QFont Font();

  // White text over a transparent background, whatever the platform's colours: the gradient
  // behind shows through.
  static void UseWhiteText(QWidget& control);

  // The fixed single border of labels and text boxes: one flat light-grey pixel around the
  // control's rectangle, painted over what the control drew.
  static void PaintSingleBorder(QWidget& control);
};
