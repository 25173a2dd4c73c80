#include "accessibility/AtSpiCallGuard.h"

#include <optional>

#include <QAccessible>
#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>

#include "accessibility/AtSpiBoundedRanges.h"
#include "accessibility/HeldOffset.h"

// QtDBus hands every incoming method call to the functions registered here, on the main thread,
// before it looks up the object the call is for. Exported by QtDBus since Qt 5 for debugging
// tools, but declared in no public header.
void qDBusAddSpyHook(void (*hook)(const QDBusMessage&));

namespace {

// The connection Qt's bridge keeps to the accessibility bus.
QDBusConnection Bus() { return QDBusConnection(QStringLiteral("a11y")); }

const QString kTextFace = QStringLiteral("org.a11y.atspi.Text");
const QString kEditableFace = QStringLiteral("org.a11y.atspi.EditableText");
const QString kApplicationFace = QStringLiteral("org.a11y.atspi.Application");

QAccessibleInterface* ObjectAt(const QString& path) {
  const std::optional<QAccessible::Id> id = AtSpiCallGuard::IdAt(path);
  QAccessibleInterface* object = id ? QAccessible::accessibleInterface(*id) : nullptr;
  return object != nullptr && object->isValid() ? object : nullptr;
}

// A call on an object the program no longer has, such as a control of a window that has closed
// and that a screen reader still remembers (Orca 48 asks after them). Qt's bridge answers such a
// call with an error as well, and prints a warning for each (Qt 6.4 to 6.8 at least).
bool Gone(const QString& path) {
  return AtSpiCallGuard::IdAt(path).has_value() && ObjectAt(path) == nullptr;
}

int TextLength(QAccessibleInterface& object) {
  if (QAccessibleTextInterface* text = object.textInterface()) return text->characterCount();
  return static_cast<int>(object.text(QAccessible::Value).size());
}

void Hold(QList<QVariant>& arguments, int index, int length, bool minusOneIsEnd) {
  if (index < arguments.size()) {
    arguments[index] = HeldOffset(arguments.at(index).toInt(), length, minusOneIsEnd);
  }
}

void (*watcher)(const QDBusMessage&) = nullptr;

// Before a call on the program's objects is looked up, the guard takes the bridge's place.
void StandInFront(const QDBusMessage& call) {
  if (call.type() != QDBusMessage::MethodCallMessage ||
      !call.path().startsWith(AtSpiCallGuard::kObjectPath)) {
    return;
  }
  if (watcher != nullptr) watcher(call);
  QDBusConnection bus = Bus();
  QObject* registered = bus.objectRegisteredAt(AtSpiCallGuard::kObjectPath);
  auto* bridge = qobject_cast<QDBusVirtualObject*>(registered);
  if (bridge == nullptr || qobject_cast<AtSpiCallGuard*>(bridge) != nullptr) return;
  // The guard goes with the bridge's object; the bus lets go of a destroyed object itself.
  auto* guard = new AtSpiCallGuard(bridge, bridge);
  bus.unregisterObject(AtSpiCallGuard::kObjectPath);
  if (!bus.registerVirtualObject(AtSpiCallGuard::kObjectPath, guard, QDBusConnection::SubPath)) {
    bus.registerVirtualObject(AtSpiCallGuard::kObjectPath, bridge, QDBusConnection::SubPath);
    delete guard;
  }
}

}  // namespace

AtSpiCallGuard::AtSpiCallGuard(QDBusVirtualObject* bridge, QObject* parent)
    : QDBusVirtualObject(parent), bridge_(bridge) {}

void AtSpiCallGuard::Install() {
  AtSpiBoundedRanges::Register();
  qDBusAddSpyHook(StandInFront);
}

QString AtSpiCallGuard::PathOf(QAccessibleInterface& object) {
  return kObjectPath + QLatin1Char('/') + QString::number(QAccessible::uniqueId(&object));
}

std::optional<QAccessible::Id> AtSpiCallGuard::IdAt(const QString& path) {
  const QString prefix = kObjectPath + QLatin1Char('/');
  if (!path.startsWith(prefix)) return std::nullopt;
  bool isNumber = false;
  const QAccessible::Id id = QStringView(path).mid(prefix.size()).toUInt(&isNumber);
  return isNumber ? std::optional(id) : std::nullopt;
}

void AtSpiCallGuard::Watch(void (*callWatcher)(const QDBusMessage&)) { watcher = callWatcher; }

QString AtSpiCallGuard::introspect(const QString& path) const {
  return bridge_.isNull() ? QString() : bridge_->introspect(path);
}

bool AtSpiCallGuard::handleMessage(const QDBusMessage& message,
                                   const QDBusConnection& connection) {
  if (Gone(message.path())) {
    connection.send(message.createErrorReply(QDBusError::UnknownObject,
                                             QStringLiteral("The object is gone")));
    return true;
  }
  const QString face = message.interface();
  // libatspi, AT-SPI's client library, has asked every application it reaches for a bus of its
  // own since 2010, and uses the accessibility bus when it has none. Qt's bridge has no answer
  // but an error, with a warning printed for each call (Qt 6.4 to 6.11 at least); the answer
  // AT-SPI defines for no bus of its own is an empty address.
  if (face == kApplicationFace && message.member() == QLatin1String("GetApplicationBusAddress")) {
    connection.send(message.createReply(QString()));
    return true;
  }
  if (face == kTextFace && message.member() == QLatin1String("GetBoundedRanges") &&
      !AtSpiBoundedRanges::QtAnswers()) {
    connection.send(AtSpiBoundedRanges::EmptyAnswer(message));
    return true;
  }
  // The bridge answers every editing call with success, even on text that offers no editing and
  // that it therefore leaves as it was: the caller hears the truth first, and the bus drops the
  // bridge's answer to a call already answered. The bridge still handles the call (copying puts
  // the text on the clipboard), with its offsets held all the same.
  if (face == kEditableFace) {
    QAccessibleInterface* object = ObjectAt(message.path());
    if (object != nullptr && object->editableTextInterface() == nullptr) {
      connection.send(message.createErrorReply(QDBusError::NotSupported,
                                               QStringLiteral("The text is read-only")));
    }
  }
  return !bridge_.isNull() && bridge_->handleMessage(Held(message), connection);
}

QDBusMessage AtSpiCallGuard::Held(const QDBusMessage& call) {
  const QString method = call.member();
  const bool ranged = call.interface() == kTextFace && method == QLatin1String("GetRangeExtents");
  if (!ranged && call.interface() != kEditableFace) return call;
  QAccessibleInterface* object = ObjectAt(call.path());
  if (object == nullptr) return call;

  const int length = TextLength(*object);
  QList<QVariant> arguments = call.arguments();
  if (ranged || method == QLatin1String("CopyText") || method == QLatin1String("CutText") ||
      method == QLatin1String("DeleteText")) {
    Hold(arguments, 0, length, true);
    Hold(arguments, 1, length, true);
  } else if (method == QLatin1String("InsertText")) {
    // Position, text, and how many of its characters to insert.
    Hold(arguments, 0, length, false);
    if (arguments.size() >= 3) {
      Hold(arguments, 2, static_cast<int>(arguments.at(1).toString().size()), false);
    }
  } else if (method == QLatin1String("PasteText")) {
    Hold(arguments, 0, length, false);
  } else {
    return call;
  }
  // The call itself (its sender and serial, so that the answer reaches the caller) with the held
  // offsets. The bridge is handed this message: what it reads does not depend on whether a
  // copy's arguments are shared with the message QtDBus holds (in Qt 6.4 they are).
  QDBusMessage held = call;
  held.setArguments(arguments);
  return held;
}
