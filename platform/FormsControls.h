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

  // A white label over the gradient. An auto-sized label is exactly as large as its caption.
  static QLabel* Label(const QString& caption, QRect geometry, bool autoSize, QWidget* parent);

  // A grey horizontal rule with the frame's default (etched) border; it takes no focus.
  static QFrame* Separator(QRect geometry, QWidget* parent);
};
