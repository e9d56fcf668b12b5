#include <gtest/gtest.h>

#include "shell/quenlow.h"

TEST(QuenlowAppTest, Placeholder) { EXPECT_EQ(theApp.m_nSentenceCount, 0); }
