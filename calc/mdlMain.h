#pragma once

// The result calculator as the windows use it: the one number it works on, the key entry from
// the result boxes, and the whole interaction of one operation (prompt, compute, show).

#include <cstdint>

#include "calc/Calculator.h"

namespace mdlMain {

// Set from a result box whenever the box gains the focus, replaced by each successful operation;
// 0 at start and never reset.
inline double CurrentValue = 0;

// Runs the operation the typed character selects (* / \ + - # .) and returns true; any other
// character does nothing and returns false.
bool HandleCalcKey(std::int16_t charCode);

// Closes the result window if one is open, prompts for the operand, applies the operation to
// CurrentValue and shows the new value in a fresh result window, returning once the chain of
// result windows has closed. Cancel does nothing; every failure shows "Invalid calculation".
void RunCalculation(CalcOperation operation);

}  // namespace mdlMain
