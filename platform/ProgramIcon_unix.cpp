#include "platform/ProgramIcon.h"

// Program files on Linux carry no icon: the window icon is compiled in as images.
QIcon ProgramIcon::Get(std::span<const int> /*sizes*/) { return {}; }
