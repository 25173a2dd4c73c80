#include "platform/Clock.h"

#include <chrono>
#include <ctime>

#ifdef _WIN32
#include <windows.h>
#endif

float Clock::TimeOfDay() { return static_cast<float>(SecondsSinceMidnight()); }

#ifdef _WIN32

double Clock::SecondsSinceMidnight() {
  // GetSystemTime(AsFileTime) moves in timer ticks of up to 15.6 ms; the precise form reads the
  // performance counter behind it.
  FILETIME utc{};
  GetSystemTimePreciseAsFileTime(&utc);
  SYSTEMTIME utcParts{};
  SYSTEMTIME local{};
  if (FileTimeToSystemTime(&utc, &utcParts) == 0 ||
      SystemTimeToTzSpecificLocalTime(nullptr, &utcParts, &local) == 0) {
    return 0.0;
  }
  ULARGE_INTEGER ticks{};
  ticks.LowPart = utc.dwLowDateTime;
  ticks.HighPart = utc.dwHighDateTime;
  // Time zones differ from UTC by whole minutes: the fraction of the second is the same.
  constexpr unsigned long long kTicksPerSecond = 10'000'000;
  const double fraction =
      static_cast<double>(ticks.QuadPart % kTicksPerSecond) / static_cast<double>(kTicksPerSecond);
  return local.wHour * 3600.0 + local.wMinute * 60.0 + local.wSecond + fraction;
}

#else

double Clock::SecondsSinceMidnight() {
  using namespace std::chrono;
  const auto now = system_clock::now();
  const std::time_t seconds = system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&seconds, &local);
  // to_time_t truncates toward the past on every platform we build for; the remainder is the
  // fraction of the current second.
  const auto fraction = duration<double>(now - system_clock::from_time_t(seconds)).count();
  return local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + fraction;
}

#endif
