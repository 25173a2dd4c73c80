#include "forms/KeyPreview.h"

#include <array>
#include <utility>

#include <QKeyEvent>
#include <QWidget>

#include "forms/KeyCodes.h"

KeyPreview::KeyPreview(QWidget* window, Handler handler)
    : QObject(window), handler_(std::move(handler)) {
  window->installEventFilter(this);
  for (QWidget* child : window->findChildren<QWidget*>()) {
    // An open menu is a window of its own and keeps its keys.
    if (child->window() == window) child->installEventFilter(this);
  }
}

int KeyPreview::KeyCode(const QKeyEvent& event) {
  // Qt's keys that have a code of their own, and the code.
  static constexpr std::array<std::pair<int, int>, 8> kNamed{{
      {Qt::Key_Backspace, vbKeyBack}, {Qt::Key_Tab, vbKeyTab}, {Qt::Key_Return, vbKeyReturn},
      {Qt::Key_Enter, vbKeyReturn}, {Qt::Key_Shift, vbKeyShift}, {Qt::Key_Control, vbKeyControl},
      {Qt::Key_Alt, vbKeyMenu}, {Qt::Key_Escape, vbKeyEscape}}};
  const int key = event.key();
  for (const auto& [qtKey, code] : kNamed) {
    if (key == qtKey) return code;
  }
  // Printable keys share their codes with the characters they carry (space 32, 'A' 65);
  // Qt's other special keys lie above that range and must not alias them.
  if (key >= Qt::Key_Space && key <= Qt::Key_AsciiTilde) return key;
  return 0;
}

bool KeyPreview::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::ShortcutOverride:  // comes first with every new key press
    case QEvent::KeyRelease:
      handled_ = nullptr;
      break;
    case QEvent::KeyPress: {
      if (event == handled_) break;
      handled_ = event;
      const auto* key = static_cast<QKeyEvent*>(event);
      if (handler_(KeyCode(*key), key->modifiers())) return true;
      break;
    }
    default:
      break;
  }
  return QObject::eventFilter(watched, event);
}
