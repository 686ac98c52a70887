#include <gtest/gtest.h>

#include "service/curl_library.hpp"

using namespace proxylist;

// libcurl comes in on the first exchange; Debian's libcurl4 brings OpenSSL along, so the hook
// that accepts certificates outside their dates is there too.
TEST(CurlLibrary, LoadsOnceWithTheOpenSslHook) {
    const CurlLibrary* library = curl_library();
    ASSERT_NE(library, nullptr);
    EXPECT_EQ(curl_library(), library);
    EXPECT_NE(library->easy_setopt, nullptr);
    EXPECT_NE(library->ssl_ctx_get0_param, nullptr);
    EXPECT_NE(library->verify_param_set_flags, nullptr);
}
