#include "accessibility/AtSpiBridge.h"

#include <algorithm>

#include <QAccessible>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QLibraryInfo>
#include <QVariantMap>
#include <QVersionNumber>

// QtDBus hands every incoming method call to the functions registered here, on the main thread,
// before it delivers the call; the message they get shares its arguments with the one delivered.
// Exported by QtDBus since Qt 5 for debugging tools, but declared in no public header.
void qDBusAddSpyHook(void (*hook)(const QDBusMessage&));

namespace {

// The bridge shows every object but the application under this path, followed by its id.
const QString kObjectPath = QStringLiteral("/org/a11y/atspi/accessible/");

QAccessibleInterface* ObjectAt(const QString& path) {
  if (!path.startsWith(kObjectPath)) return nullptr;
  bool isNumber = false;
  const QAccessible::Id id = QStringView(path).mid(kObjectPath.size()).toUInt(&isNumber);
  return isNumber ? QAccessible::accessibleInterface(id) : nullptr;
}

int TextLength(QAccessibleInterface& object) {
  if (QAccessibleTextInterface* text = object.textInterface()) return text->characterCount();
  return static_cast<int>(object.text(QAccessible::Value).size());
}

// Offsets the bridge uses itself, held to 0 ... length; -1 (the end, where AT-SPI allows it)
// becomes the length.
void HoldOffset(QList<QVariant>& arguments, int index, int length, bool minusOneIsEnd) {
  if (index >= arguments.size()) return;
  int offset = arguments.at(index).toInt();
  if (minusOneIsEnd && offset == -1) offset = length;
  arguments[index] = std::clamp(offset, 0, length);
}

void HoldCallToText(const QDBusMessage& call) {
  if (call.type() != QDBusMessage::MethodCallMessage) return;
  const QString face = call.interface();
  const QString method = call.member();
  const bool ranged = face == QLatin1String("org.a11y.atspi.Text") &&
                      method == QLatin1String("GetRangeExtents");
  const bool editing = face == QLatin1String("org.a11y.atspi.EditableText");
  if (!ranged && !editing) return;
  QAccessibleInterface* object = ObjectAt(call.path());
  if (object == nullptr || !object->isValid()) return;

  const int length = TextLength(*object);
  QList<QVariant> arguments = call.arguments();
  if (ranged || method == QLatin1String("CopyText") || method == QLatin1String("CutText") ||
      method == QLatin1String("DeleteText")) {
    HoldOffset(arguments, 0, length, true);
    HoldOffset(arguments, 1, length, true);
  } else if (method == QLatin1String("InsertText")) {
    // Position, text, and how many of its characters to insert.
    HoldOffset(arguments, 0, length, false);
    if (arguments.size() >= 3) {
      const int given = static_cast<int>(arguments.at(1).toString().size());
      arguments[2] = std::clamp(arguments.at(2).toInt(), 0, given);
    }
  } else if (method == QLatin1String("PasteText")) {
    HoldOffset(arguments, 0, length, false);
  } else {
    return;
  }
  QDBusMessage delivered = call;  // shares its arguments with the call the bridge will get
  delivered.setArguments(arguments);
}

// Whether the bridge of the Qt the program runs on (which may be newer than the one it was built
// with) sends the object in place of the name.
bool QtSendsObjectForName() {
  static const bool sends = QLibraryInfo::version() < QVersionNumber(6, 8);
  return sends;
}

}  // namespace

void AtSpiBridge::Install() { qDBusAddSpyHook(HoldCallToText); }

bool AtSpiBridge::NameChanged(QObject& object) {
  if (!QtSendsObjectForName() || !QAccessible::isActive()) return false;
  // The bridge's own connection to the accessibility bus: an event from it is the program's.
  const QDBusConnection bus(QStringLiteral("a11y"));
  if (!bus.isConnected()) return false;
  QAccessibleInterface* face = QAccessible::queryAccessibleInterface(&object);
  if (face == nullptr || !face->isValid()) return false;
  QDBusMessage event = QDBusMessage::createSignal(
      kObjectPath + QString::number(QAccessible::uniqueId(face)),
      QStringLiteral("org.a11y.atspi.Event.Object"), QStringLiteral("PropertyChange"));
  // AT-SPI's object event: kind, two numbers of detail, the new value, and no properties.
  event << QStringLiteral("accessible-name") << 0 << 0
        << QVariant::fromValue(QDBusVariant(face->text(QAccessible::Name))) << QVariantMap();
  return bus.send(event);
}
