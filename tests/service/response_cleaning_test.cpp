#include <gtest/gtest.h>

#include "service/response_cleaning.hpp"

using namespace proxylist;

TEST(CleanListPage, Basic) {
    EXPECT_EQ(clean_list_page("<html></html>1.2.3.4:80<br>"), Text("1.2.3.4:80\r\n"));
}
