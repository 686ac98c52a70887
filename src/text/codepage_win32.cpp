// Conversions through UTF-16 with the system's own tables: the ANSI code page is 936 on the
// systems this program is made for, and whatever it lacks becomes its default character "?".
// A byte that is no character of code page 936 is left to the system's tables too (0xFF, for
// one, is a private-use character there).
#include <windows.h>

#include <climits>
#include <string>

#include "text/codepage.hpp"
#include "text/codepage_tables.hpp"

namespace proxylist {
namespace {

// Inputs beyond INT_MAX bytes are cut there: the conversion calls count in int, and no answer
// the program keeps comes near it.
int int_length(std::size_t n) noexcept {
    return n > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(n);
}

std::wstring to_utf16(UINT code_page, std::string_view bytes) {
    const int in = int_length(bytes.size());
    const int n = ::MultiByteToWideChar(code_page, 0, bytes.data(), in, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0) {
        ::MultiByteToWideChar(code_page, 0, bytes.data(), in, wide.data(), n);
    }
    return wide;
}

// Appends the conversion of `wide`. A character the code page lacks becomes its default
// character, never a look-alike: best-fit mappings would turn a character into another one.
template <typename Output>
void append_from_utf16(UINT code_page, const std::wstring& wide, Output& out) {
    const int in = int_length(wide.size());
    const DWORD flags = code_page == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
    const int n =
        ::WideCharToMultiByte(code_page, flags, wide.data(), in, nullptr, 0, nullptr, nullptr);
    if (n > 0) {
        const std::size_t at = out.size();
        out.resize(at + static_cast<std::size_t>(n));
        ::WideCharToMultiByte(code_page, flags, wide.data(), in, out.data() + at, n, nullptr,
                              nullptr);
    }
}

}  // namespace

void append_cp936_of_valid_utf8(std::string_view utf8, Text::Storage& out) {
    append_from_utf16(CP_ACP, to_utf16(CP_UTF8, utf8), out);
}

std::string utf8_from_cp936(std::string_view cp936) {
    std::string utf8;
    append_from_utf16(CP_UTF8, to_utf16(CP_ACP, cp936), utf8);
    return utf8;
}

}  // namespace proxylist
