#pragma once

// The number conversions every part of Tempulo shares: double to whole number, double to the
// text a result box shows, text a user typed back to a double, and exact decimal rounding.
// Failures are exceptions: std::out_of_range for a number that does not fit,
// std::invalid_argument for text that is not a number.

#include <cstdint>

#include <QLocale>
#include <QString>

// Nearest signed 32-bit integer, halfway cases to the even neighbour (2.5 -> 2, 3.5 -> 4).
// Throws std::out_of_range when the rounded value does not fit, or for NaN.
std::int32_t ToWholeNumber(double value);

// The same for a number the user typed, read with TextToValue.
std::int32_t ToWholeNumber(const QString& text, const QLocale& locale = QLocale());

// At most 15 significant digits, the locale's decimal separator, no grouping, no trailing
// zeros; exponent form ("1.5E+20") only for very large or very small magnitudes.
QString ValueToText(double value, const QLocale& locale = QLocale());

// Reads an optional sign, digits with the locale's decimal separator and an optional exponent,
// blanks around it allowed. Throws std::invalid_argument for anything else (empty text, letters,
// digit grouping, "inf", "nan") and std::out_of_range for a value beyond a double ("1e400").
double TextToValue(const QString& text, const QLocale& locale = QLocale());

// The multiple of 10^-places nearest to the exact binary value, halfway cases to the even last
// digit (0.125 -> 0.12, 0.375 -> 0.38). Infinities and NaN come back unchanged.
// Throws std::out_of_range for a negative number of places.
double RoundToDecimals(double value, int places);
