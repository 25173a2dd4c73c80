// The least a Qt Widgets program shows: one window with one line of text, about the size of
// Tempulo's main window (Qt's own first example is a button saying "Hello world!"). scripts/bench
// starts it beside Tempulo, so Tempulo's start-up time and memory read as a ratio to what Qt
// itself costs on the same machine, text stack (fontconfig, FreeType, HarfBuzz) included.

#include <QApplication>
#include <QLabel>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QLabel window(QStringLiteral("Hello world!"));
  window.resize(251, 119);
  window.show();
  return QApplication::exec();
}
