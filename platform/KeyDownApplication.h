#pragma once

// The application object: Qt's, and it notes the moment of every key press before anything else
// sees the press (Qt's AT-SPI bridge among them, which holds a key for the screen reader and
// then delivers a copy without the moment). See KeyDownClock.

#include <QApplication>
#include <QElapsedTimer>

#include "platform/KeyDownClock.h"

class KeyDownApplication : public QApplication {
  Q_OBJECT

 public:
  KeyDownApplication(int& argc, char** argv);

  bool notify(QObject* receiver, QEvent* event) override;

 private:
  KeyDownClock presses_;
  QElapsedTimer steady_;
};
