#include "platform/KeyDownApplication.h"
#include "tapping/FrmTempulo.h"
#include "ui/Application.h"

int main(int argc, char* argv[]) {
  // cppcheck-suppress unreadVariable ; it exists for the whole run, and Qt finds it itself
  KeyDownApplication app(argc, argv);
  Application::SetUp();
  FrmTempulo window;
  window.show();
  return QApplication::exec();
}
