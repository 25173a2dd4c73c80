// Window tests run headless: the offscreen platform unless a display was asked for explicitly.
#include <gtest/gtest.h>

#include "platform/KeyDownApplication.h"
#include "tests/QuietPlatformNotices.h"
#include "ui/Application.h"

int main(int argc, char** argv) {
  quiet_platform_notices::Install();
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // cppcheck-suppress unreadVariable ; it exists for the whole run, and Qt finds it itself
  KeyDownApplication app(argc, argv);
  Application::SetUp();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
