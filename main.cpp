#include "platform/KeyDownApplication.h"
#include "tapping/FrmTempulo.h"
#include "ui/Application.h"

int main(int argc, char* argv[]) {
  KeyDownApplication app(argc, argv);
  Application::SetUp(app);
  FrmTempulo window;
  window.show();
  return QApplication::exec();
}
