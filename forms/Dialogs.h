#pragma once

// The two standard modal dialogs of the calculator, shown without an owner window.

#include <QString>

class Dialogs {
 public:
  // A prompt with one entry line pre-filled with defaultText, OK and Cancel. Returns the entry's
  // text after OK, and the empty text after Cancel. After OK the prompt leaves the screen once
  // the event loop next turns, so that the window the caller shows next takes over from it.
  static QString InputBox(const QString& prompt, const QString& title, const QString& defaultText);

  // A message with the exclamation (warning) icon and an OK button only.
  static void Exclamation(const QString& text, const QString& title);
};
