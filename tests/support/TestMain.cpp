// The test programs' main: every test process gets its own cache and runtime folders, so
// tests never touch the user's and never see each other's.

#include "support/TestSupport.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    orv::test::PrivateHome home;
    return RUN_ALL_TESTS();
}
