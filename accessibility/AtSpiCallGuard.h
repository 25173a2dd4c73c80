#pragma once

// Stands on the accessibility bus in front of Qt's AT-SPI bridge and hands it every call on the
// program's objects, with what a careless client may send made safe first. For a few calls the
// bridge acts on the caller's offsets itself before it asks the text interface: it measures a
// range character by character (a range up to the largest int never ends), pads a text to the
// offset it inserts at, or sizes an inserted text by a length it is given. The guard hands the
// bridge each such call with its offsets held to the text of the object it is made on; the
// client gets the bridge's answer to it.
//
// Editing calls on text that offers no editing are answered as refused first (the bridge would
// report them done and change nothing), and where the bridge cannot answer GetBoundedRanges, the
// guard answers it instead. Qt 6.4 and 6.8 have each of these faults. Holding the offsets and
// answering a refusal first stay right on a Qt that mends them: a held offset is one the bridge
// would accept, and the bus drops a second answer to a call. Calls on objects the program no
// longer has are answered by the guard, as the bridge answers them but without its warning, and
// so is a client's question for the application's own bus, which the bridge cannot answer.

#include <optional>

#include <QAccessible>
#include <QDBusVirtualObject>
#include <QPointer>

class AtSpiCallGuard : public QDBusVirtualObject {
  Q_OBJECT

 public:
  explicit AtSpiCallGuard(QDBusVirtualObject* bridge, QObject* parent = nullptr);

  // Puts a guard in front of the bridge on the accessibility bus, from the first call a client
  // makes on the program's objects; the bridge registers itself only once a client is listening.
  static void Install();

  // Hands the watcher each call a client makes on the program's objects, before anything answers
  // it; one watcher at a time.
  static void Watch(void (*watcher)(const QDBusMessage& call));

  // Where the bridge shows the program's objects: this path, then each object's id.
  static inline const QString kObjectPath = QStringLiteral("/org/a11y/atspi/accessible");

  // The id in an object's path below kObjectPath; none for any other path, such as the
  // application's own object, "root".
  static std::optional<QAccessible::Id> IdAt(const QString& path);

  // The path of the object on the bus.
  static QString PathOf(QAccessibleInterface& object);

  [[nodiscard]] QString introspect(const QString& path) const override;
  bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;

 private:
  // The call as the bridge is to get it: the offsets it acts on held to the text.
  static QDBusMessage Held(const QDBusMessage& call);

  QPointer<QDBusVirtualObject> bridge_;
};
