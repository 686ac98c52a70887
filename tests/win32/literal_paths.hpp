// File work on absolute paths in the "\\?\" form, which takes any length: the C and C++
// libraries' own file calls stop at 260 characters.
#pragma once

#include <windows.h>

#include <string>

namespace proxylist::testing {

// "\\?\C:\..." for "C:\...", "\\?\UNC\server\share\..." for "\\server\share\...".
inline std::wstring literal_path(const std::wstring& absolute) {
    if (absolute.starts_with(L"\\\\?\\")) {
        return absolute;
    }
    if (absolute.starts_with(L"\\\\")) {
        return L"\\\\?\\UNC\\" + absolute.substr(2);
    }
    return L"\\\\?\\" + absolute;
}

// Makes every folder of the path that is missing.
inline void make_folders(const std::wstring& absolute) {
    const std::wstring path = literal_path(absolute);
    for (std::size_t at = path.find(L'\\', 7); at != std::wstring::npos;
         at = path.find(L'\\', at + 1)) {
        ::CreateDirectoryW(path.substr(0, at).c_str(), nullptr);
    }
    ::CreateDirectoryW(path.c_str(), nullptr);
}

// The bytes of a file, or a note of why it cannot be read.
inline std::string read_file(const std::wstring& absolute) {
    const HANDLE file =
        ::CreateFileW(literal_path(absolute).c_str(), GENERIC_READ,
                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return "<cannot open, error " + std::to_string(::GetLastError()) + ">";
    }
    std::string bytes(1 << 16, '\0');
    DWORD read = 0;
    ::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    ::CloseHandle(file);
    bytes.resize(read);
    return bytes;
}

// The names in a folder, "." and ".." left out, as a count.
inline std::size_t entries_of(const std::wstring& absolute) {
    WIN32_FIND_DATAW found{};
    const HANDLE search = ::FindFirstFileW((literal_path(absolute) + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return 0;
    }
    std::size_t n = 0;
    do {
        const std::wstring name = found.cFileName;
        n += name != L"." && name != L"..";
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return n;
}

// Removes a folder with everything in it.
inline void remove_tree(const std::wstring& absolute) {
    const std::wstring path = literal_path(absolute);
    WIN32_FIND_DATAW found{};
    const HANDLE search = ::FindFirstFileW((path + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") {
                continue;
            }
            const std::wstring inside = path + L"\\" + name;
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
                remove_tree(inside);
            } else {
                ::SetFileAttributesW(inside.c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileW(inside.c_str());
            }
        } while (::FindNextFileW(search, &found));
        ::FindClose(search);
    }
    ::RemoveDirectoryW(path.c_str());
}

}  // namespace proxylist::testing
