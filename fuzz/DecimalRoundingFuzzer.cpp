// Decimal rounding of every double to any number of places: the multiple of 10^-places nearest
// the exact binary value, halfway cases to the even digit, as printf rounds it; a negative
// number of places is refused; infinities and NaN come back unchanged.

#include <bit>
#include <cmath>
#include <cstdint>
#include <stdexcept>

#include "common/Conversions.h"
#include "fuzz/FuzzInput.h"
#include "fuzz/Oracles.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput input(data, size);
  const double value = input.Double();
  // Mostly the places a user would ask for, now and then any 16-bit number of them.
  const std::uint8_t kind = input.Byte();
  const int places = (kind & 1) != 0 ? static_cast<std::int16_t>(input.Word())
                                      : static_cast<int>(input.Byte() % 40);
  const QString detail =
      QString::number(value, 'g', 17) + QStringLiteral(" to places ") + QString::number(places);

  double rounded = 0;
  try {
    rounded = RoundToDecimals(value, places);
  } catch (const std::out_of_range&) {
    Require(places < 0, "only a negative number of places is refused", detail);
    return 0;
  }
  Require(places >= 0, "a negative number of places is refused", detail);

  if (!std::isfinite(value)) {
    Require(std::bit_cast<std::uint64_t>(rounded) == std::bit_cast<std::uint64_t>(value),
            "infinities and NaN stay as they are", detail);
    return 0;
  }
  const double expected = oracle::RoundToPlaces(value, places);
  Require(rounded == expected && std::signbit(rounded) == std::signbit(expected),
          "rounding matches printf's exact rounding",
          detail + QStringLiteral(": ") + QString::number(rounded, 'g', 17) +
              QStringLiteral(" instead of ") + QString::number(expected, 'g', 17));
  return 0;
}
