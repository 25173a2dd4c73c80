#include "ui/Application.h"

#include <memory>

#include <QApplication>
#include <QFont>
#include <QPointer>
#include <QTranslator>

#include "accessibility/Accessibility.h"
#include "platform/ProgramIcon.h"
#include "resources/DesktopIdentity.h"
#include "resources/Identity.h"

void Application::SetUp() {
  QApplication::setApplicationName(QString::fromUtf8(identity::kTitle));
  QApplication::setApplicationVersion(QString::fromUtf8(identity::kVersion));
  QApplication::setOrganizationName(QStringLiteral("Tempulo"));
  // The window system matches the windows to the installed launcher by this id (the Wayland app
  // id), and shows this icon in title bars and task switchers: the images compiled in, or on
  // Windows the program file's own icon. (Windows gives only the main window's kind of window the
  // program file's icon by itself; dialogs would show none.)
  QGuiApplication::setDesktopFileName(desktop_identity::AppId());
  QIcon icon = desktop_identity::WindowIcon();
  if (icon.isNull()) icon = ProgramIcon::Get(desktop_identity::kIconSizes);
  if (!icon.isNull()) QApplication::setWindowIcon(icon);
  Accessibility::Install();

  // The layouts are designed for a compact 8-point UI face; a face with Arial's metrics keeps
  // every caption inside its designed place.
  QFont font(QStringLiteral("Liberation Sans"), 8);
  font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                    QStringLiteral("DejaVu Sans")});
  font.setStyleHint(QFont::SansSerif);
  QApplication::setFont(font);

  LoadQtTranslations(QLocale());
}

bool Application::LoadQtTranslations(const QLocale& locale, const QString& directory) {
  static QPointer<QTranslator> loaded;
  if (!loaded.isNull()) {
    QCoreApplication::removeTranslator(loaded);
    delete loaded;
  }
  auto translator = std::make_unique<QTranslator>(QCoreApplication::instance());
  // Tries the locale's languages in turn (de_DE, then de), and says nothing when none is found.
  if (!translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"), directory)) {
    return false;
  }
  QCoreApplication::installTranslator(translator.get());
  loaded = translator.release();  // the application owns it from here
  return true;
}
