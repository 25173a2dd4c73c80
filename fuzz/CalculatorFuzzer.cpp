// Chains of calculator operations, as a user types them into result boxes: any typed key, any
// operand text, from any current value a box can show. Each step either gives a finite new
// current value that the result box shows and reads back, or fails with one of the failures the
// calculator reports ("Invalid calculation") and leaves the current value as it was. The plain
// arithmetic steps fail exactly when IEEE arithmetic on the operand gives no finite number.

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <stdexcept>

#include "calc/Calculator.h"
#include "common/Conversions.h"
#include "fuzz/FuzzInput.h"
#include "fuzz/Oracles.h"

namespace {

std::optional<double> Finite(double value) {
  if (!std::isfinite(value)) return std::nullopt;
  return value;
}

// The new value plain IEEE and 64-bit arithmetic give, or nothing where the step must fail.
// Semitone shifts are left to the finite-or-failure rule.
std::optional<double> Expected(CalcOperation operation, double current, const QString& operand,
                               const QLocale& locale) {
  try {
    switch (operation) {
      case CalcOperation::Multiply:
        return Finite(current * TextToValue(operand, locale));
      case CalcOperation::Divide:
        return Finite(current / TextToValue(operand, locale));
      case CalcOperation::AddSubtract:
        return Finite(current + TextToValue(operand, locale));
      case CalcOperation::IntegerDivide: {
        const std::int64_t dividend = ToWholeNumber(current);
        const std::int64_t divisor = ToWholeNumber(operand, locale);
        if (divisor == 0) return std::nullopt;
        const std::int64_t quotient = dividend / divisor;
        if (quotient > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
        return static_cast<double>(quotient);
      }
      case CalcOperation::DecimalRound: {
        const std::int32_t places = ToWholeNumber(operand, locale);
        if (places < 0) return std::nullopt;
        return places >= 16 ? current : oracle::RoundToPlaces(current, places);
      }
      case CalcOperation::Semitone:
        break;
    }
  } catch (const std::invalid_argument&) {
    return std::nullopt;
  } catch (const std::out_of_range&) {
    return std::nullopt;
  }
  return std::nullopt;
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
    const std::optional<double> expected = Expected(*operation, current, operand, locale);
    std::optional<double> next;
    try {
      next = Calculate(*operation, current, operand, locale);
      // A refused operation leaves no next value; the oracle says whether it should have been.
    } catch (const std::invalid_argument&) {  // NOLINT(bugprone-empty-catch)
    } catch (const std::out_of_range&) {      // NOLINT(bugprone-empty-catch)
    } catch (const std::overflow_error&) {    // NOLINT(bugprone-empty-catch)
    } catch (const std::domain_error&) {      // NOLINT(bugprone-empty-catch)
    }
    if (*operation != CalcOperation::Semitone) {
      Require(next.has_value() == expected.has_value(),
              "a step fails exactly when it has no finite result", detail);
      Require(!next || *next == *expected, "a step gives the arithmetic's result", detail);
    }
    if (!next) continue;  // reported as "Invalid calculation"; the current value stays
    Require(std::isfinite(*next), "the current value stays finite", detail);
    current = *next;
    oracle::RequireRoundTrip(current, locale);
  }
  return 0;
}
