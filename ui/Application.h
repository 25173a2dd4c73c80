#pragma once

// Application-wide settings made once at start-up, before the first window: identity, the
// default font the window layouts were designed for, and Qt's own texts in the user's language.

#include <QLibraryInfo>
#include <QLocale>
#include <QString>

class Application {
 public:
  // Call once the application object exists.
  static void SetUp();

  // Loads Qt's own catalogue for the locale, so the buttons of the standard prompt and message
  // box speak the user's language; Tempulo's own texts stay English. Replaces the catalogue an
  // earlier call loaded. Returns false, and leaves Qt in English, when no catalogue is found.
  static bool LoadQtTranslations(
      const QLocale& locale,
      const QString& directory = QLibraryInfo::path(QLibraryInfo::TranslationsPath));
};
