#include "platform/WindowActivation.h"

// X11 and Wayland window managers give a newly shown modal window the keyboard themselves.
void WindowActivation::TakeKeyboardWhenShown(QWidget& /*window*/) {}
