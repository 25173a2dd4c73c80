#include "accessibility/AtSpiBoundedRanges.h"

#include <QDBusArgument>
#include <QDBusMetaType>
#include <QDBusVariant>
#include <QMetaType>

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
  // The form QtDBus asks of a type's reader: it returns the argument it is given.
  return argument;  // NOLINT(bugprone-return-const-ref-from-parameter)
}

}  // namespace

Q_DECLARE_METATYPE(TextRange)

void AtSpiBoundedRanges::Register() {
  qDBusRegisterMetaType<TextRange>();
  qDBusRegisterMetaType<QList<TextRange>>();
}

bool AtSpiBoundedRanges::QtAnswers() {
  const QMetaType type = QMetaType::fromName("QList<QSpiTextRange>");
  return type.isValid() && QDBusMetaType::typeToSignature(type) != nullptr;
}

QDBusMessage AtSpiBoundedRanges::EmptyAnswer(const QDBusMessage& call) {
  return call.createReply(QVariant::fromValue(QList<TextRange>()));
}
