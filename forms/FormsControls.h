#pragma once

// The labels and frames of the working windows, in the look those windows were designed with
// (ControlLook), and grey rules.

#include <QRect>
#include <QString>

class Canvas;
class QFrame;
class QLabel;
class QWidget;

class FormsControls {
 public:
  enum class BorderStyle { None, FixedSingle };

  // A white label over the gradient. An auto-sized label is exactly as large as its caption.
  static QLabel* Label(const QString& caption, QRect geometry, bool autoSize, QWidget* parent,
                       BorderStyle border = BorderStyle::None);

  // A grey horizontal rule with the frame's default (etched) border; it takes no focus.
  static QFrame* Separator(QRect geometry, QWidget* parent);

  // Stretches such a rule across the window's client area, as each window does as it is sized.
  static void StretchSeparator(QFrame& rule, const Canvas& client);
};
