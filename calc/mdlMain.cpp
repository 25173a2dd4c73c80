#include "calc/mdlMain.h"

#include <optional>
#include <stdexcept>

#include "calc/CalcInProgress.h"
#include "calc/FrmResult.h"
#include "common/Conversions.h"
#include "forms/Dialogs.h"

namespace mdlMain {

namespace {

void ShowError() {
  Dialogs::Exclamation(QStringLiteral("Invalid calculation"), QStringLiteral("Calculation Error"));
}

// Prompt, compute and fill the result window. Returns false when nothing is to be shown.
bool PrepareResult(const CalcInProgress::Operation& next) {
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
  // Each operation works on the value that was current when its operator was typed. Closing the
  // result window hands the keyboard back to the tap results window, and where the window system
  // does that at once (Windows does), that window's box takes the focus and sets CurrentValue from
  // its own number before the prompt opens. A focus the program causes itself must not change the
  // number the user is calculating with.
  CalcInProgress::Keep({operation, CurrentValue});
  FrmResult::UnloadIfLoaded();
  while (const std::optional<CalcInProgress::Operation> next = CalcInProgress::TakeNext()) {
    if (!PrepareResult(*next)) return;
    FrmResult::Get().ShowModal();  // an operator typed into the window is kept to run next
  }
}

}  // namespace mdlMain
