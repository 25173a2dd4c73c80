#include "ui/Gradient.h"
#include <gtest/gtest.h>
TEST(GradientPlaceholder, Builds) { EXPECT_EQ(MakeVertex(0, 0, 0x00010203).Red, 771); }
