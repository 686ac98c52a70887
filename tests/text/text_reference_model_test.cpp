// The fast searches jump with memchr/memrchr and decide character starts from byte parity.
// Here they are held against a plain walk, character by character, on random bytes rich in
// lead bytes, CR, LF and the letters of "<br>".
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "text/text.hpp"

using namespace proxylist;

namespace {

unsigned char fold(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? c + 32 : c;
}

bool matches_at(const std::string& t, std::size_t k, const std::string& s, bool fold_case) {
    for (std::size_t i = 0; i < s.size(); ++i) {
        auto a = static_cast<unsigned char>(t[k + i]);
        auto b = static_cast<unsigned char>(s[i]);
        if (fold_case) {
            a = fold(a);
            b = fold(b);
        }
        if (a != b) {
            return false;
        }
    }
    return true;
}

std::size_t character_length(const std::string& t, std::size_t k) {
    return (static_cast<unsigned char>(t[k]) >= 0x80 && k + 1 < t.size()) ? 2 : 1;
}

std::int32_t model_find_last(const std::string& t, const std::string& s,
                             std::optional<std::int32_t> start, bool ignore_case) {
    const auto length = static_cast<std::int64_t>(t.size());
    std::int64_t region = length;
    if (start) {
        region = *start <= 1 ? 0 : std::min<std::int64_t>(*start - 1, length);
    }
    if (s.empty()) {
        return region > 0 ? 1 : -1;
    }
    std::int32_t found = -1;
    for (std::size_t k = 0; k < t.size(); k += character_length(t, k)) {
        if (static_cast<std::int64_t>(k + s.size()) <= region && matches_at(t, k, s, ignore_case)) {
            found = static_cast<std::int32_t>(k + 1);
        }
    }
    return found;
}

std::string model_replace(const std::string& t, const std::string& s, const std::string& r,
                          std::optional<std::int32_t> start, std::optional<std::int32_t> count,
                          bool case_sensitive) {
    const std::size_t offset = (start && *start > 1) ? static_cast<std::size_t>(*start - 1) : 0;
    const bool limited = count && *count >= 0;
    const std::int64_t limit = limited ? *count : 0;
    if (t.empty() || s.empty() || offset >= t.size() || (limited && limit == 0)) {
        return t;
    }
    std::string out = t.substr(0, offset);
    std::size_t k = offset;
    std::int64_t made = 0;
    while (k < t.size()) {
        if ((limited && made == limit) || t.size() - k < s.size()) {
            break;
        }
        if (matches_at(t, k, s, !case_sensitive)) {
            out += r;
            k += s.size();
            ++made;
        } else {
            const std::size_t n = character_length(t, k);
            out += t.substr(k, n);
            k += n;
        }
    }
    out += t.substr(std::min(k, t.size()));
    return out;
}

class RandomTexts {
  public:
    explicit RandomTexts(std::uint32_t seed) : engine_(seed) {}

    std::string text(std::size_t max_length) {
        std::string out(pick(max_length + 1), ' ');
        for (auto& c : out) {
            c = byte();
        }
        return out;
    }
    std::string search(const std::string& inside) {
        // Half of the searches are cut from the text itself, so that matches are common.
        if (!inside.empty() && pick(2) == 0) {
            const std::size_t at = pick(inside.size());
            return inside.substr(at, 1 + pick(std::min<std::size_t>(4, inside.size() - at)));
        }
        return text(4);
    }
    std::optional<std::int32_t> position(std::size_t length) {
        if (pick(4) == 0) {
            return std::nullopt;
        }
        return static_cast<std::int32_t>(pick(length + 5)) - 2;
    }
    std::optional<std::int32_t> count() {
        if (pick(3) == 0) {
            return std::nullopt;
        }
        return static_cast<std::int32_t>(pick(6)) - 2;
    }
    bool flag() { return pick(2) == 0; }

  private:
    std::size_t pick(std::size_t n) {
        return std::uniform_int_distribution<std::size_t>(0, n - 1)(engine_);
    }
    char byte() {
        static constexpr char kAlphabet[] = {'\r', '\n', '<', '>',    'b',    'B',    'r',
                                             'R',  'a',  ' ', '\xA1', '\xB0', '\x80', '\xFF'};
        if (pick(3) == 0) {
            return static_cast<char>(0x80 + pick(0x80));
        }
        return kAlphabet[pick(sizeof kAlphabet)];
    }

    std::mt19937 engine_;
};

}  // namespace

TEST(TextReferenceModel, FindLastAgreesWithACharacterWalk) {
    RandomTexts random(20261211);
    for (int i = 0; i < 4000; ++i) {
        const std::string t = random.text(40);
        const std::string s = random.search(t);
        const auto start = random.position(t.size());
        const bool ignore_case = random.flag();
        const std::int32_t expected = model_find_last(t, s, start, ignore_case);
        ASSERT_EQ(text_find_last(Text(t), Text(s), start, ignore_case), expected)
            << "case " << i << " start " << (start ? *start : 999999);
    }
}

// Long texts of few different bytes make the search switch the byte it jumps to.
TEST(TextReferenceModel, FindLastAgreesOnLongTextsOfFewBytes) {
    RandomTexts random(911);
    std::mt19937 engine(5);
    const std::string alphabet = "<br>\r\n\xA1\xB0";
    for (int i = 0; i < 300; ++i) {
        std::string t(4000 + engine() % 4000, ' ');
        for (auto& c : t) {
            c = alphabet[engine() % alphabet.size()];
        }
        std::string s = t.substr(engine() % (t.size() - 8), 2 + engine() % 6);
        if (i % 3 == 0) {
            s = "</html>";
            t.insert(engine() % 200, s);
        }
        const bool ignore_case = random.flag();
        const auto start = random.position(t.size());
        ASSERT_EQ(text_find_last(Text(t), Text(s), start, ignore_case),
                  model_find_last(t, s, start, ignore_case))
            << "case " << i;
    }
}

TEST(TextReferenceModel, ReplaceAgreesWithACharacterWalk) {
    RandomTexts random(7);
    for (int i = 0; i < 4000; ++i) {
        const std::string t = random.text(40);
        const std::string s = random.search(t);
        const std::string r = random.text(3);
        const auto start = random.position(t.size());
        const auto count = random.count();
        const bool case_sensitive = random.flag();
        const std::string expected = model_replace(t, s, r, start, count, case_sensitive);
        ASSERT_EQ(text_replace(Text(t), Text(s), Text(r), start, count, case_sensitive).to_string(),
                  expected)
            << "case " << i;
    }
}
