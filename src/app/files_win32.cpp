// The file seam on Windows. Paths normally travel as code page 936 bytes through the ANSI
// calls; a folder that code page 936 cannot write, or a path too long for the 260 bytes those
// calls take, goes through the wide calls instead, so the list is still saved beside the
// executable.
#include "app/files_win32.hpp"

#include <windows.h>

#include <algorithm>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/files.hpp"
#include "app/replacing_file.hpp"

namespace proxylist {
namespace {

// The room the ANSI calls give a path, terminator included.
constexpr DWORD ansi_path_room = MAX_PATH;
// The longest path the wide calls take.
constexpr DWORD wide_path_room = 32768;

// Other openers of ip.txt are denied neither reading nor writing, and a save is refused where
// an opener denies either.
constexpr DWORD share_read_write = FILE_SHARE_READ | FILE_SHARE_WRITE;

class FileHandle {
  public:
    explicit FileHandle(HANDLE handle) noexcept : handle_(handle) {}
    ~FileHandle() { close(); }
    FileHandle(FileHandle&& other) noexcept
        : handle_(std::exchange(other.handle_, INVALID_HANDLE_VALUE)) {}
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    FileHandle& operator=(FileHandle&&) = delete;

    [[nodiscard]] HANDLE get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != INVALID_HANDLE_VALUE; }

    // False when closing failed; the handle is gone either way.
    bool close() noexcept {
        if (handle_ == INVALID_HANDLE_VALUE) {
            return true;
        }
        const bool closed = ::CloseHandle(handle_) != 0;
        handle_ = INVALID_HANDLE_VALUE;
        return closed;
    }

  private:
    HANDLE handle_;
};

// An exclusive lock on the first `length` bytes of a file, released on destruction.
class RangeLock {
  public:
    RangeLock(HANDLE file, ULONGLONG length) noexcept : file_(file), length_(length) {
        OVERLAPPED from_start{};
        locked_ =
            length_ == 0 || ::LockFileEx(file_, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY,
                                         0, low(), high(), &from_start) != 0;
    }
    ~RangeLock() {
        if (locked_ && length_ != 0) {
            OVERLAPPED from_start{};
            ::UnlockFileEx(file_, 0, low(), high(), &from_start);
        }
    }
    RangeLock(const RangeLock&) = delete;
    RangeLock& operator=(const RangeLock&) = delete;

    explicit operator bool() const noexcept { return locked_; }

  private:
    [[nodiscard]] DWORD low() const noexcept { return static_cast<DWORD>(length_); }
    [[nodiscard]] DWORD high() const noexcept { return static_cast<DWORD>(length_ >> 32); }

    HANDLE file_;
    ULONGLONG length_;
    bool locked_ = false;
};

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

bool resize(HANDLE file, LARGE_INTEGER size) noexcept {
    return ::SetFilePointerEx(file, size, nullptr, FILE_BEGIN) && ::SetEndOfFile(file);
}

bool write_all(HANDLE file, std::string_view bytes) noexcept {
    while (!bytes.empty()) {
        const DWORD piece = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 0x40000000));
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data(), piece, &written, nullptr) || written == 0) {
            return false;
        }
        bytes.remove_prefix(written);
    }
    return true;
}

// Copies `from`, read from its start, over `to` from its start.
bool copy_contents(HANDLE from, HANDLE to) {
    std::vector<char> buffer(64 * 1024);
    const LARGE_INTEGER start{};
    if (!::SetFilePointerEx(to, start, nullptr, FILE_BEGIN)) {
        return false;
    }
    for (;;) {
        DWORD read = 0;
        if (!::ReadFile(from, buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr)) {
            return false;
        }
        if (read == 0) {
            return true;
        }
        if (!write_all(to, std::string_view(buffer.data(), read))) {
            return false;
        }
    }
}

// The calls of one character width, so that one replacing file serves both.
struct AnsiCalls {
    using String = std::string;
    static String suffix(std::string_view ascii) { return String(ascii); }
    static DWORD attributes(const String& p) { return ::GetFileAttributesA(p.c_str()); }
    static HANDLE open(const String& p, DWORD access, DWORD share, DWORD disposition, DWORD flags) {
        return ::CreateFileA(p.c_str(), access, share, nullptr, disposition, flags, nullptr);
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
    static HANDLE open(const String& p, DWORD access, DWORD share, DWORD disposition, DWORD flags) {
        return ::CreateFileW(p.c_str(), access, share, nullptr, disposition, flags, nullptr);
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

    Win32ReplacingFile(String target, String temporary, FileHandle file)
        : target_(std::move(target)), temporary_(std::move(temporary)), file_(std::move(file)) {}

    ~Win32ReplacingFile() override {
        file_.close();
        if (!renamed_) {
            Calls::remove(temporary_);
        }
    }
    Win32ReplacingFile(const Win32ReplacingFile&) = delete;
    Win32ReplacingFile& operator=(const Win32ReplacingFile&) = delete;

    bool write(std::string_view bytes) override { return write_all(file_.get(), bytes); }

    bool commit() override {
        // The bytes must be on the disk before the name points at them, or a crash could
        // leave an empty ip.txt where the old list was.
        const bool flushed = ::FlushFileBuffers(file_.get()) != 0;
        const bool closed = file_.close();
        if (!flushed || !closed) {
            return false;  // the destructor removes the temporary file
        }
        if (Calls::replace(temporary_, target_)) {
            renamed_ = true;
            return true;
        }
        // Windows renames nothing onto a file that another program holds open, whatever that
        // program shares. One that allows writing gets the list written into the file itself.
        const DWORD error = ::GetLastError();
        if (error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION) {
            return write_in_place();
        }
        return false;
    }

    // Nothing where ip.txt itself could not be opened for writing with the sharing of the save
    // (marked read-only, a folder, held by a program that denies writing, no such folder), or
    // the new file cannot be made.
    static std::unique_ptr<ReplacingFile> create(String target) {
        // Marked read-only by intent: kept, also where the account could write the file anyway.
        const DWORD attributes = Calls::attributes(target);
        if (attributes != INVALID_FILE_ATTRIBUTES &&
            (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) != 0) {
            return nullptr;
        }
        {
            const FileHandle existing(Calls::open(target, GENERIC_WRITE, share_read_write,
                                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL));
            if (!existing && ::GetLastError() != ERROR_FILE_NOT_FOUND) {
                return nullptr;
            }
        }
        for (int attempt = 0; attempt < 16; ++attempt) {
            String temporary = target + Calls::suffix(temporary_suffix());
            FileHandle file(Calls::open(temporary, GENERIC_WRITE, share_read_write, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL));
            if (file) {
                return std::make_unique<Win32ReplacingFile>(std::move(target), std::move(temporary),
                                                            std::move(file));
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

    // Writes the temporary file's bytes over ip.txt where it stands. Every step that can fail
    // for want of room or for another opener comes before the first old byte is overwritten.
    [[nodiscard]] bool write_in_place() const {
        const FileHandle target(Calls::open(target_, GENERIC_WRITE, share_read_write, OPEN_EXISTING,
                                            FILE_ATTRIBUTE_NORMAL));
        const FileHandle source(Calls::open(temporary_, GENERIC_READ, FILE_SHARE_READ,
                                            OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN));
        LARGE_INTEGER old_size{};
        LARGE_INTEGER new_size{};
        if (!target || !source || !::GetFileSizeEx(target.get(), &old_size) ||
            !::GetFileSizeEx(source.get(), &new_size)) {
            return false;
        }
        // Windows refuses a write into bytes that another opener has locked, which would stop
        // the copy part way; holding the lock first makes it all or nothing.
        const RangeLock lock(
            target.get(), static_cast<ULONGLONG>(std::max(old_size.QuadPart, new_size.QuadPart)));
        if (!lock) {
            return false;
        }
        // A full disk fails here, while the old bytes are still whole.
        if (new_size.QuadPart > old_size.QuadPart && !resize(target.get(), new_size)) {
            resize(target.get(), old_size);
            return false;
        }
        if (!copy_contents(source.get(), target.get())) {
            return false;
        }
        return resize(target.get(), new_size) && ::FlushFileBuffers(target.get());
    }

    String target_;
    String temporary_;
    FileHandle file_;
    bool renamed_ = false;
};

}  // namespace

namespace win32_paths {

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

std::wstring wide_call_path(const std::wstring& path) {
    static constexpr std::wstring_view literal = L"\\\\?\\";
    static constexpr std::wstring_view device = L"\\\\.\\";
    static constexpr std::wstring_view share = L"\\\\";
    if (path.size() + temporary_suffix_room < MAX_PATH || path.starts_with(literal)) {
        return path;
    }
    std::wstring full(wide_path_room, L'\0');
    const DWORD n = ::GetFullPathNameW(path.c_str(), wide_path_room, full.data(), nullptr);
    if (n == 0 || n >= wide_path_room) {
        return path;
    }
    full.resize(n);
    if (full.starts_with(literal)) {
        return full;
    }
    if (full.starts_with(device)) {
        return std::wstring(literal) + full.substr(device.size());
    }
    if (full.starts_with(share)) {
        return std::wstring(literal) + L"UNC\\" + full.substr(share.size());
    }
    return std::wstring(literal) + full;
}

}  // namespace win32_paths

FilePath run_directory() {
    const std::wstring wide = module_path_wide();
    const std::optional<std::string> ansi = module_path_ansi();
    // The ANSI path serves only where it names the same file: code page 936 can write every
    // character of it and it was not cut.
    if (ansi && (wide.empty() || widened(CP_ACP, *ansi) == wide)) {
        const std::size_t separator = win32_paths::last_separator(*ansi);
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
    if (joined.size() + win32_paths::temporary_suffix_room < ansi_path_room) {
        return {std::move(joined), {}};
    }
    return {{}, widened(CP_ACP, joined.view())};
}

std::unique_ptr<ReplacingFile> ReplacingFile::create(const FilePath& path) {
    if (!path.wide.empty()) {
        return Win32ReplacingFile<WideCalls>::create(win32_paths::wide_call_path(path.wide));
    }
    return Win32ReplacingFile<AnsiCalls>::create(path.bytes.to_string());
}

}  // namespace proxylist
