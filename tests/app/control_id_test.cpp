#include <gtest/gtest.h>

#include "app/control_id.hpp"

using namespace proxylist;

TEST(ControlId, NamesFollowCreationOrder) {
    EXPECT_EQ(control_name(ControlId::标签1), "标签1");
    EXPECT_EQ(control_name(ControlId::编辑框4), "编辑框4");
    EXPECT_EQ(control_name(ControlId::标签6), "标签6");
}
