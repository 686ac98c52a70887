// Runs a program to its end and gives its exit code.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace proxylist::testing {

// The exit code, or nothing when the program could not be started or did not end within two
// minutes (a generous bound: a start under Wine on a loaded machine takes seconds at most).
inline std::optional<DWORD> run_to_end(const std::wstring& program,
                                       const std::wstring& working_folder) {
    std::wstring command_line = L"\"" + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(program.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          working_folder.c_str(), &startup, &process)) {
        return std::nullopt;
    }
    ::CloseHandle(process.hThread);
    std::optional<DWORD> exit_code;
    DWORD code = 0;
    if (::WaitForSingleObject(process.hProcess, 120000) == WAIT_OBJECT_0 &&
        ::GetExitCodeProcess(process.hProcess, &code)) {
        exit_code = code;
    } else {
        ::TerminateProcess(process.hProcess, 1);
    }
    ::CloseHandle(process.hProcess);
    return exit_code;
}

// The folder that holds the running program.
inline std::wstring own_folder() {
    std::wstring path(32768, L'\0');
    const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    path.resize(n);
    return path.substr(0, path.rfind(L'\\'));
}

}  // namespace proxylist::testing
