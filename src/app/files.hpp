// What the save command needs from the platform: the executable's folder, the list file's
// path beside it, and files that replace their target whole (replacing_file.hpp). One
// implementation per platform: files_posix.cpp, files_win32.cpp.
#pragma once

#include <string>

#include "text/text.hpp"

namespace proxylist {

// A path in the form the platform's file calls take it.
struct FilePath {
    // The path's bytes: on POSIX as they are, on Windows in code page 936 for the ANSI calls.
    Text bytes;
    // Windows only: the path in UTF-16, set instead of `bytes` where code page 936 cannot
    // write it or it is too long for the ANSI calls; the wide calls take it then.
    std::wstring wide;

    [[nodiscard]] bool empty() const noexcept { return bytes.empty() && wide.empty(); }
};

// The folder that holds the executable, without a trailing separator; empty when unknown.
[[nodiscard]] FilePath run_directory();

// The folder ip.txt goes to. On Linux: the executable's folder where this user may write
// there, else (a program installed into a system folder) the user's data folder for this
// program, $XDG_DATA_HOME/proxy-list-tool (~/.local/share/proxy-list-tool), made when
// missing. On Windows: the executable's folder.
[[nodiscard]] FilePath list_file_folder(const FilePath& run_directory);

// "ip.txt" in `folder`, joined with the platform's separator. An unknown (empty) folder names
// no file on Linux, where the join would name the root folder's /ip.txt.
[[nodiscard]] FilePath list_file_path(const FilePath& folder);

}  // namespace proxylist
