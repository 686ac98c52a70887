#include "demo_page.hpp"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <set>
#include <vector>

namespace demo {
namespace {

struct Range {
    const char* carrier;  // code page 936
    const char* network;  // the first three octets
};

constexpr Range kRanges[] = {
    {"\xB5\xE7\xD0\xC5", "192.0.2."},     // 电信
    {"\xC1\xAA\xCD\xA8", "198.51.100."},  // 联通
    {"\xD2\xC6\xB6\xAF", "203.0.113."},   // 移动
};

constexpr int kCommonPorts[] = {80,   8080, 3128, 1080, 8888, 9999, 808,  9000,
                                8118, 8000, 81,   8081, 3129, 1081, 8090, 6666};

std::uint32_t fnv1a(std::string_view bytes) {
    std::uint32_t hash = 2166136261u;
    for (const char c : bytes) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    }
    return hash;
}

int parse_int(const std::string& text, int fallback) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return (error == std::errc() && end == text.data() + text.size()) ? value : fallback;
}

std::string value_of(const QueryValues& query, std::string_view key) {
    const auto it = query.find(key);
    return it == query.end() ? std::string() : it->second;
}

// The region is echoed into the page; as text, never as markup.
std::string html_escaped(std::string_view text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '&':
                out += "&amp;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out.push_back(c);
        }
    }
    return out;
}

}  // namespace

std::string demo_list_page(const QueryValues& query) {
    const int wanted = std::clamp(parse_int(value_of(query, "tqsl"), 10), 0, max_entries);
    const std::string prefix = value_of(query, "ktip");
    const std::string carrier = value_of(query, "sxa");
    const std::string region = value_of(query, "sxb");
    const int fixed_port = parse_int(value_of(query, "ports"), 0);

    std::vector<const Range*> ranges;
    for (const auto& range : kRanges) {
        if (carrier.empty() || carrier == range.carrier) {
            ranges.push_back(&range);
        }
    }

    std::string page =
        "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">"
        "<title>\xB4\xFA\xC0\xED\x49\x50\xCC\xE1\xC8\xA1</title></head>"  // 代理IP提取
        "<body><p>\xB5\xD8\xC7\xF8\xA3\xBA" +                             // 地区：
        html_escaped(region) +
        "</p></body></html>";

    // Walk the hosts in an order the region chooses; with no fixed port each host may come
    // with several ports, so that large counts can be met.
    const std::uint32_t seed = fnv1a(region);
    const int ports_per_host = fixed_port > 0 ? 1 : static_cast<int>(std::size(kCommonPorts));
    int made = 0;
    for (int round = 0; round < ports_per_host && made < wanted; ++round) {
        for (int i = 0; i < 254 && made < wanted; ++i) {
            const int host =
                1 + static_cast<int>((seed + static_cast<std::uint32_t>(i) * 97u) % 254u);
            for (const Range* range : ranges) {
                if (made >= wanted) {
                    break;
                }
                const std::string address = range->network + std::to_string(host);
                if (address.compare(0, prefix.size(), prefix) != 0) {
                    continue;
                }
                const int port =
                    fixed_port > 0
                        ? fixed_port
                        : kCommonPorts[(seed / 7 + static_cast<std::uint32_t>(host + round)) %
                                       std::size(kCommonPorts)];
                page += address + ":" + std::to_string(port) + "<br>\r\n";
                ++made;
            }
        }
    }
    return page;
}

}  // namespace demo
