#pragma once

// What the window system tells of the moment a key press happened, on each system:
// - X11 (xcb): QKeyEvent::timestamp() is the X server's time of the press in milliseconds, which
//   a local Xorg takes from CLOCK_MONOTONIC.
// - Wayland: the compositor's time of the key in milliseconds, CLOCK_MONOTONIC in practice
//   (libinput's); the protocol names no start, so a stamp on another clock is told by its
//   distance from now and left unused.
// - Windows: Qt's key event carries the time Qt handled the message; the message's own time
//   (GetTickCount's clock, in steps of 10 to 16 ms) reaches the program through a native event
//   filter, and counts only where the press waited longer than one of its steps.
// A press younger than a step of its stamp takes the time of day as it arrives. A stamp that
// tells nothing (0, a sent event, another clock) leaves the press to the time of day read as it
// is handled.

#include <optional>

class QCoreApplication;
class QKeyEvent;

class EventClock {
 public:
  // Starts noting what the window system says of each key press beyond what Qt's event says.
  static void Install(QCoreApplication& app);

  // The time of day (seconds since local midnight) at which a press arriving now from the
  // window system went down, if its stamp tells it.
  static std::optional<double> MomentOf(const QKeyEvent& press);
};
