#include "common/Conversions.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>
#include <system_error>

namespace {

constexpr int kShownDigits = 15;

// The value's first 15 significant digits, cut rather than rounded, in scientific form.
// Returns the end of what it wrote.
char* ShownTowardZero(double value, char* begin, char* last) {
  // 17 significant digits hold every double exactly enough that, for the values this is called
  // for, their rounding cannot reach the 15th.
  char* end =
      std::to_chars(begin, last, value, std::chars_format::scientific, kShownDigits + 1).ptr;
  char* const exponent = std::find(begin, end, 'e');
  char* const point = std::find(begin, exponent, '.');
  // The point, then 14 digits after it; the values near the largest double have no zeros there.
  return std::copy(exponent, end, point + kShownDigits);
}

}  // namespace

std::int32_t ToWholeNumber(double value) {
  // nearbyint rounds in the default mode, to nearest with ties to even.
  const double rounded = std::nearbyint(value);
  // Written as "not within", so that NaN, which compares false with everything, is refused too.
  // NOLINTNEXTLINE(readability-simplify-boolean-expr)
  if (!(rounded >= std::numeric_limits<std::int32_t>::min() &&
        rounded <= std::numeric_limits<std::int32_t>::max())) {
    throw std::out_of_range("number does not fit in a 32-bit whole number");
  }
  return static_cast<std::int32_t>(rounded);
}

std::int32_t ToWholeNumber(const QString& text, const QLocale& locale) {
  return ToWholeNumber(TextToValue(text, locale));
}

QString ValueToText(double value, const QLocale& locale) {
  // cppcheck-suppress duplicateConditionalAssign ; -0 equals 0, and assigning 0 clears its sign
  if (value == 0) value = 0;  // no "-0"
  // to_chars writes %.15g as the "C" locale would, whatever the C library's locale is: on Unix
  // QCoreApplication adopts the environment's locale, so snprintf could already write "0,5".
  std::array<char, 64> buffer{};
  char* const begin = buffer.data();
  char* end = std::to_chars(begin, begin + buffer.size(), value, std::chars_format::general,
                            kShownDigits).ptr;
  double shown = 0;
  if (std::from_chars(begin, end, shown).ec == std::errc::result_out_of_range) {
    // Within 15 digits of the largest double the nearest 15-digit decimal lies beyond it
    // ("1.79769313486232E+308") and could not be read back. Show the 15 digits toward zero.
    end = ShownTowardZero(value, begin, begin + buffer.size());
  }
  QString text = QString::fromLatin1(begin, end - begin).toUpper();
  text.replace(QLatin1Char('.'), locale.decimalPoint());
  return text;
}

double TextToValue(const QString& text, const QLocale& locale) {
  const QString trimmed = text.trimmed();
  if (trimmed.isEmpty()) throw std::invalid_argument("empty number");

  // Only plain numbers count: sign, digits, separator, exponent. This keeps "inf", "nan",
  // grouping and any other form the locale parser might accept out.
  const QString point = locale.decimalPoint();
  for (const QChar c : trimmed) {
    const bool plain = c.isDigit() || c == u'+' || c == u'-' || c == u'e' || c == u'E' ||
                       QString(c) == point;
    if (!plain || (c.isDigit() && c.unicode() > 127)) {
      throw std::invalid_argument("not a number");
    }
  }

  // What is left is read in Qt's C locale, the locale's separator given as the point. The
  // locale's own reading would also ask for its own exponent and signs: since Qt 6.8 Swedish,
  // for one, takes "×10^" and not the "E" a result box shows, so a shown value could not be
  // typed back.
  QString plain = trimmed;
  plain.replace(point, QStringLiteral("."));
  QLocale reader = QLocale::c();
  reader.setNumberOptions(QLocale::RejectGroupSeparator);
  bool ok = false;
  const double value = reader.toDouble(plain, &ok);
  if (!ok) {
    // Qt reports a finite-looking text whose value overflows as not ok with an infinite value.
    if (std::isinf(value)) throw std::out_of_range("number beyond the range of a double");
    throw std::invalid_argument("not a number");
  }
  if (!std::isfinite(value)) throw std::out_of_range("number beyond the range of a double");
  return value;
}

double RoundToDecimals(double value, int places) {
  if (places < 0) throw std::out_of_range("negative number of decimal places");
  if (!std::isfinite(value)) return value;
  // A double has at most 1074 binary, hence decimal, fractional digits: beyond that it is exact.
  constexpr int kMostFractionDigits = 1074;
  if (places >= kMostFractionDigits) return value;

  // to_chars in fixed notation rounds the exact binary value, ties to even; reading the decimal
  // text back gives the nearest double to the rounded decimal.
  std::string digits(std::numeric_limits<double>::max_exponent10 + places + 8, '\0');
  const auto written = std::to_chars(digits.data(), digits.data() + digits.size(), value,
                                     std::chars_format::fixed, places);
  double rounded = 0;
  std::from_chars(digits.data(), written.ptr, rounded, std::chars_format::fixed);
  return rounded;
}
