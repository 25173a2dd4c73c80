#include "platform/Clock.h"

#include <chrono>
#include <ctime>

Clock::LocalTime Clock::LocalNow() {
  using namespace std::chrono;
  const auto now = system_clock::now();
  const std::time_t seconds = system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&seconds, &local);
  // to_time_t truncates toward the past on every platform we build for; the remainder is the
  // fraction of the current second.
  const auto fraction = duration<double>(now - system_clock::from_time_t(seconds)).count();
  return {local.tm_hour, local.tm_min, local.tm_sec, fraction};
}
