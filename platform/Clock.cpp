#include "platform/Clock.h"

#include "platform/KeyDownClock.h"

float Clock::TimeOfDay() {
  if (const std::optional<double> keyDown = KeyDownClock::Current()) {
    return static_cast<float>(*keyDown);
  }
  return static_cast<float>(SecondsSinceMidnight());
}
