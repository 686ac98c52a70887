// The request header lines of a page fetch: a fixed, browser-like set the query service
// expects to see.
#pragma once

#include <string>
#include <string_view>

namespace proxylist {

inline constexpr std::string_view user_agent_line =
    "User-Agent: Mozilla/4.0 (compatible; MSIE 8.0; Windows NT 5.1; SV1; .NET CLR 2.0.50727) "
    "RuravADED";
inline constexpr std::string_view accept_line =
    "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, application/x-shockwave-flash, "
    "application/vnd.ms-excel, application/vnd.ms-powerpoint, application/msword, */*";
inline constexpr std::string_view accept_language_line = "Accept-Language: zh-cn";

// caller_lines (ended with CR LF when not empty and not already so), then User-Agent, Accept,
// Referer and Accept-Language, each ended with CR LF and each only when the block so far does
// not hold its name followed by ": " (case-sensitive). The Referer carries request_url's raw
// bytes, except that a CR or LF in it is written %0D / %0A: a raw one would end the line early
// and let the URL's bytes pose as header lines, or end the whole head.
[[nodiscard]] std::string header_block(std::string_view caller_lines, std::string_view request_url);

}  // namespace proxylist
