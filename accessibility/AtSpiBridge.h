#pragma once

// Where Qt's AT-SPI bridge (the way screen readers on Linux reach a Qt program) falls short, and
// what Tempulo does about it. Elsewhere, and on a Linux without an accessibility bus, these do
// nothing.
//
// - Names: Qt 6.4's bridge sends an object's name change with the object itself in place of the
//   new name, and Orca can do nothing with it. NameChanged sends the event as AT-SPI defines it.
//   Qt 6.8's bridge sends the name itself, so from 6.8 it sends nothing; on a Qt between that
//   mended it earlier a screen reader may get the name twice, which Orca speaks once. The fault
//   is in what Qt sends on the bus, which the program does not see, so here the version tells.
// - Calls: Qt's bridge acts on some offsets a client gives before asking the text interface, and
//   answers a few calls wrongly. Install() puts AtSpiCallGuard in front of it.
// - A window opened by a key: a screen reader that hears keys from the window system (Orca 48)
//   may find the window itself before the program's events reach it, and then takes the focus
//   without a word. WindowOpened() has the window told again when no client presented its focus
//   (see AtSpiWindowOpening). On Windows, screen readers present the focus from UI Automation's
//   own focus events, and nothing is told again.

class QObject;
class QWidget;

class AtSpiBridge {
 public:
  static void Install();

  // Call after the object's accessible name has changed. Returns whether an event was sent.
  static bool NameChanged(QObject& object);

  // Call when the control, which holds text, has been given the focus in a window that has just
  // opened.
  static void WindowOpened(QWidget& focus);
};
