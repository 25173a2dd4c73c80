#pragma once

// What the fuzz targets compare Tempulo's conversions with: the C library's own reading and
// writing of numbers. The fuzz drivers never set a C locale, so these work in "C".

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include <QLocale>
#include <QString>

#include "common/Conversions.h"
#include "fuzz/FuzzInput.h"

namespace oracle {

// The value rounded to 15 significant digits, as printf and strtod see it. Where those digits
// lie beyond the largest double, the 15 digits toward zero: the exact expansion cut after its
// fifteenth digit (not every C library's printf follows the rounding mode).
inline double RoundTo15Digits(double value) {
  std::array<char, 64> text{};
  std::snprintf(text.data(), text.size(), "%.14e", value);
  const double rounded = std::strtod(text.data(), nullptr);
  if (!std::isinf(rounded)) return rounded;
  std::array<char, 1024> exact{};
  std::snprintf(exact.data(), exact.size(), "%.800e", value);
  const std::string expansion(exact.data());
  const std::size_t point = expansion.find('.');
  const std::string cut = expansion.substr(0, point + 15) + expansion.substr(expansion.find('e'));
  return std::strtod(cut.c_str(), nullptr);
}

// The value rounded to the given number of decimal places, as printf rounds the exact binary
// value (halfway cases to even), read back by strtod.
inline double RoundToPlaces(double value, int places) {
  const int length = std::snprintf(nullptr, 0, "%.*f", places, value);
  std::vector<char> text(static_cast<std::size_t>(length) + 1);
  std::snprintf(text.data(), text.size(), "%.*f", places, value);
  return std::strtod(text.data(), nullptr);
}

// The number a plain text means: blanks around it trimmed, the locale's decimal separator read as
// a point, then strtod, which must take every character. Nothing when the text holds anything
// but ASCII digits, signs, exponent letters and the separator, or strtod stops early.
inline std::optional<double> ReadPlainNumber(const QString& text, const QLocale& locale) {
  const QString point = locale.decimalPoint();
  std::string ascii;
  for (const QChar c : text.trimmed()) {
    const char16_t u = c.unicode();
    if ((u >= u'0' && u <= u'9') || u == u'+' || u == u'-' || u == u'e' || u == u'E') {
      ascii += static_cast<char>(u);
    } else if (QString(c) == point) {
      ascii += '.';
    } else {
      return std::nullopt;
    }
  }
  if (ascii.empty()) return std::nullopt;
  char* end = nullptr;
  const double value = std::strtod(ascii.c_str(), &end);
  if (end != ascii.c_str() + ascii.size()) return std::nullopt;
  return value;
}

// A finite value shown as text and typed back in the same locale is the value to 15 digits.
inline void RequireRoundTrip(double value, const QLocale& locale) {
  const QString text = ValueToText(value, locale);
  double back = 0;
  try {
    back = TextToValue(text, locale);
  } catch (const std::exception& error) {
    Require(false, "a shown value reads back", text + QStringLiteral(" in ") + locale.name() +
                                                     QStringLiteral(": ") + QString::fromUtf8(error.what()));
  }
  Require(back == RoundTo15Digits(value), "a shown value reads back as itself to 15 digits",
          text + QStringLiteral(" in ") + locale.name() + QStringLiteral(" read as ") +
              QString::number(back, 'g', 17) + QStringLiteral(" from ") +
              QString::number(value, 'g', 17));
}

}  // namespace oracle
