#pragma once

// An operation typed into the shown result window, kept for the calculation that showed that
// window (RunCalculation in mdlMain) to run once the window has closed. Running it right where it
// was typed would nest one more modal loop per chained operation.

#include <cstdint>
#include <optional>

#include "calc/Calculator.h"

class CalcChain {
 public:
  // An operation and the value that was current when its operator was typed.
  struct Operation {
    CalcOperation operation;
    double value;
  };

  // Keeps the operation the typed character selects (* / \ + - # .), on CurrentValue, as the one
  // to run next, and returns true; any other character changes nothing and returns false.
  static bool Keep(std::int16_t charCode);

  // Keeps the operation as the one to run next.
  static void Keep(const Operation& operation);

  // The operation to run next, if one was kept; none is kept afterwards.
  static std::optional<Operation> Take();

 private:
  static inline std::optional<Operation> kept_;
};
