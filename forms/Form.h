#pragma once

// The base of Tempulo's secondary windows. A form is a fixed-size dialog whose client area is a
// Canvas, shown modally without an owner. Hiding it from code, by its close button, Escape or
// Unload, unloads it: its shared instance lets go of it (see SharedForm) and the next use builds
// a fresh one from its design. Each time the window is sized (as it is first shown), its
// Form_Resize runs.

#include <cstdint>

#include <QDialog>
#include <QString>

#include "forms/Canvas.h"

class Form : public QDialog {
  Q_OBJECT

 public:
  enum class Border { FixedSingle, FixedToolWindow };
  enum class StartUpPosition { CenterOwner, CenterScreen };

  struct Design {
    QString caption;
    QSize clientSize;  // pixels
    Border border = Border::FixedSingle;
    StartUpPosition position = StartUpPosition::CenterOwner;
    std::uint32_t backColor = 0;
    std::uint32_t fillColor = 0;
  };

  explicit Form(const Design& design);

  Canvas& Client() { return *canvas_; }

  // Shows the form modally and returns once it has been closed; the form is gone by then.
  void ShowModal();

  // Closes the form from code, shown or not.
  void Unload();

 signals:
  void Unloaded();

 protected:
  // What the window does each time it is sized; nothing unless it says.
  virtual void Form_Resize() {}

  void hideEvent(QHideEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void PlaceOnScreen();

  Canvas* canvas_;
  StartUpPosition position_;
  bool unloaded_ = false;
};
