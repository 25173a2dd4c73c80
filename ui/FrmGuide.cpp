#include "ui/FrmGuide.h"

#include <QLabel>

#include "platform/Resources.h"
#include "platform/Twips.h"
#include "ui/Gradient.h"

namespace {

constexpr int kLastLabel = 13;
constexpr int kFirstString = 41;

const Form::Design kDesign{
    .caption = QStringLiteral("Instructions"),
    .clientSize = twips::Size(5250, 3060),
    .border = Form::Border::FixedToolWindow,
    .position = Form::StartUpPosition::CenterOwner,
    .backColor = 0x808080,
    .fillColor = 0xC0C0C0,
};

}  // namespace

// The labels are wider than the window: text that reaches past its right edge is cut off there.
FrmGuide::FrmGuide()
    : Form(kDesign), lbl_(twips::Rect(120, 120, 6015, 195), Qt::AlignLeft, &Client()) {
  Form_Load();
}

void FrmGuide::Form_Load() {
  LoadLabels();
  for (int i = 0; i <= kLastLabel; ++i)
    LabelArray::SetCaption(Lbl(i), LoadResString(kFirstString + i));
  PaintWindowGradient(Client(), GRADIENT_FILL_RECT_V);
}

void FrmGuide::LoadLabels() {
  for (int i = 1; i <= kLastLabel; ++i) lbl_.Load().setVisible(true);
}

void FrmGuide::resizeEvent(QResizeEvent* event) {
  Form::resizeEvent(event);
  Form_Resize();
}

void FrmGuide::Form_Resize() { lbl_.StackDown(); }
