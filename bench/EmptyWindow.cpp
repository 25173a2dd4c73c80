// One empty Qt Widgets window with nothing drawn in it, not even text, about the size of
// Tempulo's main window. scripts/bench reports Tempulo against it as well, for what the text
// stack and everything else a real window shows cost together.

#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QWidget window;
  window.resize(251, 119);
  window.show();
  return QApplication::exec();
}
