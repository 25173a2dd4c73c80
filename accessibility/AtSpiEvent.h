#pragma once

// An AT-SPI event sent by the program itself, on the connection Qt's bridge keeps to the
// accessibility bus, so that a screen reader takes it as the program's: for what the bridge
// sends wrongly or not at all (see AtSpiBridge and AtSpiWindowOpening).

class QObject;
class QString;
class QVariant;

class AtSpiEvent {
 public:
  // Sends the event kind (an interface below org.a11y.atspi.Event, such as "Object", and a
  // member, such as "StateChanged") from the object, with its detail (a name such as
  // "accessible-name", or empty), a number and the value. Returns whether it was sent: not when
  // no screen reader listens or the object has no accessible interface.
  static bool Send(QObject& source, const QString& kind, const QString& member,
                   const QString& detail, int number, const QVariant& value);
};
