#pragma once

// The calculation in progress: the operation it runs next, with the value that was current when
// that operation's operator was typed. RunCalculation (mdlMain) keeps here the operation typed
// into a result box, then runs what it takes from here until nothing is left. An operator typed
// into the shown result window is kept here too, and the window closes, so that the calculation
// waiting on it runs that operation next: run where it was typed, each chained operation would
// nest one more modal loop, and a long chain would grow the stack without end. The result window
// reaches it here rather than through mdlMain, which shows that window.

#include <cstdint>
#include <optional>

#include "calc/Calculator.h"

class CalcInProgress {
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
  static std::optional<Operation> TakeNext();

 private:
  static inline std::optional<Operation> next_;
};
