#include "accessibility/AtSpiBridge.h"

#include <QAccessible>
#include <QLibraryInfo>
#include <QtGlobal>
#include <QVersionNumber>

#include "accessibility/AtSpiCallGuard.h"
#include "accessibility/AtSpiEvent.h"
#include "accessibility/AtSpiWindowOpening.h"

namespace {

// Whether the bridge of the Qt the program runs on (which may be newer than the one it was built
// with) sends the object in place of the name.
bool QtSendsObjectForName() {
  static const bool sends = QLibraryInfo::version() < QVersionNumber(6, 8);
  return sends;
}

QtMessageHandler passOn = nullptr;

// Qt's bridge warns for every kind of event a client asks to hear that the bridge never sends,
// though asking is no fault: Orca 48 asks for "window:destroy", and Qt 6.4 to 6.8 at least print
// "Subscription string not handled" for it on each start of Orca. That one notice is not passed
// on; every other message is.
void Notices(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (type == QtWarningMsg && qstrcmp(context.category, "qt.accessibility.atspi") == 0 &&
      message.startsWith(QLatin1String("Subscription string not handled"))) {
    return;
  }
  passOn(type, context, message);
}

}  // namespace

void AtSpiBridge::Install() {
  AtSpiCallGuard::Install();
  AtSpiWindowOpening::Install();
  // The handler before this one: Qt's own where none was installed (Qt 6 returns it rather than
  // nothing).
  passOn = qInstallMessageHandler(Notices);
}

bool AtSpiBridge::NameChanged(QObject& object) {
  if (!QtSendsObjectForName()) return false;
  QAccessibleInterface* face = QAccessible::queryAccessibleInterface(&object);
  if (face == nullptr || !face->isValid()) return false;
  return AtSpiEvent::Send(object, QStringLiteral("Object"), QStringLiteral("PropertyChange"),
                          QStringLiteral("accessible-name"), 0, face->text(QAccessible::Name));
}

void AtSpiBridge::WindowOpened(QWidget& focus) { AtSpiWindowOpening::Opened(focus); }
