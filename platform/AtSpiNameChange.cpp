#include "platform/AtSpiNameChange.h"

#include <QAccessible>
#include <QLibraryInfo>
#include <QVersionNumber>

#if TEMPULO_ATSPI
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QVariantMap>
#endif

bool AtSpiNameChange::QtSendsObjectForName() {
  // The version of the Qt libraries the program runs on, which may be newer than the one it was
  // built with.
  static const bool broken = QLibraryInfo::version() < QVersionNumber(6, 8);
  return broken;
}

bool AtSpiNameChange::Send(QObject& object) {
#if TEMPULO_ATSPI
  if (!QtSendsObjectForName() || !QAccessible::isActive()) return false;
  // Qt's bridge talks to the accessibility bus over a connection of this name; the event must
  // come from the same connection to be taken as the program's.
  const QDBusConnection bus(QStringLiteral("a11y"));
  if (!bus.isConnected()) return false;
  QAccessibleInterface* face = QAccessible::queryAccessibleInterface(&object);
  if (face == nullptr || !face->isValid()) return false;
  // The path under which the bridge shows every object but the application.
  const QString path = QStringLiteral("/org/a11y/atspi/accessible/") +
                       QString::number(QAccessible::uniqueId(face));
  QDBusMessage event =
      QDBusMessage::createSignal(path, QStringLiteral("org.a11y.atspi.Event.Object"),
                                 QStringLiteral("PropertyChange"));
  event << QStringLiteral("accessible-name") << 0 << 0
        << QVariant::fromValue(QDBusVariant(face->text(QAccessible::Name))) << QVariantMap();
  return bus.send(event);
#else
  (void)object;
  return false;
#endif
}
