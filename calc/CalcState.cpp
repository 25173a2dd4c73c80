#include "calc/CalcState.h"

namespace mdlMain {

bool ChainCalcKey(std::int16_t charCode) {
  const std::optional<CalcOperation> operation = OperationForKey(charCode);
  if (!operation) return false;
  Chained = Operation{*operation, CurrentValue};
  return true;
}

}  // namespace mdlMain
