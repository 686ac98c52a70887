// What the tests need to know about Wine when they run under it: Wine maps drive letters and
// shares to Unix folders, and its own calls name those folders.
#pragma once

#include <windows.h>

#include <string>

namespace proxylist::testing {

inline bool running_under_wine() {
    return ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

// The Unix path of a Windows path, through Wine's own kernel32 export; empty outside Wine.
inline std::string wine_unix_path(const std::wstring& windows_path) {
    using ToUnix = char*(CDECL*)(LPCWSTR);
    const auto to_unix = reinterpret_cast<ToUnix>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    char* unix_path = to_unix == nullptr ? nullptr : to_unix(windows_path.c_str());
    if (unix_path == nullptr) {
        return {};
    }
    std::string result(unix_path);
    ::HeapFree(::GetProcessHeap(), 0, unix_path);
    return result;
}

// The Windows path of a Unix path, through Wine's own kernel32 export; empty outside Wine.
inline std::wstring wine_windows_path(const std::string& unix_path) {
    using ToWindows = WCHAR*(CDECL*)(LPCSTR);
    const auto to_windows = reinterpret_cast<ToWindows>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name")));
    WCHAR* windows_path = to_windows == nullptr ? nullptr : to_windows(unix_path.c_str());
    if (windows_path == nullptr) {
        return {};
    }
    std::wstring result(windows_path);
    ::HeapFree(::GetProcessHeap(), 0, windows_path);
    return result;
}

}  // namespace proxylist::testing
