#include "calc/mdlMain.h"

#include <optional>
#include <stdexcept>

#include "calc/CalcChain.h"
#include "calc/FrmResult.h"
#include "common/Conversions.h"
#include "forms/Dialogs.h"

namespace mdlMain {

namespace {

// An operator typed into the shown result window arrives while RunCalculation waits for that
// window. Running it right there would nest one more modal loop per chained operation, so a long
// chain would grow the stack without end. Instead the window is closed and the operation handed
// back to the waiting loop, which runs it next: the same steps, in the same order, on a flat stack.
//
// Each operation works on the value that was current when its operator was typed. Closing the
// result window hands the keyboard back to the tap results window, and where the window system
// does that at once (Windows does), that window's box takes the focus and sets CurrentValue from
// its own number before the prompt opens. A focus the program causes itself must not change the
// number the user is calculating with. The result window keeps the typed operation in CalcChain.
bool waitingOnResult = false;

void ShowError() {
  Dialogs::Exclamation(QStringLiteral("Invalid calculation"), QStringLiteral("Calculation Error"));
}

// Prompt, compute and fill the result window. Returns false when nothing is to be shown.
bool PrepareResult(const CalcChain::Operation& next) {
  try {
    const OperationText& texts = TextsOf(next.operation);
    const QString answer = Dialogs::InputBox(texts.prompt, texts.title, texts.defaultOperand);
    if (answer.isEmpty()) return false;  // Cancel, or OK on an empty entry

    CurrentValue = Calculate(next.operation, next.value, answer);

    FrmResult& window = FrmResult::Get();
    window.setWindowTitle(texts.title + QStringLiteral(" result"));
    TextBox& box = window.TxtResult();
    box.SetValue(CurrentValue);
    box.SetSelection(0, static_cast<int>(ValueToText(CurrentValue).size()));
    return true;
  } catch (const std::exception&) {
    FrmResult::UnloadIfLoaded();
    ShowError();
    return false;
  }
}

}  // namespace

bool HandleCalcKey(std::int16_t charCode) {
  const std::optional<CalcOperation> operation = OperationForKey(charCode);
  if (!operation) return false;
  RunCalculation(*operation);
  return true;
}

void RunCalculation(CalcOperation operation) {
  const CalcChain::Operation typed{operation, CurrentValue};
  FrmResult::UnloadIfLoaded();
  if (waitingOnResult) {
    CalcChain::Keep(typed);
    return;
  }
  CalcChain::Take();  // only an operation typed while this calculation waits is its to run

  for (std::optional<CalcChain::Operation> next = typed; next && PrepareResult(*next);) {
    waitingOnResult = true;
    FrmResult::Get().ShowModal();
    waitingOnResult = false;
    next = CalcChain::Take();
  }
}

}  // namespace mdlMain
