#pragma once

// What a window manager's title bar needs to show a caption in full: the caption in the title-bar
// font, beside the window icon and the minimise, maximise and close buttons. Qt sizes its standard
// dialogs to their contents, so a short prompt under a long caption would see its caption cut.

#include <QFont>
#include <QString>

class TitleBar {
 public:
  // The platform's title-bar font, bold as window managers draw captions.
  static QFont Font();

  // The narrowest window, in logical pixels, whose title bar shows the caption in full; never
  // wider than the screen.
  static int MinimumWidth(const QString& caption);
};
