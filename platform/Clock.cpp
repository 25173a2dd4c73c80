#include "platform/Clock.h"

#include "platform/KeyDownClock.h"

float Clock::TimeOfDay() {
  if (const std::optional<double> keyDown = KeyDownClock::Current()) {
    return static_cast<float>(*keyDown);
  }
  return static_cast<float>(SecondsSinceMidnight());
}

double Clock::SecondsSinceMidnight() {
  const LocalTime now = LocalNow();
  return now.hour * 3600.0 + now.minute * 60.0 + now.second + now.fraction;
}
