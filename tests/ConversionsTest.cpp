#include "common/Conversions.h"
#include <gtest/gtest.h>
TEST(Placeholder, Builds) { EXPECT_EQ(ToWholeNumber(2.5), 2); }
