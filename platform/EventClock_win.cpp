#include "platform/EventClock.h"

#include <deque>

#include <windows.h>

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QKeyEvent>

#include "platform/Clock.h"
#include "platform/KeyDownClock.h"

namespace {

struct KeyMessage {
  quint32 virtualKey;
  DWORD time;
};

// The key-down messages Qt has yet to turn into key events, oldest first.
std::deque<KeyMessage> keyMessages;

class KeyMessageTimes : public QAbstractNativeEventFilter {
 public:
  bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* /*result*/) override {
    if (eventType != "windows_generic_MSG") return false;
    const MSG& msg = *static_cast<const MSG*>(message);
    if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) {
      if (keyMessages.size() == 16) keyMessages.pop_front();
      keyMessages.push_back({static_cast<quint32>(msg.wParam), msg.time});
    }
    return false;
  }
};

// The step of the message time: the system timer's interrupt interval.
double MessageTimeStepMs() {
  DWORD adjustment = 0;
  DWORD increment = 0;  // 100 ns units
  BOOL disabled = FALSE;
  if (GetSystemTimeAdjustment(&adjustment, &increment, &disabled) == 0 || increment == 0) {
    return 15.625;
  }
  return static_cast<double>(increment) / 10000.0;
}

}  // namespace

void EventClock::Install(QCoreApplication& app) {
  static KeyMessageTimes filter;
  app.installNativeEventFilter(&filter);
}

std::optional<double> EventClock::MomentOf(const QKeyEvent& press) {
  std::optional<DWORD> stamp;
  while (!keyMessages.empty() && !stamp) {
    const KeyMessage message = keyMessages.front();
    keyMessages.pop_front();
    if (message.virtualKey == press.nativeVirtualKey()) stamp = message.time;
  }
  if (!stamp) return std::nullopt;
  static const double stepMs = MessageTimeStepMs();
  const DWORD ticks = GetTickCount();
  return KeyDownClock::MomentOf(*stamp, {static_cast<double>(ticks), Clock::SecondsSinceMidnight()},
                                stepMs);
}
