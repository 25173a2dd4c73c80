#include "accessibility/AtSpiBridge.h"

#include <QAccessible>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QLibraryInfo>
#include <QtGlobal>
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

QtMessageHandler passOn = nullptr;

// Qt's bridge warns for every kind of event a client asks to hear that the bridge never sends,
// though asking is no fault: Orca 48 asks for "window:destroy", and Qt 6.4 to 6.8 at least print
// "Subscription string not handled" for it on each start of Orca. That one notice is not passed
// on; every other message is.
void Notices(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (type == QtWarningMsg && qstrcmp(context.category, "qt.accessibility.atspi") == 0 &&
      message.startsWith(QLatin1String("Subscription string not handled"))) {
    return;
  }
  passOn(type, context, message);
}

}  // namespace

void AtSpiBridge::Install() {
  AtSpiCallGuard::Install();
  // The handler before this one: Qt's own where none was installed (Qt 6 returns it rather than
  // nothing).
  passOn = qInstallMessageHandler(Notices);
}

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

// cppcheck-suppress constParameterReference ; Qt's announcement event takes the object non-const
bool AtSpiBridge::Announce(QObject& object, const QString& what) {
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
  if (what.isEmpty() || !QAccessible::isActive()) return false;
  // Polite: a screen reader may let it wait for what it is saying of the window (Orca 48 speaks
  // every announcement alike).
  QAccessibleAnnouncementEvent announcement(&object, what);
  announcement.setPoliteness(QAccessible::AnnouncementPoliteness::Polite);
  QAccessible::updateAccessibility(&announcement);
  return true;
#else
  (void)object;
  (void)what;
  return false;
#endif
}
