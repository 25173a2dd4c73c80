#include "forms/KeyPreview.h"

#include <QKeyEvent>
#include <QWidget>

KeyPreview::KeyPreview(QWidget* window, Handler handler)
    : QObject(window), handler_(std::move(handler)) {
  window->installEventFilter(this);
  for (QWidget* child : window->findChildren<QWidget*>()) {
    // An open menu is a window of its own and keeps its keys.
    if (child->window() == window) child->installEventFilter(this);
  }
}

int KeyPreview::KeyCode(const QKeyEvent& event) {
  const int key = event.key();
  switch (key) {
    case Qt::Key_Backspace:
      return 8;
    case Qt::Key_Tab:
      return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return 13;
    case Qt::Key_Shift:
      return 16;
    case Qt::Key_Control:
      return 17;
    case Qt::Key_Alt:
      return 18;
    case Qt::Key_Escape:
      return 27;
    default:
      break;
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
