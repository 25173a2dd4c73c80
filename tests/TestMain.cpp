// Window tests run headless: the offscreen platform unless a display was asked for explicitly.
#include <cstdio>

#include <QApplication>
#include <gtest/gtest.h>

#include "ui/Application.h"

namespace {

QtMessageHandler previousHandler = nullptr;

// The offscreen platform says, for every window shown, that it cannot raise or resize a native
// window; that says nothing about Tempulo and buries the test output.
void QuietPlatformNotices(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (text.startsWith(QLatin1String("This plugin does not support"))) return;
  if (previousHandler != nullptr) {
    previousHandler(type, context, text);
  } else {
    fprintf(stderr, "%s\n", qPrintable(text));
  }
}

}  // namespace

int main(int argc, char** argv) {
  previousHandler = qInstallMessageHandler(QuietPlatformNotices);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  Application::SetUp(app);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
