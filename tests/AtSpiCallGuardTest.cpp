// What Qt's AT-SPI bridge is handed when a careless client calls with any offsets: the guard in
// front of it must pass on the call with its offsets held to the text, whatever Qt does with
// copies of a message.

#include <climits>
#include <ostream>
#include <string>

#include <QAccessible>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QLineEdit>
#include <QStringList>
#include <gtest/gtest.h>

#include "accessibility/AtSpiCallGuard.h"

namespace {

// Stands in for Qt's bridge: keeps what it is handed.
class BridgeStandIn : public QDBusVirtualObject {
 public:
  [[nodiscard]] QString introspect(const QString& /*path*/) const override { return {}; }
  bool handleMessage(const QDBusMessage& message, const QDBusConnection& /*bus*/) override {
    handed.append(Written(message.arguments()));
    return true;
  }
  // The arguments as text, for readable failures.
  static std::string Written(const QList<QVariant>& arguments) {
    QStringList parts;
    for (const QVariant& argument : arguments) parts << argument.toString();
    return parts.join(QStringLiteral(", ")).toStdString();
  }
  QList<std::string> handed;
};

struct GuardedCall {
  friend void PrintTo(const GuardedCall& call, std::ostream* out) { *out << call.name; }

  const char* name;  // cppcheck-suppress unusedStructMember ; the test name, via TestParamInfo
  const char* face;
  const char* method;
  QList<QVariant> sent;
  QList<QVariant> handed;
  bool readOnly = false;
};

class AtSpiCallGuardTest : public ::testing::TestWithParam<GuardedCall> {};

// The entry reads "2468" and may be edited, or is read-only.
TEST_P(AtSpiCallGuardTest, HandsTheBridgeOffsetsInsideTheText) {
  const GuardedCall& c = GetParam();
  QLineEdit entry(QStringLiteral("2468"));
  entry.setReadOnly(c.readOnly);
  const QAccessible::Id id = QAccessible::uniqueId(QAccessible::queryAccessibleInterface(&entry));
  QDBusMessage call = QDBusMessage::createMethodCall(
      QStringLiteral(":1.1"), AtSpiCallGuard::kObjectPath + QLatin1Char('/') + QString::number(id),
      QStringLiteral("org.a11y.atspi.") + QLatin1String(c.face), QLatin1String(c.method));
  call.setArguments(c.sent);
  BridgeStandIn bridge;
  AtSpiCallGuard guard(&bridge);

  EXPECT_TRUE(guard.handleMessage(call, QDBusConnection(QStringLiteral("no bus"))));
  ASSERT_EQ(bridge.handed.size(), 1);
  EXPECT_EQ(bridge.handed.at(0), BridgeStandIn::Written(c.handed));
}

INSTANTIATE_TEST_SUITE_P(
    Calls, AtSpiCallGuardTest,
    ::testing::Values(
        GuardedCall{"RangeOfEveryInt", "Text", "GetRangeExtents", {INT_MIN, INT_MAX, 0U},
                    {0, 4, 0U}},
        GuardedCall{"RangeToTheEnd", "Text", "GetRangeExtents", {-1, -1, 1U}, {4, 4, 1U}},
        GuardedCall{"InsertPastTheEnd", "EditableText", "InsertText",
                    {INT_MAX, QStringLiteral("7"), INT_MAX}, {4, QStringLiteral("7"), 1}},
        GuardedCall{"InsertNegativeLength", "EditableText", "InsertText",
                    {-1, QStringLiteral("7"), -5}, {0, QStringLiteral("7"), 0}},
        GuardedCall{"Delete", "EditableText", "DeleteText", {INT_MAX - 1, -1}, {4, 4}},
        GuardedCall{"Paste", "EditableText", "PasteText", {INT_MIN}, {0}},
        // Refused to the caller first; the bridge still copies, so it gets the call, held.
        GuardedCall{"CopyReadOnly", "EditableText", "CopyText", {INT_MIN, INT_MAX}, {0, 4}, true},
        // Calls the text interface answers itself, holding the offsets there, pass unchanged.
        GuardedCall{"TextAsSent", "Text", "GetText", {INT_MIN, INT_MAX}, {INT_MIN, INT_MAX}}),
    [](const ::testing::TestParamInfo<GuardedCall>& info) { return std::string(info.param.name); });

}  // namespace
