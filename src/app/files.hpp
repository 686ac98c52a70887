// What the save command needs from the platform: the executable's folder and a table of open
// files. One implementation per platform (files_posix.cpp).
#pragma once

#include <cstdint>

#include "text/text.hpp"

namespace proxylist {

// The folder that holds the executable, without a trailing separator; absent when unknown.
[[nodiscard]] Text run_directory();

}  // namespace proxylist
