#include "platform/Clock.h"

#include <windows.h>

Clock::LocalTime Clock::LocalNow() {
  // GetSystemTime(AsFileTime) moves in timer ticks of up to 15.6 ms; the precise form reads the
  // performance counter behind it.
  FILETIME utc{};
  GetSystemTimePreciseAsFileTime(&utc);
  SYSTEMTIME utcParts{};
  SYSTEMTIME local{};
  if (FileTimeToSystemTime(&utc, &utcParts) == 0 ||
      SystemTimeToTzSpecificLocalTime(nullptr, &utcParts, &local) == 0) {
    return {};
  }
  ULARGE_INTEGER ticks{};
  ticks.LowPart = utc.dwLowDateTime;
  ticks.HighPart = utc.dwHighDateTime;
  // Time zones differ from UTC by whole minutes: the fraction of the second is the same.
  constexpr unsigned long long kTicksPerSecond = 10'000'000;
  const double fraction =
      static_cast<double>(ticks.QuadPart % kTicksPerSecond) / static_cast<double>(kTicksPerSecond);
  return {local.wHour, local.wMinute, local.wSecond, fraction};
}
