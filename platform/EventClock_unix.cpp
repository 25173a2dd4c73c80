#include "platform/EventClock.h"

#include <ctime>

#include <QKeyEvent>

#include "platform/Clock.h"
#include "platform/KeyDownClock.h"

namespace {

// X servers and Wayland compositors stamp in whole milliseconds.
constexpr double kStampStepMs = 1.0;

double MonotonicMs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
}

}  // namespace

void EventClock::Install(QCoreApplication& /*app*/) {}  // Qt's event carries the stamp

std::optional<double> EventClock::MomentOf(const QKeyEvent& press) {
  // The time of day between two readings of the event clock: the pair as if read at one instant.
  const double before = MonotonicMs();
  const double timeOfDay = Clock::SecondsSinceMidnight();
  const double after = MonotonicMs();
  return KeyDownClock::MomentOf(static_cast<std::uint32_t>(press.timestamp()),
                                {(before + after) / 2, timeOfDay}, kStampStepMs);
}
