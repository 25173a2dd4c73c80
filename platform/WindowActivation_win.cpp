#include "platform/WindowActivation.h"

#include <QMetaObject>
#include <QWidget>

void WindowActivation::TakeKeyboardWhenShown(QWidget& window) {
  // The show event comes before the system shows the window: activate it after that.
  QMetaObject::invokeMethod(&window, &QWidget::activateWindow, Qt::QueuedConnection);
}
