#pragma once

// The icon of the program file itself, where the system keeps one there: on Windows the first
// icon resource of tempulo.exe (IDI_ICON1, resources/tempulo.rc.in), at the small and large sizes
// Windows asks of it. Elsewhere, and in a program file without one, null.

#include <QIcon>

class ProgramIcon {
 public:
  static QIcon Get();
};
