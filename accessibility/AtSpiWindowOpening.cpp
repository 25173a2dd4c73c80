#include "accessibility/AtSpiWindowOpening.h"

#include <QAccessible>
#include <QDBusMessage>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include "accessibility/AtSpiCallGuard.h"
#include "accessibility/AtSpiEvent.h"

namespace {

// The control with the focus in the window that opened last, until its screen reader has
// presented it or the wait is over.
struct Watched {
  QPointer<QWidget> focus;
  QString path;
  bool presented = false;
  unsigned opening = 0;
};
Watched watched;

// What a screen reader asks for as it presents a focused text, and not for a window it has just
// found: the text around the caret.
bool AsksForTextAtCaret(const QDBusMessage& call) {
  if (call.interface() != QLatin1String("org.a11y.atspi.Text")) return false;
  const QString member = call.member();
  return member == QLatin1String("GetStringAtOffset") ||
         member == QLatin1String("GetTextAtOffset") ||
         member == QLatin1String("GetAttributeRun");
}

void Called(const QDBusMessage& call) {
  if (watched.focus.isNull() || watched.presented || call.path() != watched.path) return;
  if (AsksForTextAtCaret(call)) watched.presented = true;
}

void TellAgain(unsigned opening) {
  QWidget* focus = watched.focus;
  if (opening != watched.opening || watched.presented || focus == nullptr) return;
  watched.focus.clear();
  QWidget* window = focus->window();
  // Gone from the screen or left by the user meanwhile: there is nothing to tell again.
  if (!focus->hasFocus() || !window->isActiveWindow()) return;
  QAccessibleInterface* face = QAccessible::queryAccessibleInterface(window);
  if (face == nullptr) return;
  AtSpiEvent::Send(*window, QStringLiteral("Object"), QStringLiteral("StateChanged"),
                   QStringLiteral("active"), 0, 0);
  AtSpiEvent::Send(*window, QStringLiteral("Window"), QStringLiteral("Activate"), QString(), 0,
                   face->text(QAccessible::Name));
  QAccessibleEvent focused(focus, QAccessible::Focus);
  QAccessible::updateAccessibility(&focused);
}

}  // namespace

void AtSpiWindowOpening::Install() { AtSpiCallGuard::Watch(Called); }

void AtSpiWindowOpening::Opened(QWidget& focus) {
  if (!QAccessible::isActive()) return;
  QAccessibleInterface* face = QAccessible::queryAccessibleInterface(&focus);
  if (face == nullptr || face->textInterface() == nullptr) return;
  watched.focus = &focus;
  watched.path =
      AtSpiCallGuard::kObjectPath + QLatin1Char('/') + QString::number(QAccessible::uniqueId(face));
  watched.presented = false;
  const unsigned opening = ++watched.opening;
  QTimer::singleShot(kWaitMs, &focus, [opening] { TellAgain(opening); });
}
