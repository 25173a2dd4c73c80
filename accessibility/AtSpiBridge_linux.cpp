#include "accessibility/AtSpiBridge.h"

#include <algorithm>

#include <QAccessible>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusVariant>
#include <QLibraryInfo>
#include <QMetaType>
#include <QVariantMap>
#include <QVersionNumber>

// QtDBus hands every incoming method call to the functions registered here, on the main thread,
// before it delivers the call; the message they get shares its arguments with the one delivered.
// Exported by QtDBus since Qt 5 for debugging tools, but declared in no public header.
void qDBusAddSpyHook(void (*hook)(const QDBusMessage&));

namespace {

// One entry of AT-SPI's answer to GetBoundedRanges: a range of text, its characters, and a value
// for the caller's use.
struct TextRange {
  int start = 0;
  int end = 0;
  QString text;
  QDBusVariant value;
};

QDBusArgument& operator<<(QDBusArgument& argument, const TextRange& range) {
  argument.beginStructure();
  argument << range.start << range.end << range.text << range.value;
  argument.endStructure();
  return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, TextRange& range) {
  argument.beginStructure();
  argument >> range.start >> range.end >> range.text >> range.value;
  argument.endStructure();
  return argument;
}

}  // namespace

Q_DECLARE_METATYPE(TextRange)

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

// Qt 6.4's bridge answers GetBoundedRanges (which it does not implement) with a list of a type it
// never registered with QtDBus: the answer cannot be sent, the caller waits in vain, and QtDBus
// says so on the program's output. Where the type has no D-Bus form, Tempulo answers with the
// empty list Qt means to send, and keeps QtDBus's complaint about the type off the output.
const char* const kUnsentRangeList = "QList<QSpiTextRange>";

bool QtAnswersBoundedRanges() {
  const QMetaType type = QMetaType::fromName(kUnsentRangeList);
  return type.isValid() && QDBusMetaType::typeToSignature(type) != nullptr;
}

QtMessageHandler passOn = nullptr;

void Output(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (message.contains(QLatin1String(kUnsentRangeList)) && !QtAnswersBoundedRanges()) return;
  if (passOn != nullptr) passOn(type, context, message);
}

void HoldCallToText(const QDBusMessage& call) {
  if (call.type() != QDBusMessage::MethodCallMessage) return;
  const QString face = call.interface();
  const QString method = call.member();
  if (face == QLatin1String("org.a11y.atspi.Text") &&
      method == QLatin1String("GetBoundedRanges") && !QtAnswersBoundedRanges()) {
    QDBusConnection(QStringLiteral("a11y"))
        .send(call.createReply(QVariant::fromValue(QList<TextRange>())));
    return;
  }
  const bool ranged = face == QLatin1String("org.a11y.atspi.Text") &&
                      method == QLatin1String("GetRangeExtents");
  const bool editing = face == QLatin1String("org.a11y.atspi.EditableText");
  if (!ranged && !editing) return;
  QAccessibleInterface* object = ObjectAt(call.path());
  if (object == nullptr || !object->isValid()) return;
  // Qt's bridge answers every editing call with success, even on text that offers no editing
  // and that it therefore leaves as it was; the caller hears the truth first, and the bus drops
  // the bridge's answer to a call already answered. The bridge still handles the call, so its
  // offsets are held all the same.
  if (editing && object->editableTextInterface() == nullptr) {
    QDBusConnection(QStringLiteral("a11y"))
        .send(call.createErrorReply(QDBusError::NotSupported,
                                    QStringLiteral("The text is read-only")));
  }

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

void AtSpiBridge::Install() {
  qDBusRegisterMetaType<TextRange>();
  qDBusRegisterMetaType<QList<TextRange>>();
  passOn = qInstallMessageHandler(Output);
  qDBusAddSpyHook(HoldCallToText);
}

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
