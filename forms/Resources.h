#pragma once

// Access to the application's string resources (resources/StringTable) by id.

#include <QString>

// The string with this id. An id the table does not hold is a programming error, so it fails
// loudly with std::out_of_range rather than showing an empty caption.
QString LoadResString(int id);
