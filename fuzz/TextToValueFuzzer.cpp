// Any text the user may type, in any locale, read by TextToValue and ToWholeNumber: a finite
// number or a reported failure (std::invalid_argument, std::out_of_range), never a crash. Every
// text accepted means exactly what the C library reads it as, and shows back as itself.

#include <cmath>
#include <cstdint>
#include <stdexcept>

#include "common/Conversions.h"
#include "fuzz/FuzzInput.h"
#include "fuzz/Oracles.h"

namespace {

// ToWholeNumber on the text agrees with ToWholeNumber on the value the text was read as.
void RequireSameWholeNumber(const QString& text, const QLocale& locale, double value) {
  bool fits = true;
  std::int32_t expected = 0;
  try {
    expected = ToWholeNumber(value);
  } catch (const std::out_of_range&) {
    fits = false;
  }
  try {
    const std::int32_t whole = ToWholeNumber(text, locale);
    Require(fits && whole == expected, "the whole number of a text is that of its value", text);
    Require(std::fabs(whole - value) <= 0.5, "a whole number is the nearest one", text);
  } catch (const std::out_of_range&) {
    Require(!fits, "a whole number that fits is not refused", text);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput input(data, size);
  const QLocale locale = input.Locale();
  const QString text = input.Rest();

  double value = 0;
  try {
    value = TextToValue(text, locale);
  } catch (const std::invalid_argument&) {
    // Refused as not a number: a whole number cannot be read from it either.
    try {
      ToWholeNumber(text, locale);
      Require(false, "a text refused as a number gives no whole number", text);
    } catch (const std::invalid_argument&) {  // NOLINT(bugprone-empty-catch): as required
    }
    return 0;
  } catch (const std::out_of_range&) {
    // Refused as too large: the C library overflows on it too.
    const std::optional<double> plain = oracle::ReadPlainNumber(text, locale);
    Require(plain && std::isinf(*plain), "only a number beyond a double is out of range", text);
    return 0;
  }

  Require(std::isfinite(value), "an accepted number is finite", text);
  const std::optional<double> plain = oracle::ReadPlainNumber(text, locale);
  Require(plain.has_value(), "an accepted text is a plain number", text + QStringLiteral(" in ") + locale.name());
  Require(plain.value_or(std::nan("")) == value, "an accepted text has the value the C library reads",
          text + QStringLiteral(" read as ") + QString::number(value, 'g', 17));
  RequireSameWholeNumber(text, locale, value);
  oracle::RequireRoundTrip(value, locale);
  return 0;
}
