#include "accessibility/AtSpiBridge.h"

#include <QAccessible>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QLibraryInfo>
#include <QVariantMap>
#include <QVersionNumber>

#include "accessibility/AtSpiCallGuard.h"

namespace {

// Whether the bridge of the Qt the program runs on (which may be newer than the one it was built
// with) sends the object in place of the name.
bool QtSendsObjectForName() {
  static const bool sends = QLibraryInfo::version() < QVersionNumber(6, 8);
  return sends;
}

}  // namespace

void AtSpiBridge::Install() { AtSpiCallGuard::Install(); }

bool AtSpiBridge::NameChanged(QObject& object) {
  if (!QtSendsObjectForName() || !QAccessible::isActive()) return false;
  // The bridge's own connection to the accessibility bus: an event from it is the program's.
  const QDBusConnection bus(QStringLiteral("a11y"));
  if (!bus.isConnected()) return false;
  QAccessibleInterface* face = QAccessible::queryAccessibleInterface(&object);
  if (face == nullptr || !face->isValid()) return false;
  QDBusMessage event = QDBusMessage::createSignal(
      AtSpiCallGuard::kObjectPath + QLatin1Char('/') + QString::number(QAccessible::uniqueId(face)),
      QStringLiteral("org.a11y.atspi.Event.Object"), QStringLiteral("PropertyChange"));
  // AT-SPI's object event: kind, two numbers of detail, the new value, and no properties.
  event << QStringLiteral("accessible-name") << 0 << 0
        << QVariant::fromValue(QDBusVariant(face->text(QAccessible::Name))) << QVariantMap();
  return bus.send(event);
}
