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

class QObject;

class AtSpiBridge {
 public:
  static void Install();

  // Call after the object's accessible name has changed. Returns whether an event was sent.
  static bool NameChanged(QObject& object);
};
