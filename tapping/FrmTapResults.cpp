#include "tapping/FrmTapResults.h"

#include <QFrame>
#include <QLabel>

#include "calc/mdlMain.h"
#include "common/Conversions.h"
#include "forms/FormsControls.h"
#include "forms/Twips.h"
#include "ui/Gradient.h"

static const Form::Design kDesign{
    .caption = QStringLiteral("Calculated Results"), .clientSize = twips::Size(3765, 2685),
    .border = Form::Border::FixedSingle, .position = Form::StartUpPosition::CenterOwner,
    .backColor = 0x404040, .fillColor = 0x000000};

FrmTapResults::FrmTapResults() : Form(kDesign) {
  Canvas& client = Client();
  separator_[0] = FormsControls::Separator(twips::Rect(0, 360, 3615, 135), &client);

  const std::array boxTops = {840, 1440, 2040};
  for (int i = 0; i < 3; ++i) {
    auto* box = new TextBox(twips::Rect(600, boxTops[i], 2535, 315), &client);
    box->setText(QStringLiteral("0"));
    box->setFocusPolicy(Qt::ClickFocus);  // no tab stop
    connect(box, &TextBox::GotFocus, this, [this, i] { TxtResult_GotFocus(i); });
    connect(box, &TextBox::KeyPress, this,
            [i](std::int16_t keyAscii) { TxtResult_KeyPress(i, keyAscii); });
    txtResult_[i] = box;
  }

  const std::array lblret = {
      FormsControls::Label(QStringLiteral("One bar length"), twips::Rect(600, 600, 1065, 195),
                           true, &client),
      FormsControls::Label(QStringLiteral("One beat length"), twips::Rect(600, 1200, 1155, 195),
                           true, &client),
      FormsControls::Label(QStringLiteral("Beats per minute"), twips::Rect(600, 1800, 1200, 195),
                           true, &client),
  };
  FormsControls::Label(QStringLiteral("The results"), twips::Rect(1440, 120, 795, 195), true,
                       &client);  // the title

  // A screen reader announces each box by the label above it and says what the number means.
  const std::array descriptions = {
      "Length of one four-beat bar in seconds",
      "Length of one beat in seconds",
      "Tempo in beats per minute",
  };
  for (int i = 0; i < 3; ++i) {
    lblret.at(i)->setBuddy(txtResult_.at(i));
    txtResult_.at(i)->setAccessibleName(lblret.at(i)->text());
    txtResult_[i]->setAccessibleDescription(
        QString::fromLatin1(descriptions[i]) +
        QStringLiteral(". Type * / \\ + - # or . to calculate with it."));
  }
  separator_[0]->setAccessibleName(QStringLiteral("Separator"));

  // The boxes take no tab stops; the tempo, what a user most often wants, starts with the focus,
  // its number selected whatever is written into it, as a calculated result is: a screen reader
  // reads the selection with the focus as the window opens.
  txtResult_[2]->setFocus(Qt::OtherFocusReason);
  connect(txtResult_[2], &QLineEdit::textChanged, txtResult_[2], &QLineEdit::selectAll);
  txtResult_[2]->selectAll();
  Form_Load();
}

void FrmTapResults::Form_Load() { PaintWindowGradient(Client(), GRADIENT_FILL_RECT_H); }

void FrmTapResults::Form_Resize() { FormsControls::StretchSeparator(Separator(0), Client()); }

void FrmTapResults::TxtResult_GotFocus(int index) {
  mdlMain::CurrentValue = TextToValue(TxtResult(index).text());
}

void FrmTapResults::TxtResult_KeyPress(int /*index*/, std::int16_t keyAscii) {
  // The calculator works on CurrentValue, which this box set when it gained the focus.
  mdlMain::HandleCalcKey(keyAscii);
}
