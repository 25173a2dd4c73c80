#pragma once

// Whether a window the program shows gets the keyboard from the window system. On Windows a tool
// window is shown without being made active, so no key reaches it until it is clicked; there the
// program activates it itself, once it is on screen. Elsewhere the window manager does this.

class QWidget;

class WindowActivation {
 public:
  // Call as the window is shown; the window system takes it from there.
  static void TakeKeyboardWhenShown(QWidget& window);
};
