#include "calc/Calculator.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <ostream>
#include <stdexcept>
#include <string>
#include <typeindex>
#include <typeinfo>

#include <gtest/gtest.h>

namespace {

constexpr double kLowest32 = std::numeric_limits<std::int32_t>::min();
constexpr double kHighest32 = std::numeric_limits<std::int32_t>::max();

QLocale LocaleNamed(const std::string& name) {
  return name == "de" ? QLocale(QLocale::German, QLocale::Germany) : QLocale::c();
}

template <typename Row>
std::string RowName(const testing::TestParamInfo<Row>& info) {
  return info.param.name;
}

// A failing row is reported by its name rather than by its bytes.
template <typename Row>
requires requires(const Row& row) { row.name; }
void PrintTo(const Row& row, std::ostream* out) { *out << row.name; }

// ---- The operation table: key, prompt, title, default operand, result caption ----

struct OperationRow {
  std::string name;  // cppcheck-suppress unusedStructMember ; the test name, via TestParamInfo
  std::int16_t code;
  CalcOperation operation;
  const char* prompt;
  const char* title;
  const char* defaultOperand;
  const char* caption;
};

class CalculatorOperationTable : public testing::TestWithParam<OperationRow> {};

TEST_P(CalculatorOperationTable, KeySelectsItsOperation) {
  EXPECT_EQ(OperationForKey(GetParam().code), GetParam().operation);
}

TEST_P(CalculatorOperationTable, PromptAsksForTheOperandInExactWords) {
  const OperationRow& row = GetParam();
  EXPECT_EQ(TextsOf(row.operation).prompt, QString::fromUtf8(row.prompt));
}

TEST_P(CalculatorOperationTable, TitleNamesTheOperation) {
  const OperationRow& row = GetParam();
  EXPECT_EQ(TextsOf(row.operation).title, QString::fromUtf8(row.title));
}

TEST_P(CalculatorOperationTable, PromptOffersItsDefaultOperand) {
  const OperationRow& row = GetParam();
  EXPECT_EQ(TextsOf(row.operation).defaultOperand, QString::fromUtf8(row.defaultOperand));
}

TEST_P(CalculatorOperationTable, ResultCaptionIsTheTitleFollowedByResult) {
  const OperationRow& row = GetParam();
  EXPECT_EQ(TextsOf(row.operation).title + QStringLiteral(" result"),
            QString::fromUtf8(row.caption));
}

INSTANTIATE_TEST_SUITE_P(
    EveryOperationKey, CalculatorOperationTable,
    testing::Values(
        OperationRow{"Asterisk", 42, CalcOperation::Multiply, "Enter the multiplication (*) value.",
                     "Multiplication", "2", "Multiplication result"},
        OperationRow{"Slash", 47, CalcOperation::Divide, "Enter the division (/) value.",
                     "Division", "2", "Division result"},
        OperationRow{"Backslash", 92, CalcOperation::IntegerDivide,
                     "Enter the division (\\) value.", "Rounded division", "2",
                     "Rounded division result"},
        OperationRow{"Plus", 43, CalcOperation::AddSubtract,
                     "Enter the addition/subtraction (+/-) value.", "Addition/subtraction", "1",
                     "Addition/subtraction result"},
        OperationRow{"Minus", 45, CalcOperation::AddSubtract,
                     "Enter the addition/subtraction (+/-) value.", "Addition/subtraction", "1",
                     "Addition/subtraction result"},
        OperationRow{"Hash", 35, CalcOperation::Semitone, "Enter the semitone (#) value.",
                     "Semitone", "6", "Semitone result"},
        OperationRow{"Period", 46, CalcOperation::DecimalRound,
                     "Enter the decimal rounding (.) value.", "Decimal rounding", "3",
                     "Decimal rounding result"}),
    RowName<OperationRow>);

TEST(CalculatorOperationTableText, RoundedDivisionPromptHoldsExactlyOneBackslash) {
  EXPECT_EQ(TextsOf(CalcOperation::IntegerDivide).prompt.count(QLatin1Char('\\')), 1);
}

// ---- Keys that select no operation ----

class CalculatorOtherKey : public testing::TestWithParam<std::int16_t> {};

TEST_P(CalculatorOtherKey, SelectsNoOperation) {
  EXPECT_EQ(OperationForKey(GetParam()), std::nullopt);
}

// 298 and -214 share their low byte with '*': a code narrowed to a char would wrongly match.
INSTANTIATE_TEST_SUITE_P(DigitsLettersControlsAndOutOfRangeCodes, CalculatorOtherKey,
                         testing::Values<std::int16_t>(0, 13, 27, 32, 44, 48, 57, 65, 120, 37, 61,
                                                       94, 41, 127, -1, 298, -214));

// ---- New values of successful operations ----

struct ResultRow {
  std::string name;  // cppcheck-suppress unusedStructMember ; the test name, via TestParamInfo
  CalcOperation operation;
  double current;
  const char* operand;
  double expected;
  std::string locale = "C";
};

class CalculatorResult : public testing::TestWithParam<ResultRow> {};

TEST_P(CalculatorResult, GivesTheExpectedNewValue) {
  const ResultRow& row = GetParam();
  EXPECT_DOUBLE_EQ(Calculate(row.operation, row.current, QString::fromUtf8(row.operand),
                             LocaleNamed(row.locale)),
                   row.expected);
}

using Op = CalcOperation;
INSTANTIATE_TEST_SUITE_P(
    GoodOperands, CalculatorResult,
    testing::Values(
        ResultRow{"MultiplyByFractionalOperand", Op::Multiply, 4, "2.5", 10},
        ResultRow{"MultiplyReadsGermanDecimalComma", Op::Multiply, 4, "2,5", 10, "de"},
        ResultRow{"MultiplyByNegativeOperand", Op::Multiply, 3, "-2", -6},
        ResultRow{"DivideKeepsTheFraction", Op::Divide, 10, "4", 2.5},
        ResultRow{"DivideMayUnderflowToSubnormal", Op::Divide, 1e-308, "1e10", 1e-318},
        ResultRow{"AddPositiveOperand", Op::AddSubtract, 1, " 2 ", 3},
        ResultRow{"SubtractByAddingNegativeOperand", Op::AddSubtract, 100, "-2.5", 97.5},
        ResultRow{"RoundedDivisionTruncatesPositive", Op::IntegerDivide, 7, "2", 3},
        ResultRow{"RoundedDivisionTruncatesTowardZeroNotFloor", Op::IntegerDivide, -7, "2", -3},
        ResultRow{"RoundedDivisionByNegativeTruncatesTowardZero", Op::IntegerDivide, 7, "-2", -3},
        ResultRow{"RoundedDivisionRoundsCurrentHalfUpToEven", Op::IntegerDivide, 7.5, "2", 4},
        ResultRow{"RoundedDivisionRoundsCurrentHalfDownToEven", Op::IntegerDivide, 6.5, "2", 3},
        ResultRow{"RoundedDivisionRoundsOperandHalfToEven", Op::IntegerDivide, 7, "2.5", 3},
        ResultRow{"RoundedDivisionReadsGermanOperand", Op::IntegerDivide, 9, "3,4", 3, "de"},
        ResultRow{"RoundedDivisionOfLowestWholeNumberByTwo", Op::IntegerDivide, kLowest32, "2",
                  kLowest32 / 2},
        ResultRow{"RoundedDivisionOfHighestWholeNumberByMinusOne", Op::IntegerDivide, kHighest32,
                  "-1", -kHighest32},
        ResultRow{"TwelveSemitonesHalve", Op::Semitone, 120, "12", 60},
        ResultRow{"MinusTwelveSemitonesDouble", Op::Semitone, 120, "-12", 240},
        ResultRow{"ZeroSemitonesLeaveTheValue", Op::Semitone, 120, "0", 120},
        ResultRow{"SixSemitonesDivideBySquareRootOfTwo", Op::Semitone, 120, "6",
                  120 / std::sqrt(2.0)},
        ResultRow{"TwentyFourSemitonesQuarter", Op::Semitone, 120, "24", 30},
        ResultRow{"FractionalSemitones", Op::Semitone, 100, "1.5", 100 / std::exp2(0.125)},
        ResultRow{"DecimalRoundingTieDownToEven", Op::DecimalRound, 0.125, "2", 0.12},
        ResultRow{"DecimalRoundingTieUpToEven", Op::DecimalRound, 0.375, "2", 0.38},
        ResultRow{"ZeroPlacesTieDownToEven", Op::DecimalRound, 2.5, "0", 2},
        ResultRow{"ZeroPlacesTieUpToEven", Op::DecimalRound, 3.5, "0", 4},
        ResultRow{"FractionalPlacesTwoPointFiveMeansTwo", Op::DecimalRound, 3.14159, "2.5", 3.14},
        ResultRow{"FractionalPlacesThreePointFiveMeansFour", Op::DecimalRound, 3.14159, "3.5",
                  3.1416},
        ResultRow{"NegativeValueRoundsItsExactBinaryValue", Op::DecimalRound, -2.675, "2", -2.67},
        ResultRow{"FifteenPlacesStillRound", Op::DecimalRound, 3.3e-17, "15", 0},
        ResultRow{"SixteenPlacesLeaveTheValue", Op::DecimalRound, 3.3e-17, "16", 3.3e-17},
        ResultRow{"ManyPlacesLeaveTheValue", Op::DecimalRound, 0.12345678901234566, "400",
                  0.12345678901234566}),
    RowName<ResultRow>);

TEST(CalculatorSemitone, TwelveSemitonesHalveExactly) { EXPECT_EQ(SemitoneShift(120, 12), 60); }

// ---- Operations that fail ----

// The exceptions Calculator.h names, each for its own kind of failure.
const std::type_index kUnreadable = typeid(std::invalid_argument);
const std::type_index kOutOfRange = typeid(std::out_of_range);
const std::type_index kOverflow = typeid(std::overflow_error);
const std::type_index kUndefined = typeid(std::domain_error);

struct FailureRow {
  std::string name;  // cppcheck-suppress unusedStructMember ; the test name, via TestParamInfo
  CalcOperation operation;
  double current;
  const char* operand;
  std::type_index thrown;
  std::string locale = "C";
};

class CalculatorFailure : public testing::TestWithParam<FailureRow> {};

TEST_P(CalculatorFailure, ThrowsTheKindOfFailureItIs) {
  const FailureRow& row = GetParam();
  try {
    Calculate(row.operation, row.current, QString::fromUtf8(row.operand),
              LocaleNamed(row.locale));
    ADD_FAILURE() << "nothing was thrown";
  } catch (const std::exception& error) {
    EXPECT_TRUE(std::type_index(typeid(error)) == row.thrown)
        << "threw " << typeid(error).name() << " (" << error.what() << "), not "
        << row.thrown.name();
  }
}

INSTANTIATE_TEST_SUITE_P(
    BadOperandsAndResults, CalculatorFailure,
    testing::Values(
        FailureRow{"LettersAreNoNumber", Op::Multiply, 1, "abc", kUnreadable},
        FailureRow{"BlanksOnlyAreNoNumber", Op::Multiply, 1, "   ", kUnreadable},
        FailureRow{"EmptyTextIsNoNumber", Op::AddSubtract, 1, "", kUnreadable},
        FailureRow{"InfinityTextIsNoNumber", Op::AddSubtract, 1, "inf", kUnreadable},
        FailureRow{"NanTextIsNoNumber", Op::Divide, 1, "nan", kUnreadable},
        FailureRow{"OperandBeyondDouble", Op::Multiply, 1, "1e400", kOutOfRange},
        FailureRow{"ProductOverflows", Op::Multiply, 1e308, "10", kOverflow},
        FailureRow{"DivisionByZero", Op::Divide, 1, "0", kOverflow},
        FailureRow{"ZeroDividedByZero", Op::Divide, 0, "0", kUndefined},
        FailureRow{"SumOverflows", Op::AddSubtract, 1.7e308, "1.7e308", kOverflow},
        FailureRow{"RoundedDivisionByZero", Op::IntegerDivide, 7, "0", kUndefined},
        FailureRow{"HugeUpwardSemitoneShiftOverflows", Op::Semitone, 120, "-1e5", kOverflow},
        FailureRow{"HugeDownwardSemitoneFactorIsInfinite", Op::Semitone, 120, "1e5", kOverflow},
        FailureRow{"ZeroShiftedByHugeUpwardShiftIsNoNumber", Op::Semitone, 0, "-1e5", kUndefined},
        FailureRow{"SemitoneShiftOfHugeValueOverflows", Op::Semitone, 1e308, "-12", kOverflow},
        FailureRow{"NegativeDecimalPlaces", Op::DecimalRound, 1, "-1", kOutOfRange},
        FailureRow{"DecimalPlacesBeyondThirtyTwoBits", Op::DecimalRound, 1, "3e10", kOutOfRange},
        FailureRow{"DecimalPlacesNotANumber", Op::DecimalRound, 1, "x", kUnreadable},
        FailureRow{"UnusedOperationCode", static_cast<CalcOperation>(3), 1, "2", kUnreadable},
        FailureRow{"GermanRejectsPointAsGrouping", Op::Multiply, 1, "2.5", kUnreadable, "de"},
        FailureRow{"RoundedDivisionByOperandRoundingToZero", Op::IntegerDivide,
                   7, "0.4", kUndefined},
        FailureRow{"RoundedQuotientBeyondThirtyTwoBits", Op::IntegerDivide,
                   kLowest32, "-1", kOverflow},
        FailureRow{"RoundedDivisionOfCurrentBeyondThirtyTwoBits", Op::IntegerDivide,
                   3e10, "2", kOutOfRange},
        FailureRow{"RoundedDivisionByOperandBeyondThirtyTwoBits", Op::IntegerDivide,
                   7, "3e10", kOutOfRange}),
    RowName<FailureRow>);

}  // namespace
