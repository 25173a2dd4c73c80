#include "platform/KeyPreview.h"

#include <QKeyEvent>
#include <QWidget>

KeyPreview::KeyPreview(QWidget* window, Handler handler)
    : QObject(window), handler_(std::move(handler)) {
  window->installEventFilter(this);
  for (QWidget* child : window->findChildren<QWidget*>()) child->installEventFilter(this);
}

int KeyPreview::KeyCode(const QKeyEvent& event) {
  switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return 13;
    case Qt::Key_Escape:
      return 27;
    case Qt::Key_Space:
      return 32;
    default:
      return event.key() & 0xFFFF;
  }
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
