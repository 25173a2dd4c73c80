#pragma once

// AT-SPI's GetBoundedRanges, which Qt's bridge does not implement (Qt 6.4 and 6.8 alike): it
// answers with a list of a type it never registered with QtDBus, so the answer cannot be sent and
// the caller waits in vain. The program asks QtDBus whether that type has a D-Bus form
// (QtAnswers); where it has none, the answer is the empty list Qt means to send, and a Qt that
// registers the type answers for itself.

#include <QDBusMessage>

class AtSpiBoundedRanges {
 public:
  // Gives AT-SPI's range list its D-Bus form; once, before the first answer.
  static void Register();

  // Whether the bridge of the Qt the program runs on can send its own answer.
  static bool QtAnswers();

  // The empty list of ranges, as the answer to the call.
  static QDBusMessage EmptyAnswer(const QDBusMessage& call);
};
