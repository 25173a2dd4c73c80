// Chains of calculator operations, as a user types them into result boxes: any typed key, any
// operand text, from any current value a box can show. Each step is held against a reference of
// this file's own, which shares nothing with the calculator but the definitions: the operand as
// the C library reads it (Oracles.h), whole numbers from floor and fraction, decimal rounding as
// printf does it. A step gives a finite new value that the result box shows and reads back, or
// fails and leaves the current value as it was; it fails exactly where the reference finds no
// operand, no finite result or no 32-bit whole number, and otherwise gives
//   for multiply, divide and add: the double-precision result, to the bit;
//   for rounded division and decimal rounding: the reference's result, to the bit;
//   for a semitone shift: value / 2^(x / 12) worked out in long double, to within 2^-40 of it
//   (and of the spacing of subnormals), where |x| <= 12000 keeps 2^(x / 12) a normal double.
//   Beyond that a shift is held only to giving a finite value or failing.
// An operand whose digits are not all zero but which lies below the smallest double may be
// refused or read as 0: nothing promises either.

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <stdexcept>

#include "calc/Calculator.h"
#include "fuzz/FuzzInput.h"
#include "fuzz/Oracles.h"

namespace {

struct Operand {
  std::optional<double> value;  // nothing: no plain number, or one beyond a double
  bool belowSmallest = false;
};

Operand ReadOperand(const QString& text, const QLocale& locale) {
  const std::optional<double> plain = oracle::ReadPlainNumber(text, locale);
  if (!plain || std::isinf(*plain)) return {};
  bool significant = false;
  for (const QChar c : text) {
    if (c == u'e' || c == u'E') break;
    significant = significant || (c >= u'1' && c <= u'9');
  }
  return {plain, *plain == 0 && significant};
}

// The nearest whole number, a half going to the even one; nothing beyond 32 bits.
std::optional<std::int64_t> Whole32(double value) {
  if (!(std::fabs(value) < 4e9)) return std::nullopt;
  const double below = std::floor(value);
  auto whole = static_cast<std::int64_t>(below);
  const double fraction = value - below;  // exact, the value being far below 2^52
  if (fraction > 0.5 || (fraction == 0.5 && whole % 2 != 0)) ++whole;
  if (whole < std::numeric_limits<std::int32_t>::min() ||
      whole > std::numeric_limits<std::int32_t>::max()) {
    return std::nullopt;
  }
  return whole;
}

std::optional<double> IfFinite(double value) {
  return std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
}

// The new value by the definitions, or nothing where the step must fail. Not for semitones.
std::optional<double> Reference(CalcOperation operation, double current, double x) {
  switch (operation) {
    case CalcOperation::Multiply:
      return IfFinite(current * x);
    case CalcOperation::Divide:
      return IfFinite(current / x);
    case CalcOperation::AddSubtract:
      return IfFinite(current + x);
    case CalcOperation::IntegerDivide: {
      const std::optional<std::int64_t> dividend = Whole32(current);
      const std::optional<std::int64_t> divisor = Whole32(x);
      if (!dividend || !divisor || *divisor == 0) return std::nullopt;
      const std::int64_t quotient = *dividend / *divisor;  // toward zero
      if (quotient > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
      return static_cast<double>(quotient);
    }
    case CalcOperation::DecimalRound: {
      const std::optional<std::int64_t> places = Whole32(x);
      if (!places || *places < 0) return std::nullopt;
      // From 16 places on the calculator leaves the value as it is.
      return *places >= 16 ? current : oracle::RoundToPlaces(current, static_cast<int>(*places));
    }
    case CalcOperation::Semitone:
      break;
  }
  return std::nullopt;
}

void RequireSemitone(double current, const Operand& x, std::optional<double> next,
                     const QString& detail) {
  Require(x.value || !next, "a shift by an operand that is no number fails", detail);
  if (!next || !x.value || std::fabs(*x.value) > 12000) return;
  const long double shifted = current / std::exp2(static_cast<long double>(*x.value) / 12);
  const long double bound = std::ldexp(std::fabs(shifted), -40) + std::ldexp(1.0L, -1073);
  Require(std::fabs(*next - shifted) <= bound, "a shift divides by 2^(x / 12)", detail);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput input(data, size);
  const QLocale locale = input.Locale();
  // The calculator starts from what a result box showed: always a finite number.
  double current = input.Double();
  if (!std::isfinite(current)) current = 0;

  while (!input.Empty()) {
    const auto key = static_cast<std::int16_t>(input.Byte());
    const QString operand = input.Text(input.Byte() % 32);
    const std::optional<CalcOperation> operation = OperationForKey(key);
    if (!operation || operand.isEmpty()) continue;  // not an operator key, or Cancel

    const QString detail = QString::number(current, 'g', 17) + QStringLiteral(" op ") +
                           QString::number(static_cast<int>(*operation)) +
                           QStringLiteral(" operand '") + operand + QStringLiteral("' in ") +
                           locale.name();
    std::optional<double> next;
    try {
      next = Calculate(*operation, current, operand, locale);
      // A refused operation leaves no next value; the reference says whether it should have been.
    } catch (const std::invalid_argument&) {  // NOLINT(bugprone-empty-catch)
    } catch (const std::out_of_range&) {      // NOLINT(bugprone-empty-catch)
    } catch (const std::overflow_error&) {    // NOLINT(bugprone-empty-catch)
    } catch (const std::domain_error&) {      // NOLINT(bugprone-empty-catch)
    }

    const Operand x = ReadOperand(operand, locale);
    if (*operation == CalcOperation::Semitone) {
      RequireSemitone(current, x, next, detail);
    } else {
      const std::optional<double> expected =
          x.value ? Reference(*operation, current, *x.value) : std::nullopt;
      Require(next.has_value() == expected.has_value() || (!next && x.belowSmallest),
              "a step fails exactly where the reference has no result", detail);
      Require(!next || *next == *expected, "a step gives the reference's result",
              detail + QStringLiteral(" gave ") + QString::number(next.value_or(0), 'g', 17));
    }
    if (!next) continue;  // reported as "Invalid calculation"; the current value stays
    Require(std::isfinite(*next), "the current value stays finite", detail);
    current = *next;
    oracle::RequireRoundTrip(current, locale);
  }
  return 0;
}
