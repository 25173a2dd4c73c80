#pragma once

// The calculator's state, in one place below the windows that read and set it: the number it
// works on, and an operation typed into the shown result window, which the calculation waiting
// on that window runs next (RunCalculation in mdlMain).

#include <cstdint>
#include <optional>

#include "calc/Calculator.h"

namespace mdlMain {

// Set from a result box whenever the box gains the focus, replaced by each successful operation;
// 0 at start and never reset.
inline double CurrentValue = 0;

// An operation and the value that was current when its operator was typed.
struct Operation {
  CalcOperation operation;
  double value;
};

// The operation to run once the shown result window has closed; none until one is typed.
inline std::optional<Operation> Chained;

// Keeps the operation the typed character selects (* / \ + - # .), on CurrentValue, as the one
// to run next, and returns true; any other character changes nothing and returns false.
bool ChainCalcKey(std::int16_t charCode);

}  // namespace mdlMain
