#include "ui/InfoWindow.h"

#include "forms/Twips.h"

namespace {

Form::Design InfoDesign(const QString& caption, QSize clientSize) {
  return Form::Design{
      .caption = caption,
      .clientSize = clientSize,
      .border = Form::Border::FixedToolWindow,
      .position = Form::StartUpPosition::CenterOwner,
      .backColor = 0x808080,
      .fillColor = 0xC0C0C0,
  };
}

}  // namespace

InfoWindow::InfoWindow(const QString& caption, QSize clientSize, Qt::Alignment firstAlignment)
    : Form(InfoDesign(caption, clientSize)),
      lbl_(twips::Rect(120, 120, 6015, 195), firstAlignment, &Client()) {}

void InfoWindow::Form_Resize() { lbl_.StackDown(); }
