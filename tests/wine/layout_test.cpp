#include <gtest/gtest.h>
#include <windows.h>
#include "protocol/SharedBlock.h"
TEST(Layout, HandlesAre32Bit) { EXPECT_EQ(sizeof(HWND), 4u); }
