#include "calc/CalcInProgress.h"

#include <utility>

#include "calc/CalcState.h"

bool CalcInProgress::Keep(std::int16_t charCode) {
  const std::optional<CalcOperation> operation = OperationForKey(charCode);
  if (!operation) return false;
  Keep(Operation{*operation, mdlMain::CurrentValue});
  return true;
}

void CalcInProgress::Keep(const Operation& operation) { next_ = operation; }

std::optional<CalcInProgress::Operation> CalcInProgress::TakeNext() {
  return std::exchange(next_, std::nullopt);
}
