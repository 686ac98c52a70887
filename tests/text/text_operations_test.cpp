#include <gtest/gtest.h>

#include "text/text.hpp"

using namespace proxylist;

TEST(TextOperations, ByteLengthCountsBytes) { EXPECT_EQ(text_byte_length("\xB1\xB1\xBE\xA9"), 4); }
