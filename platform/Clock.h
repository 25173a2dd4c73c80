#pragma once

// The time of day as Tempulo reads it: seconds since local midnight in single precision,
// restarting at 0 at midnight. Windows take a TimeSource so tests can hand in their own clock.
// Read while a key press is handled, it is the moment that key went down, where the window
// system told it (KeyDownClock).

#include <functional>

using TimeSource = std::function<float()>;

class Clock {
 public:
  // The float holds what it can of the system's time: 1/512 s or finer up to 09:06, 1/256 s up
  // to 18:12, 1/128 s after.
  static float TimeOfDay();

  // The system's time of day as precisely as it keeps it, from LocalNow.
  static double SecondsSinceMidnight();

 private:
  // The local wall-clock time, read from the system: on Linux the real-time clock (nanoseconds),
  // on Windows GetSystemTimePreciseAsFileTime (100 ns). Midnight where the system cannot say.
  struct LocalTime {
    int hour = 0;
    int minute = 0;
    int second = 0;
    double fraction = 0;  // of the current second
  };
  static LocalTime LocalNow();
};
