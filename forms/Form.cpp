#include "forms/Form.h"

#include <QApplication>
#include <QHideEvent>
#include <QScreen>
#include <QShowEvent>

#include "platform/WindowActivation.h"

Form::Form(const Design& design)
    : QDialog(nullptr),
      canvas_(new Canvas(design.clientSize, design.backColor, design.fillColor, this)),
      position_(design.position) {
  Qt::WindowFlags flags = Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::CustomizeWindowHint | Qt::MSWindowsFixedSizeDialogHint;
  // A tool window has the small caption bar and stays out of the taskbar.
  flags |= design.border == Border::FixedToolWindow ? Qt::Tool : Qt::Dialog;
  setWindowFlags(flags);
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(design.caption);
  setFixedSize(design.clientSize);
  setSizeGripEnabled(false);
}

void Form::ShowModal() {
  PlaceOnScreen();
  // exec() deletes a delete-on-close dialog itself once its loop has ended.
  exec();
}

void Form::Unload() {
  if (!unloaded_) {
    unloaded_ = true;
    emit Unloaded();
  }
  close();
}

void Form::hideEvent(QHideEvent* event) {
  QDialog::hideEvent(event);
  // A hide from the window system (minimising) is not a close.
  if (!event->spontaneous() && !unloaded_) {
    unloaded_ = true;
    emit Unloaded();
  }
}

void Form::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  Form_Resize();
}

void Form::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // A modal window takes the keyboard as it opens.
  if (!event->spontaneous()) WindowActivation::TakeKeyboardWhenShown(*this);
}

void Form::PlaceOnScreen() {
  QWidget* owner = position_ == StartUpPosition::CenterOwner ? QApplication::activeWindow() : nullptr;
  if (owner == this) owner = nullptr;
  QRect area;
  if (owner != nullptr) {
    area = owner->frameGeometry();
  } else {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    area = screen->availableGeometry();
  }
  QRect frame = frameGeometry();
  frame.moveCenter(area.center());
  move(frame.topLeft());
}
