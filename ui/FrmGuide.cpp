#include "ui/FrmGuide.h"

#include <QLabel>

#include "forms/Resources.h"
#include "forms/Twips.h"
#include "ui/Gradient.h"

namespace {

constexpr int kLastLabel = 13;
constexpr int kFirstString = 41;

}  // namespace

// The labels are wider than the window: text that reaches past its right edge is cut off there.
FrmGuide::FrmGuide()
    : InfoWindow(QStringLiteral("Instructions"), twips::Size(5250, 3060), Qt::AlignLeft) {
  Form_Load();
}

void FrmGuide::Form_Load() {
  LoadLabels();
  for (int i = 0; i <= kLastLabel; ++i) {
    LabelArray::SetCaption(Lbl(i), LoadResString(kFirstString + i));
  }
  PaintWindowGradient(Client(), GRADIENT_FILL_RECT_V);
}

void FrmGuide::LoadLabels() {
  for (int i = 1; i <= kLastLabel; ++i) lbl_.Load().setVisible(true);
}

