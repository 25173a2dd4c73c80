#pragma once

// Key preview: the window sees every key press before the control that has the focus, whichever
// control that is. The handler gets the key's code (vbKeyReturn, vbKeyEscape, vbKeySpace and the
// others in KeyCodes.h; letters and digits as their upper-case character; 0 for keys without a
// code here) and the modifier state; it returns true to consume the key.

#include <functional>

#include <QObject>
#include <QPointer>

class QKeyEvent;
class QWidget;

class KeyPreview : public QObject {
  Q_OBJECT

 public:
  using Handler = std::function<bool(int keyCode, Qt::KeyboardModifiers shift)>;

  // Watches the window and every control it holds now.
  KeyPreview(QWidget* window, Handler handler);

  static int KeyCode(const QKeyEvent& event);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  Handler handler_;
  // Qt offers a key the focus control ignores to its parents as the same event: act on it once.
  const QEvent* handled_ = nullptr;
};
