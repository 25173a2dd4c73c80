#include "tapping/FrmTempulo.h"
#include <gtest/gtest.h>
TEST(TapPlaceholder, Builds) { FrmTempulo w([] { return 0.0f; }); SUCCEED(); }
