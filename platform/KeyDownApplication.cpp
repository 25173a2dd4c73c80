#include "platform/KeyDownApplication.h"

#include <QKeyEvent>

#include "platform/EventClock.h"

namespace {

KeyIdentity IdentityOf(const QKeyEvent& press) {
  return {press.key(), press.nativeScanCode(), press.nativeVirtualKey(),
          static_cast<int>(press.modifiers().toInt()), press.isAutoRepeat()};
}

}  // namespace

KeyDownApplication::KeyDownApplication(int& argc, char** argv) : QApplication(argc, argv) {
  steady_.start();
  EventClock::Install(*this);
}

bool KeyDownApplication::notify(QObject* receiver, QEvent* event) {
  if (event == nullptr || receiver == nullptr || event->type() != QEvent::KeyPress) {
    return QApplication::notify(receiver, event);
  }
  const auto& press = static_cast<const QKeyEvent&>(*event);
  const double steadyNow = static_cast<double>(steady_.nsecsElapsed()) / 1e9;
  // A press from the window system comes to its window first; the window hands it, or a screen
  // reader's bridge later hands a copy of it, to the control with the focus.
  if (event->spontaneous() && receiver->isWindowType()) {
    presses_.Arrived(IdentityOf(press), EventClock::MomentOf(press), steadyNow);
  } else if (receiver->isWidgetType()) {
    const KeyDownClock::Delivering delivering(presses_.Delivered(IdentityOf(press), steadyNow));
    return QApplication::notify(receiver, event);
  }
  return QApplication::notify(receiver, event);
}
