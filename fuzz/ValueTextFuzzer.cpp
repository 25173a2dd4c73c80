// Every double shown as text: a finite value reads back as itself to 15 significant digits in
// every locale, and its nearest whole number is found or refused as out of range.

#include <cmath>
#include <cstdint>
#include <limits>
#include <stdexcept>

#include "common/Conversions.h"
#include "fuzz/FuzzInput.h"
#include "fuzz/Oracles.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput input(data, size);
  const QLocale locale = input.Locale();
  const double value = input.Double();
  const QString detail = QString::number(value, 'g', 17);

  if (!std::isfinite(value)) {
    // Never shown by the windows; its text must not read back as some number.
    try {
      TextToValue(ValueToText(value, locale), locale);
      Require(false, "the text of an infinity or NaN is no number", detail);
    } catch (const std::invalid_argument&) {  // NOLINT(bugprone-empty-catch): as required
    }
  } else {
    oracle::RequireRoundTrip(value, locale);
  }

  const double nearest = std::nearbyint(value);
  const bool fits = nearest >= std::numeric_limits<std::int32_t>::min() &&
                    nearest <= std::numeric_limits<std::int32_t>::max();
  try {
    const std::int32_t whole = ToWholeNumber(value);
    Require(fits && whole == nearest, "the whole number is the nearest, halves to even", detail);
  } catch (const std::out_of_range&) {
    Require(!fits, "a whole number that fits is not refused", detail);
  }
  return 0;
}
