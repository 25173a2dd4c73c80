#include "accessibility/Accessibility.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

#include "accessibility/AtSpiBridge.h"
#include "accessibility/CounterAccessible.h"
#include "accessibility/TextFieldAccessible.h"

namespace {

constexpr const char* kCountProperty = "tempuloSpeaksCount";
constexpr const char* kJustShown = "tempuloJustShown";

QAccessible::UpdateHandler passOn = nullptr;
void Update(QAccessibleEvent* event);

// Changes to a control of a window that is not on screen yet, such as a result filled in before
// its window shows, give a screen reader nothing to present. Orca, handed them just as the window
// appears, takes that control for the focus without announcing the window: they are not sent.
bool Unseen(QAccessibleEvent& event) {
  switch (event.type()) {
    case QAccessible::TextCaretMoved:
    case QAccessible::TextInserted:
    case QAccessible::TextRemoved:
    case QAccessible::TextUpdated:
    case QAccessible::TextSelectionChanged:
    case QAccessible::ValueChanged:
    case QAccessible::NameChanged:
    case QAccessible::DescriptionChanged: {
      const auto* widget = qobject_cast<const QWidget*>(event.object());
      return widget != nullptr && !widget->isVisible();
    }
    default:
      return false;
  }
}

// A text event for a control with no text to read (the tap counter, whose count is its name)
// gives a screen reader nothing. Qt 6.8's labels send one for every new text; its bridge drops
// it with a warning where the control's interface has no text, as ours for the counter has not.
bool Textless(QAccessibleEvent& event) {
  switch (event.type()) {
    case QAccessible::TextInserted:
    case QAccessible::TextRemoved:
    case QAccessible::TextUpdated: {
      QAccessibleInterface* face = event.accessibleInterface();
      return face == nullptr || face->textInterface() == nullptr;
    }
    default:
      return false;
  }
}

void Send(QAccessibleEvent* event) {
  // Qt hands an event to the screen reader itself only while no handler is installed.
  QAccessible::installUpdateHandler(passOn);
  QAccessible::updateAccessibility(event);
  QAccessible::installUpdateHandler(Update);
}

// A window's first focus, given as the window shows: a screen reader may have found the window
// on its own before this focus reached it (see AtSpiBridge), so the control it holds, when it
// holds text such as the number the window opened for, is watched.
void MarkShown(QAccessibleEvent& shown) {
  auto* widget = qobject_cast<QWidget*>(shown.object());
  if (widget != nullptr && widget->isWindow()) widget->setProperty(kJustShown, true);
}

void FirstFocus(QAccessibleEvent& focus) {
  auto* widget = qobject_cast<QWidget*>(focus.object());
  if (widget == nullptr || !widget->window()->property(kJustShown).toBool()) return;
  widget->window()->setProperty(kJustShown, QVariant());
  AtSpiBridge::WindowOpened(*widget);
}

// Qt's bridge may come up only after the first window has been made active (Qt 6.8 now and then,
// as it learns only then that a screen reader listens): the screen reader then hears nothing of
// that window until it is made active again. When accessibility turns on with a window already
// active, the window's activation and its focus are told once more, after the bridge has
// finished turning on. Turned on before any window shows, as usual, there is nothing to tell.
class LateBridge : public QAccessible::ActivationObserver {
 public:
  void accessibilityActiveChanged(bool active) override {
    if (!active || QApplication::activeWindow() == nullptr) return;
    QTimer::singleShot(0, QApplication::instance(), [] {
      QWidget* window = QApplication::activeWindow();
      if (window == nullptr || !QAccessible::isActive()) return;
      QAccessible::State activated;
      activated.active = true;
      QAccessibleStateChangeEvent windowActive(window, activated);
      QAccessible::updateAccessibility(&windowActive);
      if (QWidget* focus = QApplication::focusWidget()) {
        QAccessibleEvent focused(focus, QAccessible::Focus);
        QAccessible::updateAccessibility(&focused);
      }
    });
  }
};

void Update(QAccessibleEvent* event) {
  if (Unseen(*event) || Textless(*event)) return;
  if (event->type() == QAccessible::ObjectShow) MarkShown(*event);
  Send(event);
  if (event->type() == QAccessible::Focus) FirstFocus(*event);
}

// Qt asks for each class of an object in turn, most derived first, until one answers.
QAccessibleInterface* Factory(const QString& className, QObject* object) {
  if (className == QLatin1String("QLineEdit")) {
    return new TextFieldAccessible(static_cast<QLineEdit*>(object));
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
    passOn = QAccessible::installUpdateHandler(Update);
    static LateBridge lateBridge;
    QAccessible::installActivationObserver(&lateBridge);
    AtSpiBridge::Install();
    return true;
  }();
  (void)installed;
}

void Accessibility::SpeakCountChanges(QLabel& label) {
  label.setProperty(kCountProperty, true);
  // Made now, before the label's first text is announced, so that every client is handed this
  // one interface for as long as the label lives.
  QAccessible::queryAccessibleInterface(&label);
}

void Accessibility::ShowCount(QLabel& label, const QString& count) {
  // Qt tells of a label's new text itself, but only when it differs, and before Qt 6.8 in a form
  // Orca cannot use (see AtSpiBridge).
  if (label.text() == count) return;
  label.setText(count);
  AtSpiBridge::NameChanged(label);
}
