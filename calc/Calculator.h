#pragma once

// The result calculator's arithmetic, free of windows: the operation table and the new value of
// each operation from the current value and the operand text the user typed. A failed operation
// throws, by its cause (the caller shows one message for all of them):
//   std::invalid_argument  an operand that is no number, an unknown operation
//   std::out_of_range      an operand beyond a double, a whole number beyond 32 bits, places < 0
//   std::overflow_error    a result beyond a double (x / 0), a whole quotient beyond 32 bits
//   std::domain_error      a result that is not a number (0 / 0), a whole division by zero

#include <cstdint>
#include <optional>

#include <QLocale>
#include <QString>

// Codes as stored; 3 and 5 are unused.
enum class CalcOperation : std::int32_t {
  Multiply = 0,
  Divide = 1,
  IntegerDivide = 2,
  AddSubtract = 4,
  Semitone = 6,
  DecimalRound = 7,
};

struct OperationText {
  QString prompt;          // "Enter the multiplication (*) value."
  QString title;           // "Multiplication"; the result window's caption is title + " result"
  QString defaultOperand;  // what the prompt offers: "2"
};

// The characters that select an operation, as a window's key handler gets them typed.
constexpr std::int16_t kCharAsterisk = '*';
constexpr std::int16_t kCharSlash = '/';
constexpr std::int16_t kCharBackslash = '\\';
constexpr std::int16_t kCharPlus = '+';
constexpr std::int16_t kCharMinus = '-';
constexpr std::int16_t kCharNumberSign = '#';
constexpr std::int16_t kCharPeriod = '.';

// The operation a typed character selects: * / \ + - # . (both + and - select AddSubtract).
std::optional<CalcOperation> OperationForKey(std::int16_t charCode);

const OperationText& TextsOf(CalcOperation operation);

// value / 2^(semitones / 12): +12 halves, -12 doubles. Throws std::overflow_error or
// std::domain_error when a step is not a finite number.
double SemitoneShift(double value, double semitones);

// The new current value. The operand is read with TextToValue in the given locale.
double Calculate(CalcOperation operation, double currentValue, const QString& operand,
                 const QLocale& locale = QLocale());
