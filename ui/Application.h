#pragma once

// Application-wide settings made once at start-up, before the first window: identity and the
// default font the window layouts were designed for.

class QApplication;

class Application {
 public:
  static void SetUp(QApplication& app);
};
