#include <gtest/gtest.h>

#include <cstddef>

#include "text/text.hpp"

using namespace proxylist;

// Exit code -1 as the parent sees it: all 32 bits on Windows, the low 8 on POSIX.
#if defined(_WIN32)
constexpr int kExitCodeMinusOne = -1;
#else
constexpr int kExitCodeMinusOne = 255;
#endif

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kUnderAddressSanitizer = true;
#else
constexpr bool kUnderAddressSanitizer = false;
#endif

// A text the heap cannot hold ends the process with exit code -1 after saying how many bytes
// were asked for; the caller never sees a failure.
TEST(HeapExhausted, EndsTheProcessAndNamesTheBytes) {
    if (kUnderAddressSanitizer) {
        GTEST_SKIP() << "the sanitizer's allocator reports huge requests itself";
    }
    const std::size_t impossible = std::size_t{1} << 62;
    EXPECT_EXIT(
        {
            TextAllocator<char> allocator;
            static_cast<void>(allocator.allocate(impossible));
        },
        ::testing::ExitedWithCode(kExitCodeMinusOne), "4611686018427387904");
}
