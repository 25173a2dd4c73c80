#include "resources/StringTable.h"
