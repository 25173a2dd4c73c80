#pragma once

// The icon of the program file itself, where the system keeps one there: on Windows the first
// icon resource of tempulo.exe (IDI_ICON1, resources/tempulo.rc.in), at the given square sizes.
// Elsewhere, and in a program file without one, null.

#include <span>

#include <QIcon>

class ProgramIcon {
 public:
  static QIcon Get(std::span<const int> sizes);
};
