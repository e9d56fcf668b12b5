#include <gtest/gtest.h>

#include "platform/cstring.h"

TEST(CStringTest, Placeholder) { EXPECT_EQ(CString("ab").GetLength(), 2); }
