#include "common/Conversions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cfloat>
#include <climits>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <ostream>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

enum class Lang { English, German };

QLocale LocaleOf(Lang lang) {
  return lang == Lang::German ? QLocale(QLocale::German, QLocale::Germany)
                              : QLocale(QLocale::English, QLocale::UnitedStates);
}

std::ostream& operator<<(std::ostream& out, Lang lang) {
  return out << (lang == Lang::German ? "German" : "English");
}

// The double the C library reads back from value written with `format` ("%.15g", "%.2f", ...).
double ThroughPrintf(const char* format, double value, int precision = 0) {
  std::array<char, 512> text{};
  std::snprintf(text.data(), text.size(), format, precision, value);
  return std::strtod(text.data(), nullptr);
}

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

struct Whole { double value; std::int32_t expected; };
std::ostream& operator<<(std::ostream& out, const Whole& c) {
  out.precision(17);
  return out << c.value << " -> " << c.expected;
}

class ToWholeNumberRounding : public ::testing::TestWithParam<Whole> {};
TEST_P(ToWholeNumberRounding, GivesTheNearestIntegerWithHalvesToTheEvenNeighbour) {
  EXPECT_EQ(ToWholeNumber(GetParam().value), GetParam().expected);
}
INSTANTIATE_TEST_SUITE_P(Conversions, ToWholeNumberRounding, ::testing::Values(
    Whole{2.5, 2}, Whole{3.5, 4}, Whole{-2.5, -2}, Whole{0.5, 0}, Whole{1.5, 2}, Whole{-0.5, 0},
    Whole{2.4999999999999996, 2}, Whole{2.5000000000000004, 3}, Whole{-3.7, -4},
    Whole{2147483647.4, 2147483647}, Whole{2147483646.5, 2147483646},
    Whole{-2147483648.5, INT32_MIN}, Whole{-2147483647.5, INT32_MIN}));

class ToWholeNumberOutOfRange : public ::testing::TestWithParam<double> {};
TEST_P(ToWholeNumberOutOfRange, ThrowsWhenTheRoundedValueDoesNotFit) {
  EXPECT_THROW(ToWholeNumber(GetParam()), std::out_of_range);
}
INSTANTIATE_TEST_SUITE_P(Conversions, ToWholeNumberOutOfRange, ::testing::Values(
    2147483647.5, 2147483648.0, -2147483648.6, -2147483649.0, 3e10, -3e10, kNaN, kInf, -kInf));

TEST(ToWholeNumberFromText, ReadsTheTextInTheGivenLocaleBeforeRounding) {
  EXPECT_EQ(ToWholeNumber(QStringLiteral("2.5"), LocaleOf(Lang::English)), 2);
  EXPECT_EQ(ToWholeNumber(QStringLiteral("2,5"), LocaleOf(Lang::German)), 2);
  EXPECT_EQ(ToWholeNumber(QStringLiteral(" -7,5 "), LocaleOf(Lang::German)), -8);
}

TEST(ToWholeNumberFromText, ThrowsOutOfRangeForAFiniteNumberTooLargeForThirtyTwoBits) {
  EXPECT_THROW(ToWholeNumber(QStringLiteral("3e10"), LocaleOf(Lang::English)), std::out_of_range);
}

TEST(ToWholeNumberFromText, ThrowsInvalidArgumentForTextThatIsNoNumber) {
  EXPECT_THROW(ToWholeNumber(QStringLiteral("abc"), LocaleOf(Lang::English)),
               std::invalid_argument);
}

struct Shown { double value; Lang lang; const char* text; };
std::ostream& operator<<(std::ostream& out, const Shown& c) {
  out.precision(17);
  return out << c.value << " in " << c.lang << " -> " << c.text;
}

class ValueToTextFormat : public ::testing::TestWithParam<Shown> {};
TEST_P(ValueToTextFormat, ShowsFifteenSignificantDigitsWithTheLocaleSeparator) {
  EXPECT_EQ(ValueToText(GetParam().value, LocaleOf(GetParam().lang)).toStdString(),
            GetParam().text);
}
INSTANTIATE_TEST_SUITE_P(Conversions, ValueToTextFormat, ::testing::Values(
    Shown{240, Lang::English, "240"}, Shown{0.5, Lang::English, "0.5"},
    Shown{120.0 / 7, Lang::English, "17.1428571428571"}, Shown{-0.25, Lang::English, "-0.25"},
    Shown{60 / 0.515625, Lang::English, "116.363636363636"}, Shown{0.1 + 0.2, Lang::English, "0.3"},
    Shown{1234567, Lang::English, "1234567"}, Shown{1234567, Lang::German, "1234567"},
    Shown{123456789012345, Lang::English, "123456789012345"}, Shown{-0.0, Lang::English, "0"},
    Shown{0.5, Lang::German, "0,5"}, Shown{-1234.75, Lang::German, "-1234,75"},
    Shown{0.0001, Lang::English, "0.0001"}, Shown{1e20, Lang::English, "1E+20"},
    Shown{1.5e-7, Lang::English, "1.5E-07"}, Shown{1.5e-7, Lang::German, "1,5E-07"},
    // The nearest 15 digits of the largest doubles lie beyond a double: cut toward zero instead.
    Shown{DBL_MAX, Lang::English, "1.79769313486231E+308"},
    Shown{-DBL_MAX, Lang::German, "-1,79769313486231E+308"},
    Shown{1.797693134862315e308, Lang::English, "1.79769313486231E+308"},
    Shown{1.7976931348623149e308, Lang::English, "1.79769313486231E+308"},
    Shown{1.79769313486231e308, Lang::English, "1.79769313486231E+308"}));

// Switches the C library's numbers to a locale with a decimal comma. Where none is installed, one
// is compiled with localedef into a scratch folder (once per run) and found through LOCPATH; the
// Windows C library knows its locales by their Windows names.
bool UseCommaCLocale() {
  const auto tryNames = [] {
    const std::array names = {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8", "fr_FR.utf8",
                              "German_Germany.1252", "de-DE"};
    return std::ranges::any_of(names, [](const char* name) {
      return std::setlocale(LC_NUMERIC, name) != nullptr &&
             *std::localeconv()->decimal_point == ',';
    });
  };
  if (tryNames()) return true;
  static QTemporaryDir scratch;
  static const bool compiled = [] {
    if (!scratch.isValid()) return false;
    const QString target = QDir::toNativeSeparators(scratch.filePath(QStringLiteral("de_DE.UTF-8")));
    const std::string command =
        "localedef -i de_DE -f UTF-8 " + target.toStdString() + " >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) return false;
    return qputenv("LOCPATH", QFile::encodeName(scratch.path()));
  }();
  return compiled && tryNames();
}

// On Unix QCoreApplication adopts the environment's C library locale at start-up; the
// conversions must not follow it.
class ConversionsUnderCommaCLocale : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = std::setlocale(LC_NUMERIC, nullptr);
    if (UseCommaCLocale()) return;
    std::setlocale(LC_NUMERIC, saved_.c_str());
    GTEST_SKIP() << "no C library locale with a decimal comma could be installed or compiled";
  }
  void TearDown() override { std::setlocale(LC_NUMERIC, saved_.c_str()); }
  std::string saved_;
};

TEST_F(ConversionsUnderCommaCLocale, ValueToTextStillUsesTheQtLocaleSeparator) {
  EXPECT_EQ(ValueToText(0.5, LocaleOf(Lang::English)).toStdString(), "0.5");
  EXPECT_EQ(ValueToText(1.5e20, LocaleOf(Lang::English)).toStdString(), "1.5E+20");
  const QLocale english = LocaleOf(Lang::English);
  EXPECT_EQ(TextToValue(ValueToText(0.25, english), english), 0.25);
}

TEST_F(ConversionsUnderCommaCLocale, RoundToDecimalsIsUnaffected) {
  EXPECT_EQ(RoundToDecimals(2.675, 2), 2.67);
}

// Every value a box shows is typed back the same, in every locale Qt knows: the largest and
// smallest doubles, negatives, 15 significant digits, and each side of where the exponent form
// starts (1E+15, 1E-05).
TEST(ValueToText, ReadsBackInEveryLocaleQtKnows) {
  const std::array<double, 14> hard = {
      DBL_MAX, -DBL_MAX, DBL_MIN, -DBL_MIN, 4.9406564584124654e-324, -1234.75,
      123456789012345, -0.000123456789012345, 999999999999999, 1e15, 1e16, 0.0001, 0.00001,
      -9.99999999999999e-5};
  const QList<QLocale> locales =
      QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
  std::vector<std::string> broken;
  for (const QLocale& locale : locales) {
    for (const double value : hard) {
      const QString shown = ValueToText(value, locale);
      double read = 0;
      try {
        read = TextToValue(shown, locale);
      } catch (const std::exception& e) {
        broken.push_back(shown.toStdString() + " in " + locale.name().toStdString() + ": " +
                         e.what());
        continue;
      }
      if (ValueToText(read, locale) != shown) {
        broken.push_back(shown.toStdString() + " in " + locale.name().toStdString() +
                         " reads back as another value");
      }
    }
  }
  EXPECT_GT(locales.size(), 300);
  EXPECT_TRUE(broken.empty()) << broken.size() << " of " << locales.size() * hard.size()
                              << ", the first: " << broken.front();
  std::printf("%lld locales, %zu values each\n", static_cast<long long>(locales.size()),
              hard.size());
}

struct Read { const char* text; Lang lang; double expected; };
std::ostream& operator<<(std::ostream& out, const Read& c) {
  return out << '"' << c.text << "\" in " << c.lang;
}

class TextToValueAccepts : public ::testing::TestWithParam<Read> {};
TEST_P(TextToValueAccepts, ReadsAPlainNumberInTheLocale) {
  const Read& c = GetParam();
  EXPECT_EQ(TextToValue(QString::fromUtf8(c.text), LocaleOf(c.lang)), c.expected);
}
INSTANTIATE_TEST_SUITE_P(Conversions, TextToValueAccepts, ::testing::Values(
    Read{"240", Lang::English, 240}, Read{" 2.5 ", Lang::English, 2.5},
    Read{"\t-0.25\n", Lang::English, -0.25}, Read{"+5", Lang::English, 5},
    Read{"1.5E+20", Lang::English, 1.5e20}, Read{"1e-5", Lang::English, 1e-5},
    Read{"1.5E-07", Lang::English, 1.5e-7}, Read{"0,5", Lang::German, 0.5},
    Read{"-1,5e3", Lang::German, -1500}, Read{"1,000", Lang::German, 1},
    Read{"4.94065645841247E-324", Lang::English, 5e-324}));

struct Typed { const char* text; Lang lang; };
std::ostream& operator<<(std::ostream& out, const Typed& c) {
  return out << '"' << c.text << "\" in " << c.lang;
}

class TextToValueRejects : public ::testing::TestWithParam<Typed> {};
TEST_P(TextToValueRejects, ThrowsInvalidArgumentForTextThatIsNoPlainNumber) {
  EXPECT_THROW(TextToValue(QString::fromUtf8(GetParam().text), LocaleOf(GetParam().lang)),
               std::invalid_argument);
}
INSTANTIATE_TEST_SUITE_P(Conversions, TextToValueRejects, ::testing::Values(
    Typed{"", Lang::English}, Typed{"   ", Lang::English}, Typed{"abc", Lang::English},
    Typed{"12abc", Lang::English}, Typed{"inf", Lang::English}, Typed{"-inf", Lang::English},
    Typed{"nan", Lang::English}, Typed{"Infinity", Lang::English}, Typed{"1,000", Lang::English},
    Typed{"1.000", Lang::German}, Typed{"1.5", Lang::German}, Typed{"1.2.3", Lang::English},
    Typed{"1,2,3", Lang::German}, Typed{"-", Lang::English}, Typed{"+", Lang::English},
    Typed{"e5", Lang::English}, Typed{"1e", Lang::English}, Typed{"--5", Lang::English},
    Typed{"1 000", Lang::English}, Typed{"$5", Lang::English}, Typed{"5 €", Lang::German},
    Typed{"0x10", Lang::English}, Typed{"\u0663", Lang::English}));

class TextToValueOverflow : public ::testing::TestWithParam<const char*> {};
TEST_P(TextToValueOverflow, ThrowsOutOfRangeForAValueBeyondADouble) {
  EXPECT_THROW(TextToValue(QString::fromUtf8(GetParam()), LocaleOf(Lang::English)),
               std::out_of_range);
}
INSTANTIATE_TEST_SUITE_P(Conversions, TextToValueOverflow,
                         ::testing::Values("1e400", "-1e400", "1e999999999999999999"));

class TextRoundTrip : public ::testing::TestWithParam<Lang> {};
TEST_P(TextRoundTrip, ReadingTheShownTextGivesTheValueToFifteenDigits) {
  std::vector<double> values{5e-324, -5e-324, 1e-323, 2.5e-320, DBL_MIN, 1.0 / 3, DBL_MAX, -DBL_MAX};
  std::mt19937_64 random(20240611);
  std::uniform_real_distribution<double> mantissa(1, 10);
  std::uniform_int_distribution<int> exponent(-323, 307);
  for (int i = 0; i < 3000; ++i) {
    values.push_back((i % 2 != 0 ? -1 : 1) * mantissa(random) * std::pow(10.0, exponent(random)));
  }
  const QLocale locale = LocaleOf(GetParam());
  for (const double value : values) {
    const QString text = ValueToText(value, locale);
    const double expected = ThroughPrintf("%.*g", value, 15);
    if (std::isinf(expected)) {  // within 15 digits of DBL_MAX: the 15 digits toward zero
      EXPECT_EQ(TextToValue(text, locale), std::copysign(1.79769313486231e308, value))
          << text.toStdString();
    } else {
      EXPECT_EQ(TextToValue(text, locale), expected) << text.toStdString();
    }
  }
}
INSTANTIATE_TEST_SUITE_P(Conversions, TextRoundTrip, ::testing::Values(Lang::English, Lang::German));

struct Rounded { double value; int places; double expected; };
std::ostream& operator<<(std::ostream& out, const Rounded& c) {
  out.precision(17);
  return out << c.value << " to " << c.places << " places";
}

// Every value here sits on, just below or just above a tie once its exact binary value is
// written out; several (2.675, 0.615, 4.35, 10.235) round the other way if multiplied by 10^n.
class RoundToDecimalsExact : public ::testing::TestWithParam<Rounded> {};
TEST_P(RoundToDecimalsExact, RoundsTheExactBinaryValueWithTiesToEven) {
  const Rounded& c = GetParam();
  EXPECT_EQ(RoundToDecimals(c.value, c.places), c.expected);
}
INSTANTIATE_TEST_SUITE_P(Conversions, RoundToDecimalsExact, ::testing::Values(
    Rounded{0.125, 2, 0.12}, Rounded{0.375, 2, 0.38}, Rounded{0.0625, 3, 0.062},
    Rounded{2.5, 0, 2}, Rounded{3.5, 0, 4}, Rounded{-2.5, 0, -2}, Rounded{1.005, 2, 1.0},
    Rounded{2.675, 2, 2.67}, Rounded{0.285, 2, 0.28}, Rounded{1.45, 1, 1.4},
    Rounded{8.345, 2, 8.35}, Rounded{0.615, 2, 0.61}, Rounded{4.35, 1, 4.3},
    Rounded{10.235, 2, 10.23}, Rounded{-2.675, 2, -2.67}, Rounded{0.045, 2, 0.04}));

class RoundToDecimalsFixedFormatting : public ::testing::TestWithParam<double> {};
TEST_P(RoundToDecimalsFixedFormatting, FifteenPlacesMatchFixedNotationReadBack) {
  EXPECT_EQ(RoundToDecimals(GetParam(), 15), ThroughPrintf("%.*f", GetParam(), 15));
}
INSTANTIATE_TEST_SUITE_P(Conversions, RoundToDecimalsFixedFormatting,
                         ::testing::Values(0.5, 120.0 / 7, 60 / 0.515625, 1.0 / 3, -2.0 / 3));

TEST(RoundToDecimals, AgreesWithFixedNotationForManyValuesAndPlaces) {
  std::mt19937_64 random(7);
  std::uniform_real_distribution<double> mantissa(-10, 10);
  std::uniform_int_distribution<int> exponent(-6, 12);
  std::uniform_int_distribution<int> places(0, 20);
  for (int i = 0; i < 3000; ++i) {
    const double value = mantissa(random) * std::pow(10.0, exponent(random));
    const int n = places(random);
    EXPECT_EQ(RoundToDecimals(value, n), ThroughPrintf("%.*f", value, n)) << value << " " << n;
  }
}

class RoundToDecimalsLargeValues : public ::testing::TestWithParam<int> {};
TEST_P(RoundToDecimalsLargeValues, LeavesValuesWithoutAFractionUnchanged) {
  EXPECT_EQ(RoundToDecimals(1e300, GetParam()), 1e300);
  EXPECT_EQ(RoundToDecimals(-DBL_MAX, GetParam()), -DBL_MAX);
}
INSTANTIATE_TEST_SUITE_P(Conversions, RoundToDecimalsLargeValues,
                         ::testing::Values(0, 2, 15, 400, 1073, 1074, INT_MAX));

TEST(RoundToDecimals, KeepsTheSmallestSubnormalWhenPlacesReachItsDigits) {
  EXPECT_EQ(RoundToDecimals(5e-324, 1073), 5e-324);
  EXPECT_EQ(RoundToDecimals(5e-324, 1074), 5e-324);
  EXPECT_EQ(RoundToDecimals(5e-324, 323), 0.0);
}

TEST(RoundToDecimals, ThrowsOutOfRangeForANegativeNumberOfPlaces) {
  EXPECT_THROW(RoundToDecimals(1.5, -1), std::out_of_range);
  EXPECT_THROW(RoundToDecimals(1.5, INT_MIN), std::out_of_range);
}

TEST(RoundToDecimals, ReturnsInfinitiesAndNaNUnchanged) {
  EXPECT_EQ(RoundToDecimals(kInf, 2), kInf);
  EXPECT_EQ(RoundToDecimals(-kInf, 0), -kInf);
  EXPECT_TRUE(std::isnan(RoundToDecimals(kNaN, 3)));
}

}  // namespace
