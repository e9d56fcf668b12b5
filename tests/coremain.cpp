// Test main of the platform and core tests: no toolkit, no display; every
// test is kept away from the real desktop and profile.
#include <gtest/gtest.h>

#include "tests/testsupport.h"

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    testsupport::UseTemporaryHome();
    return RUN_ALL_TESTS();
}
