#include "accessibility/AtSpiEvent.h"

#include <QAccessible>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QVariantMap>

#include "accessibility/AtSpiCallGuard.h"

bool AtSpiEvent::Send(QObject& source, const QString& kind, const QString& member,
                      const QString& detail, int number, const QVariant& value) {
  if (!QAccessible::isActive()) return false;
  const QDBusConnection bus(QStringLiteral("a11y"));
  if (!bus.isConnected()) return false;
  QAccessibleInterface* face = QAccessible::queryAccessibleInterface(&source);
  if (face == nullptr || !face->isValid()) return false;
  QDBusMessage event = QDBusMessage::createSignal(
      AtSpiCallGuard::PathOf(*face), QStringLiteral("org.a11y.atspi.Event.") + kind, member);
  // AT-SPI's event: its detail, two numbers, the value, and no properties.
  event << detail << number << 0 << QVariant::fromValue(QDBusVariant(value)) << QVariantMap();
  return bus.send(event);
}
