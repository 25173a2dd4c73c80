#pragma once

// Tells an AT-SPI screen reader (Orca) the new name of an object, as the event is meant to be
// sent. Qt 6.4's AT-SPI bridge sends an object's name change with the object itself in place of
// the new name, and Orca can do nothing with it. The bridge of Qt 6.8 sends the name itself, so
// from 6.8 this sends nothing; on a Qt between that mended it earlier a screen reader may get the
// name twice, which Orca speaks once. Linux only: elsewhere, and with no accessibility bus, it
// does nothing.

class QObject;

class AtSpiNameChange {
 public:
  // Call after the object's accessible name has changed. Returns whether an event was sent.
  static bool Send(QObject& object);

  // Whether the running Qt's bridge needs this.
  static bool QtSendsObjectForName();
};
