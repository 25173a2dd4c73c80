#include "calc/Calculator.h"

#include <cmath>
#include <limits>
#include <stdexcept>

#include "common/Conversions.h"

namespace {

// Every floating step must stay a finite number: an infinity or NaN is never handed back.
double Finite(double value) {
  if (std::isnan(value)) throw std::domain_error("result is not a number");
  if (std::isinf(value)) throw std::overflow_error("result is beyond the range of a double");
  return value;
}

// Both numbers are first rounded to whole 32-bit numbers (ties to even); the quotient is
// truncated toward zero.
double IntegerQuotient(double currentValue, const QString& operand, const QLocale& locale) {
  const std::int32_t dividend = ToWholeNumber(currentValue);
  const std::int32_t divisor = ToWholeNumber(operand, locale);
  if (divisor == 0) throw std::domain_error("division by zero");
  // The one quotient of two 32-bit numbers that does not fit in 32 bits.
  if (dividend == std::numeric_limits<std::int32_t>::min() && divisor == -1) {
    throw std::overflow_error("quotient does not fit in a 32-bit whole number");
  }
  const std::int32_t quotient = dividend / divisor;
  return static_cast<double>(quotient);
}

// Beyond 15 places a double holds no more decimal digits worth rounding: the value stays.
double DecimalRounding(double currentValue, const QString& operand, const QLocale& locale) {
  constexpr std::int32_t kPlacesLeftUnchanged = 16;
  const std::int32_t places = ToWholeNumber(operand, locale);
  if (places < 0) throw std::out_of_range("negative number of decimal places");
  if (places >= kPlacesLeftUnchanged) return currentValue;
  return RoundToDecimals(currentValue, places);
}

}  // namespace

std::optional<CalcOperation> OperationForKey(std::int16_t charCode) {
  switch (charCode) {
    case kCharAsterisk:
      return CalcOperation::Multiply;
    case kCharSlash:
      return CalcOperation::Divide;
    case kCharBackslash:
      return CalcOperation::IntegerDivide;
    case kCharPlus:
    case kCharMinus:  // a subtraction is an addition of a negative operand
      return CalcOperation::AddSubtract;
    case kCharNumberSign:
      return CalcOperation::Semitone;
    case kCharPeriod:
      return CalcOperation::DecimalRound;
    default:
      return std::nullopt;
  }
}

const OperationText& TextsOf(CalcOperation operation) {
  static const OperationText multiply{QStringLiteral("Enter the multiplication (*) value."),
                                      QStringLiteral("Multiplication"), QStringLiteral("2")};
  static const OperationText divide{QStringLiteral("Enter the division (/) value."),
                                    QStringLiteral("Division"), QStringLiteral("2")};
  static const OperationText integerDivide{QStringLiteral("Enter the division (\\) value."),
                                           QStringLiteral("Rounded division"), QStringLiteral("2")};
  static const OperationText addSubtract{
      QStringLiteral("Enter the addition/subtraction (+/-) value."),
      QStringLiteral("Addition/subtraction"), QStringLiteral("1")};
  static const OperationText semitone{QStringLiteral("Enter the semitone (#) value."),
                                      QStringLiteral("Semitone"), QStringLiteral("6")};
  static const OperationText decimalRound{QStringLiteral("Enter the decimal rounding (.) value."),
                                          QStringLiteral("Decimal rounding"), QStringLiteral("3")};
  switch (operation) {
    case CalcOperation::Multiply: return multiply;
    case CalcOperation::Divide: return divide;
    case CalcOperation::IntegerDivide: return integerDivide;
    case CalcOperation::AddSubtract: return addSubtract;
    case CalcOperation::Semitone: return semitone;
    case CalcOperation::DecimalRound: return decimalRound;
  }
  throw std::invalid_argument("unknown calculator operation");
}

double SemitoneShift(double value, double semitones) {
  const double octaves = Finite(semitones / 12);
  const double factor = Finite(std::exp2(octaves));
  return Finite(value / factor);
}

double Calculate(CalcOperation operation, double currentValue, const QString& operand,
                 const QLocale& locale) {
  switch (operation) {
    case CalcOperation::Multiply:
      return Finite(currentValue * TextToValue(operand, locale));
    case CalcOperation::Divide:
      return Finite(currentValue / TextToValue(operand, locale));
    case CalcOperation::IntegerDivide:
      return IntegerQuotient(currentValue, operand, locale);
    case CalcOperation::AddSubtract:
      return Finite(currentValue + TextToValue(operand, locale));
    case CalcOperation::Semitone:
      return SemitoneShift(currentValue, TextToValue(operand, locale));
    case CalcOperation::DecimalRound:
      return Finite(DecimalRounding(currentValue, operand, locale));
  }
  throw std::invalid_argument("unknown calculator operation");
}
