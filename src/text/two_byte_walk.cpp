#include "text/two_byte_walk.hpp"

#include <cstring>

namespace proxylist {
namespace {

constexpr bool is_ascii_letter(char c) noexcept {
    return ascii_lower(c) >= 'a' && ascii_lower(c) <= 'z';
}

bool equal_bytes(const char* a, std::string_view b, bool fold_case) noexcept {
    if (!fold_case) {
        return std::memcmp(a, b.data(), b.size()) == 0;
    }
    for (std::size_t i = 0; i < b.size(); ++i) {
        if (ascii_lower(a[i]) != ascii_lower(b[i])) {
            return false;
        }
    }
    return true;
}

// First offset in [from, to) whose byte matches c, or to.
std::size_t find_byte_forward(std::string_view text, std::size_t from, std::size_t to, char c,
                              bool fold_case) noexcept {
    if (!fold_case || !is_ascii_letter(c)) {
        const void* hit = std::memchr(text.data() + from, c, to - from);
        return hit == nullptr
                   ? to
                   : static_cast<std::size_t>(static_cast<const char*>(hit) - text.data());
    }
    const char folded = ascii_lower(c);
    for (std::size_t i = from; i < to; ++i) {
        if (ascii_lower(text[i]) == folded) {
            return i;
        }
    }
    return to;
}

// Last offset in [0, upto] whose byte is c, or npos.
std::size_t last_byte_at_or_before(std::string_view text, std::size_t upto, char c) noexcept {
#if defined(__GLIBC__)
    // glibc's memrchr scans a word or a vector at a time.
    const void* hit = ::memrchr(text.data(), c, upto + 1);
    return hit == nullptr ? std::string_view::npos
                          : static_cast<std::size_t>(static_cast<const char*>(hit) - text.data());
#else
    for (std::size_t i = upto + 1; i-- > 0;) {
        if (text[i] == c) {
            return i;
        }
    }
    return std::string_view::npos;
#endif
}

// Last offset in [0, upto] whose byte matches c, or npos.
std::size_t find_byte_backward(std::string_view text, std::size_t upto, char c,
                               bool fold_case) noexcept {
    if (!fold_case || !is_ascii_letter(c)) {
        return last_byte_at_or_before(text, upto, c);
    }
    const char folded = ascii_lower(c);
    for (std::size_t i = upto + 1; i-- > 0;) {
        if (ascii_lower(text[i]) == folded) {
            return i;
        }
    }
    return std::string_view::npos;
}

// Offset where the run of lead-range bytes that ends just before `at` begins, scanning no
// further back than floor (a known character start).
std::size_t run_start_before(std::string_view text, std::size_t at, std::size_t floor) noexcept {
    std::size_t j = at;
    while (j > floor && is_lead_byte(text[j - 1])) {
        --j;
    }
    return j;
}

// The next byte of the needle to jump to after `probe`, in turn; letters only when case
// matters, since a folded letter is searched byte by byte.
std::size_t next_probe(std::string_view needle, std::size_t probe, bool fold_case) noexcept {
    for (std::size_t step = 1; step < needle.size(); ++step) {
        const std::size_t candidate = (probe + step) % needle.size();
        if (!fold_case || !is_ascii_letter(needle[candidate])) {
            return candidate;
        }
    }
    return probe;
}

}  // namespace

std::size_t find_last_at_character_start(std::string_view text, std::string_view needle,
                                         bool fold_case) noexcept {
    if (needle.empty() || needle.size() > text.size()) {
        return std::string_view::npos;
    }
    // Candidates come in decreasing order; [run_lo, run_hi) is the last run of bytes >= 0x80
    // measured, with run_lo a character start. Later queries inside it reuse it, so every byte
    // is measured at most once.
    std::size_t run_lo = std::string_view::npos;
    std::size_t run_hi = 0;
    std::size_t upto = text.size() - needle.size();  // the last candidate not yet ruled out
    // The byte of the needle the backward search jumps to. A byte that is common in the text
    // ("<" in a list of "<br>" tags) stops the jump every few bytes; when one does, another
    // byte of the needle takes over. Any byte rules out the candidates it skips.
    std::size_t probe = 0;
    std::size_t misses = 0;
    std::size_t misses_from = upto;
    for (;;) {
        const std::size_t p =
            find_byte_backward(text.substr(probe), upto, needle[probe], fold_case);
        if (p == std::string_view::npos) {
            return std::string_view::npos;
        }
        if (equal_bytes(text.data() + p, needle, fold_case)) {
            if (run_lo == std::string_view::npos || p < run_lo || p > run_hi) {
                run_lo = run_start_before(text, p, 0);
                run_hi = p;
            }
            if ((p - run_lo) % 2 == 0) {
                return p;
            }
        }
        if (p == 0) {
            return std::string_view::npos;
        }
        upto = p - 1;
        constexpr std::size_t kMissesPerCheck = 16;
        constexpr std::size_t kShortestUsefulJump = 256;
        if (++misses == kMissesPerCheck) {
            if (misses_from - upto < kMissesPerCheck * kShortestUsefulJump) {
                probe = next_probe(needle, probe, fold_case);
            }
            misses = 0;
            misses_from = upto;
        }
    }
}

Text::Storage replace_from(std::string_view text, std::size_t offset, std::string_view needle,
                           std::string_view replacement, std::size_t limit, bool fold_case) {
    Text::Storage out;
    out.reserve(text.size());
    std::size_t emitted = 0;    // text[0, emitted) is already in out
    std::size_t walk = offset;  // a character start of the walk
    std::size_t replaced = 0;
    const std::size_t m = needle.size();
    while (replaced < limit && walk + m <= text.size()) {
        const std::size_t last_candidate = text.size() - m + 1;
        const std::size_t p = find_byte_forward(text, walk, last_candidate, needle[0], fold_case);
        if (p == last_candidate) {
            break;
        }
        // walk is a character start, so the parity of the run between them decides p.
        if ((p - run_start_before(text, p, walk)) % 2 != 0) {
            walk = p + 1;  // p is the second byte of a character
            continue;
        }
        if (equal_bytes(text.data() + p, needle, fold_case)) {
            out.append(text.data() + emitted, p - emitted);
            out.append(replacement);
            walk = p + m;
            emitted = walk;
            ++replaced;
        } else {
            walk = p + (is_lead_byte(text[p]) ? 2 : 1);
        }
    }
    out.append(text.data() + emitted, text.size() - emitted);
    return out;
}

}  // namespace proxylist
