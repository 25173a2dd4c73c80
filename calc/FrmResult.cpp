#include "calc/FrmResult.h"

#include <stdexcept>

#include "calc/CalcInProgress.h"
#include "calc/CalcState.h"
#include "common/Conversions.h"
#include "forms/KeyCodes.h"
#include "forms/KeyPreview.h"
#include "forms/Twips.h"
#include "ui/Gradient.h"

// The caption is replaced before the window is first shown.
static const Form::Design kDesign{
    .caption = QStringLiteral("Calculated Result"), .clientSize = twips::Size(3735, 585),
    .border = Form::Border::FixedToolWindow, .position = Form::StartUpPosition::CenterScreen,
    .backColor = 0x404040, .fillColor = 0x000000};

FrmResult::FrmResult()
    : Form(kDesign), txtResult_(new TextBox(twips::Rect(120, 120, 3495, 315), &Client())) {
  txtResult_->setCursor(Qt::ArrowCursor);
  txtResult_->setFocusPolicy(Qt::StrongFocus);  // the only tab stop: it takes the focus
  txtResult_->setFocus(Qt::OtherFocusReason);
  txtResult_->setAccessibleName(QStringLiteral("Calculated result"));
  txtResult_->setAccessibleDescription(
      QStringLiteral("The new value. Type * / \\ + - # or . to go on calculating with it; "
                     "Escape or Enter closes the window."));
  connect(txtResult_, &TextBox::GotFocus, this, [this] { TxtResult_GotFocus(); });
  connect(txtResult_, &TextBox::KeyPress, this,
          [](std::int16_t keyAscii) { TxtResult_KeyPress(keyAscii); });
  new KeyPreview(this, [this](int keyCode, Qt::KeyboardModifiers shift) {
    return Form_KeyDown(keyCode, shift);
  });
  Form_Load();
}

void FrmResult::Form_Load() { PaintWindowGradient(Client(), GRADIENT_FILL_RECT_H); }

bool FrmResult::Form_KeyDown(int keyCode, Qt::KeyboardModifiers /*shift*/) {
  if (keyCode != vbKeyEscape && keyCode != vbKeyReturn) return false;
  Unload();
  return true;  // a closed window has nothing more to do with the key
}

void FrmResult::TxtResult_GotFocus() {
  // The box shows at most 15 significant digits, and the calculator goes on from what is shown.
  // Every value shown reads back; should the text ever fail to, the exact value it was shown
  // from stays, rather than an exception leaving the event handler.
  try {
    mdlMain::CurrentValue = TextToValue(TxtResult().text());
  } catch (const std::exception&) {  // NOLINT(bugprone-empty-catch): the shown value stays
  }
}

void FrmResult::TxtResult_KeyPress(std::int16_t keyAscii) {
  // An operator goes on from the shown value: the window closes, and the calculation waiting on
  // it runs the operation next.
  if (CalcInProgress::Keep(keyAscii)) UnloadIfLoaded();
}
