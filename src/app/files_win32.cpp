// The file seam on Windows. Paths normally travel as code page 936 bytes through the ANSI
// calls; a folder that code page 936 cannot write, or a path too long for the 260 bytes those
// calls take, goes through the wide calls instead, so the list is still saved beside the
// executable.
#include <windows.h>

#include <optional>
#include <random>
#include <string>
#include <string_view>

#include "app/files.hpp"
#include "app/replacing_file.hpp"

namespace proxylist {
namespace {

// The room the ANSI calls give a path, terminator included.
constexpr DWORD ansi_path_room = MAX_PATH;
// The longest path the wide calls take.
constexpr DWORD wide_path_room = 32768;

// Offset of the last backslash that separates a path of code page 936 bytes, or npos. A 0x5C
// byte that is the second byte of a two-byte character (淺 is 9C 5C) separates nothing.
std::size_t last_separator(std::string_view path) noexcept {
    std::size_t last = std::string_view::npos;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (is_lead_byte(path[i])) {
            ++i;
        } else if (path[i] == '\\') {
            last = i;
        }
    }
    return last;
}

std::wstring widened(UINT code_page, std::string_view bytes) {
    const int n = ::MultiByteToWideChar(code_page, 0, bytes.data(), static_cast<int>(bytes.size()),
                                        nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0) {
        ::MultiByteToWideChar(code_page, 0, bytes.data(), static_cast<int>(bytes.size()),
                              wide.data(), n);
    }
    return wide;
}

// The executable's path from the ANSI call, or nothing when it does not fit its 260 bytes.
std::optional<std::string> module_path_ansi() {
    char buffer[ansi_path_room];
    const DWORD n = ::GetModuleFileNameA(nullptr, buffer, ansi_path_room);
    if (n == 0 || n >= ansi_path_room) {
        return std::nullopt;  // a cut path names some other place
    }
    return std::string(buffer, n);
}

std::wstring module_path_wide() {
    std::wstring buffer(ansi_path_room, L'\0');
    for (;;) {
        const DWORD n =
            ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) {
            return {};
        }
        if (n < buffer.size()) {
            buffer.resize(n);
            return buffer;
        }
        if (buffer.size() >= wide_path_room) {
            return {};
        }
        buffer.resize(buffer.size() * 2);
    }
}

// A path longer than the plain wide calls take needs the "\\?\" form, which also turns off
// their own rewriting of the path.
std::wstring for_wide_calls(const std::wstring& path) {
    // The temporary file's name is up to 32 characters longer.
    if (path.size() + 32 < MAX_PATH || path.starts_with(L"\\\\?\\")) {
        return path;
    }
    if (path.starts_with(L"\\\\")) {
        return L"\\\\?\\UNC\\" + path.substr(2);
    }
    return L"\\\\?\\" + path;
}

// The calls of one character width, so that one replacing file serves both.
struct AnsiCalls {
    using String = std::string;
    static String suffix(std::string_view ascii) { return String(ascii); }
    static DWORD attributes(const String& p) { return ::GetFileAttributesA(p.c_str()); }
    static HANDLE create_new(const String& p) {
        return ::CreateFileA(p.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    static BOOL replace(const String& from, const String& to) {
        return ::MoveFileExA(from.c_str(), to.c_str(),
                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    }
    static BOOL remove(const String& p) { return ::DeleteFileA(p.c_str()); }
};

struct WideCalls {
    using String = std::wstring;
    static String suffix(std::string_view ascii) { return String(ascii.begin(), ascii.end()); }
    static DWORD attributes(const String& p) { return ::GetFileAttributesW(p.c_str()); }
    static HANDLE create_new(const String& p) {
        return ::CreateFileW(p.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    static BOOL replace(const String& from, const String& to) {
        return ::MoveFileExW(from.c_str(), to.c_str(),
                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    }
    static BOOL remove(const String& p) { return ::DeleteFileW(p.c_str()); }
};

template <typename Calls>
class Win32ReplacingFile final : public ReplacingFile {
  public:
    using String = typename Calls::String;

    Win32ReplacingFile(String target, String temporary, HANDLE file)
        : target_(std::move(target)), temporary_(std::move(temporary)), file_(file) {}

    ~Win32ReplacingFile() override {
        if (file_ != INVALID_HANDLE_VALUE) {
            ::CloseHandle(file_);
        }
        if (!committed_) {
            Calls::remove(temporary_);
        }
    }
    Win32ReplacingFile(const Win32ReplacingFile&) = delete;
    Win32ReplacingFile& operator=(const Win32ReplacingFile&) = delete;

    bool write(std::string_view bytes) override {
        while (!bytes.empty()) {
            const DWORD piece =
                bytes.size() > 0x40000000 ? 0x40000000 : static_cast<DWORD>(bytes.size());
            DWORD written = 0;
            if (!::WriteFile(file_, bytes.data(), piece, &written, nullptr) || written == 0) {
                return false;
            }
            bytes.remove_prefix(written);
        }
        return true;
    }

    bool commit() override {
        // The bytes must be on the disk before the name points at them, or a crash could
        // leave an empty ip.txt where the old list was.
        const bool flushed = ::FlushFileBuffers(file_) != 0;
        const bool closed = ::CloseHandle(file_) != 0;
        file_ = INVALID_HANDLE_VALUE;
        if (!flushed || !closed || !Calls::replace(temporary_, target_)) {
            return false;  // the destructor removes the temporary file
        }
        committed_ = true;
        return true;
    }

    // Nothing when the target is a folder or marked read-only, or the new file cannot be made.
    static std::unique_ptr<ReplacingFile> create(const String& target) {
        const DWORD existing = Calls::attributes(target);
        if (existing != INVALID_FILE_ATTRIBUTES &&
            (existing & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) != 0) {
            return nullptr;
        }
        for (int attempt = 0; attempt < 16; ++attempt) {
            String temporary = target + Calls::suffix(temporary_suffix());
            const HANDLE file = Calls::create_new(temporary);
            if (file != INVALID_HANDLE_VALUE) {
                return std::make_unique<Win32ReplacingFile>(target, std::move(temporary), file);
            }
            if (::GetLastError() != ERROR_FILE_EXISTS) {
                return nullptr;
            }
        }
        return nullptr;
    }

  private:
    static std::string temporary_suffix() {
        static constexpr char hex[] = "0123456789abcdef";
        std::random_device entropy;
        std::string suffix = ".tmp-" + std::to_string(::GetCurrentProcessId()) + "-";
        for (unsigned bits = entropy(), i = 0; i < 8; ++i, bits >>= 4) {
            suffix.push_back(hex[bits & 0xF]);
        }
        return suffix;
    }

    String target_;
    String temporary_;
    HANDLE file_;
    bool committed_ = false;
};

}  // namespace

FilePath run_directory() {
    const std::wstring wide = module_path_wide();
    const std::optional<std::string> ansi = module_path_ansi();
    // The ANSI path serves only where it names the same file: code page 936 can write every
    // character of it and it was not cut.
    if (ansi && (wide.empty() || widened(CP_ACP, *ansi) == wide)) {
        const std::size_t separator = last_separator(*ansi);
        if (separator == std::string::npos || separator == 0) {
            return {};
        }
        return {Text(std::string_view(*ansi).substr(0, separator)), {}};
    }
    const std::size_t separator = wide.rfind(L'\\');
    if (separator == std::wstring::npos || separator == 0) {
        return {};
    }
    return {{}, wide.substr(0, separator)};
}

FilePath list_file_folder(const FilePath& run_directory) {
    return run_directory;
}

FilePath list_file_path(const FilePath& folder) {
    if (!folder.wide.empty()) {
        return {{}, folder.wide + L"\\ip.txt"};
    }
    Text joined = text_join(folder.bytes, "\\ip.txt");
    // The temporary file beside it needs room too; past the ANSI calls' room, go wide.
    if (joined.size() + 32 < ansi_path_room) {
        return {std::move(joined), {}};
    }
    return {{}, widened(CP_ACP, joined.view())};
}

std::unique_ptr<ReplacingFile> ReplacingFile::create(const FilePath& path) {
    if (!path.wide.empty()) {
        return Win32ReplacingFile<WideCalls>::create(for_wide_calls(path.wide));
    }
    return Win32ReplacingFile<AnsiCalls>::create(path.bytes.to_string());
}

}  // namespace proxylist
