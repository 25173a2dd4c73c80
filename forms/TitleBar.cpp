#include "forms/TitleBar.h"

#include <algorithm>

#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>

QFont TitleBar::Font() {
  QFont font = QFontDatabase::systemFont(QFontDatabase::TitleFont);
  font.setBold(true);
  return font;
}

int TitleBar::MinimumWidth(const QString& caption) {
  const QFontMetrics metrics(Font());
  const int line = metrics.height();
  // Title-bar buttons and the icon are about a line and a half of the caption's font square; the
  // caption keeps half a line clear of them on either side.
  const int width = metrics.horizontalAdvance(caption) + 4 * (line * 3 / 2) + line;
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? std::min(width, screen->availableGeometry().width()) : width;
}
