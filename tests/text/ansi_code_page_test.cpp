// The Windows tests run where the ANSI code page is 936, as on the systems the program is made
// for: the file names, the conversions and the literals of the other tests depend on it.
#include <gtest/gtest.h>
#include <windows.h>

TEST(AnsiCodePage, Is936) {
    EXPECT_EQ(::GetACP(), 936u);
}
