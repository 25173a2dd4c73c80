#pragma once

// The result calculator as the windows use it: the key entry from the result boxes, and the whole
// interaction of one operation (prompt, compute, show). The number it works on is in CalcState.

#include <cstdint>

#include "calc/CalcState.h"
#include "calc/Calculator.h"

namespace mdlMain {

// Runs the operation the typed character selects (* / \ + - # .) and returns true; any other
// character does nothing and returns false.
bool HandleCalcKey(std::int16_t charCode);

// Closes the result window if one is open, prompts for the operand, applies the operation to
// CurrentValue and shows the new value in a fresh result window, returning once the chain of
// result windows has closed. Cancel does nothing; every failure shows "Invalid calculation".
void RunCalculation(CalcOperation operation);

}  // namespace mdlMain
