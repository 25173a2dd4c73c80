#include "platform/Accessibility.h"

#include <QAccessible>
#include <QLabel>
#include <QLineEdit>

#include "platform/AtSpiNameChange.h"
#include "platform/CounterAccessible.h"
#include "platform/LineEditAccessible.h"

namespace {

constexpr const char* kCountProperty = "tempuloSpeaksCount";
constexpr const char* kSpokenProperty = "tempuloSpokenCount";

// Asked for each class of an object in turn, most derived first, until one answers.
QAccessibleInterface* Factory(const QString& className, QObject* object) {
  if (className == QLatin1String("QLineEdit")) {
    return new LineEditAccessible(static_cast<QLineEdit*>(object));
  }
  if (className == QLatin1String("QLabel") && object->property(kCountProperty).toBool()) {
    return new CounterAccessible(static_cast<QLabel*>(object));
  }
  return nullptr;
}

}  // namespace

void Accessibility::Install() {
  static const bool installed = [] {
    QAccessible::installFactory(Factory);
    return true;
  }();
  (void)installed;
}

void Accessibility::SpeakCountChanges(QLabel& label) {
  label.setProperty(kCountProperty, true);
  label.setProperty(kSpokenProperty, label.text());
  // With a screen reader running, Qt made the label its own interface as the label was made, to
  // announce its first text. That one goes, and the next request makes the counter's.
  QAccessibleInterface* face = QAccessible::queryAccessibleInterface(&label);
  if (face != nullptr && dynamic_cast<CounterAccessible*>(face) == nullptr) {
    QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(face));
  }
}

void Accessibility::CountShown(QLabel& label) {
  // Qt itself tells of a label's new text, but only when it differs, and up to Qt 6.7 in a form
  // Orca cannot use (see AtSpiNameChange).
  if (label.property(kSpokenProperty).toString() == label.text()) return;
  label.setProperty(kSpokenProperty, label.text());
  AtSpiNameChange::Send(label);
}
