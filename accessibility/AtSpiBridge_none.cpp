#include "accessibility/AtSpiBridge.h"

// Systems without AT-SPI: their screen readers talk to Qt through the system's own interfaces.

void AtSpiBridge::Install() {}

bool AtSpiBridge::NameChanged(QObject& /*object*/) { return false; }

void AtSpiBridge::WindowOpened(QWidget& /*focus*/) {}
