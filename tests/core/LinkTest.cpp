#include <gtest/gtest.h>

#include "link/TextRoutines.h"

TEST(TextRoutines, Placeholder) { EXPECT_EQ(q5::link::ValueAfterColon("A:B:C"), "B:C"); }
