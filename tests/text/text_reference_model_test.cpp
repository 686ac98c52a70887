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
#include "text_reference_model.hpp"

using namespace proxylist;
using proxylist::reference::model_find_last;
using proxylist::reference::model_replace;

namespace {

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
