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
// - A window opened by a key: Orca 48 hears keys from the window system rather than through the
//   program. When the program has shown the window before Orca handles the key that opened it,
//   Orca says the window's name and description, takes the control with the focus as its own
//   without a word, and speaks neither the focus nor a selection told after it: the number the
//   window opened for goes unheard. Announce() asks the screen reader to say it, with Qt 6.8's
//   announcement, which Orca 48 speaks whatever it holds as the focus. The program cannot see
//   which way the race went (Orca's key handling is not on the bus), so it announces every time:
//   when Orca has presented the focus first, the number is heard twice. Qt 6.4 has no
//   announcement, and Debian 12's Orca 43 takes keys through the program, so it presents the
//   focus every time. On Windows, where Qt sends an announcement as a UI Automation
//   notification, screen readers present the focus from UI Automation's own focus events and
//   nothing is announced.

class QObject;
class QString;

class AtSpiBridge {
 public:
  static void Install();

  // Call after the object's accessible name has changed. Returns whether an event was sent.
  static bool NameChanged(QObject& object);

  // Asks the screen reader to say what the object, which has just been given the focus in a
  // window that has just opened, holds. Returns whether it was asked.
  static bool Announce(QObject& object, const QString& what);
};
