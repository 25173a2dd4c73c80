#include "common/Conversions.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>

std::int32_t ToWholeNumber(double value) {
  // nearbyint rounds in the default mode, to nearest with ties to even.
  const double rounded = std::nearbyint(value);
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
  if (value == 0) value = 0;  // no "-0"
  // to_chars writes %.15g as the "C" locale would, whatever the C library's locale is: on Unix
  // QCoreApplication adopts the environment's locale, so snprintf could already write "0,5".
  std::array<char, 64> buffer{};
  const auto written = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                     std::chars_format::general, 15);
  QString text = QString::fromLatin1(buffer.data(), written.ptr - buffer.data()).toUpper();
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

  QLocale reader(locale);
  reader.setNumberOptions(QLocale::RejectGroupSeparator);
  bool ok = false;
  const double value = reader.toDouble(trimmed, &ok);
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
