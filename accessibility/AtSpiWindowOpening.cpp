#include "accessibility/AtSpiWindowOpening.h"

#include <optional>

#include <QAccessible>
#include <QDBusMessage>
#include <QElapsedTimer>
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
  QElapsedTimer sinceFocus;
  // Since a client last asked anything of the window, and of the window itself; not valid while
  // none has.
  QElapsedTimer sinceAsked;
  QString windowPath;
  QElapsedTimer sinceWindowAsked;
};
Watched watched;

bool InWatchedWindow(const QString& path) {
  const std::optional<QAccessible::Id> id = AtSpiCallGuard::IdAt(path);
  QAccessibleInterface* face = id ? QAccessible::accessibleInterface(*id) : nullptr;
  auto* widget = face != nullptr ? qobject_cast<QWidget*>(face->object()) : nullptr;
  return widget != nullptr && widget->window() == watched.focus->window();
}

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
  if (watched.focus.isNull() || watched.presented || !InWatchedWindow(call.path())) return;
  watched.sinceAsked.start();
  if (call.path() == watched.windowPath) watched.sinceWindowAsked.start();
  if (call.path() == watched.path && AsksForTextAtCaret(call)) watched.presented = true;
}

void TellAgain(unsigned opening) {
  QWidget* focus = watched.focus;
  if (opening != watched.opening || watched.presented || focus == nullptr) return;
  // A screen reader still asking about the window may be presenting it yet: it is given until it
  // has been quiet for a while, and at most kLongestMs.
  const bool asking =
      !watched.sinceAsked.isValid() ||
      watched.sinceAsked.elapsed() < AtSpiWindowOpening::kQuietMs ||
      (watched.sinceWindowAsked.isValid() &&
       watched.sinceWindowAsked.elapsed() < AtSpiWindowOpening::kApartMs);
  if (asking && watched.sinceFocus.elapsed() < AtSpiWindowOpening::kLongestMs) {
    QTimer::singleShot(AtSpiWindowOpening::kQuietMs / 4, focus, [opening] { TellAgain(opening); });
    return;
  }
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
  watched.path = AtSpiCallGuard::PathOf(*face);
  QAccessibleInterface* window = QAccessible::queryAccessibleInterface(focus.window());
  watched.windowPath = window != nullptr ? AtSpiCallGuard::PathOf(*window) : QString();
  watched.presented = false;
  watched.sinceAsked.invalidate();
  watched.sinceWindowAsked.invalidate();
  watched.sinceFocus.start();
  const unsigned opening = ++watched.opening;
  QTimer::singleShot(kWaitMs, &focus, [opening] { TellAgain(opening); });
}
