#include "ui/win32/accessibility_library.hpp"

#include <optional>

namespace proxylist {
namespace {

template <typename Function>
Function exported(HMODULE library, const char* name) {
    // Through void*: FARPROC is a placeholder type that every export is cast from.
    return library != nullptr
               ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)))
               : nullptr;
}

// From the system folder only, never from beside the program. Kept loaded to the end.
HMODULE load_system_library(const wchar_t* name) {
    if (HMODULE library = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {
        return library;
    }
    // Windows 7 without the update that brought the flag: the full path instead.
    wchar_t path[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(path, MAX_PATH);
    if (length == 0 || length + 1 + lstrlenW(name) >= MAX_PATH) {
        return nullptr;
    }
    lstrcatW(path, L"\\");
    lstrcatW(path, name);
    return LoadLibraryW(path);
}

std::optional<AccessibilityLibrary> load() {
    const HMODULE oleacc = load_system_library(L"oleacc.dll");
    const HMODULE ole32 = load_system_library(L"ole32.dll");
    const HMODULE oleaut32 = load_system_library(L"oleaut32.dll");
    AccessibilityLibrary calls{
        exported<decltype(&CreateStdAccessibleObject)>(oleacc, "CreateStdAccessibleObject"),
        exported<decltype(&LresultFromObject)>(oleacc, "LresultFromObject"),
        exported<decltype(&CoInitializeEx)>(ole32, "CoInitializeEx"),
        exported<decltype(&SysAllocStringLen)>(oleaut32, "SysAllocStringLen"),
    };
    if (calls.create_std_accessible_object == nullptr || calls.lresult_from_object == nullptr ||
        calls.co_initialize_ex == nullptr || calls.sys_alloc_string_len == nullptr) {
        return std::nullopt;
    }
    return calls;
}

}  // namespace

const AccessibilityLibrary* accessibility_library() noexcept {
    static const std::optional<AccessibilityLibrary> library = load();
    return library ? &*library : nullptr;
}

}  // namespace proxylist
