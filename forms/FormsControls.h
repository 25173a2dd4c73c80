#pragma once

// The labels and frames of the working windows, in the look those windows were designed with:
// 8.25-point text, white on a transparent background, and grey rules.

#include <QFont>
#include <QRect>
#include <QString>

class QFrame;
class QLabel;
class QWidget;

class FormsControls {
 public:
  // The controls' font: 8.25 points, regular, in the application's sans-serif face.
  static QFont Font();

  enum class BorderStyle { None, FixedSingle };

  // A white label over the gradient. An auto-sized label is exactly as large as its caption.
  static QLabel* Label(const QString& caption, QRect geometry, bool autoSize, QWidget* parent,
                       BorderStyle border = BorderStyle::None);

  // White text over a transparent background, whatever the platform's colours: the gradient
  // behind shows through.
  static void UseWhiteText(QWidget& control);

  // The fixed single border of labels and text boxes: one flat light-grey pixel around the
  // control's rectangle, painted over what the control drew.
  static void PaintSingleBorder(QWidget& control);

  // A grey horizontal rule with the frame's default (etched) border; it takes no focus.
  static QFrame* Separator(QRect geometry, QWidget* parent);
};
