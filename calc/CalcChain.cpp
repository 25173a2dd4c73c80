#include "calc/CalcChain.h"

#include <utility>

#include "calc/CalcState.h"

bool CalcChain::Keep(std::int16_t charCode) {
  const std::optional<CalcOperation> operation = OperationForKey(charCode);
  if (!operation) return false;
  Keep(Operation{*operation, mdlMain::CurrentValue});
  return true;
}

void CalcChain::Keep(const Operation& operation) { kept_ = operation; }

std::optional<CalcChain::Operation> CalcChain::Take() { return std::exchange(kept_, std::nullopt); }
