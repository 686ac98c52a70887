// What "保存" does: the text of 编辑框4 goes to "ip.txt" beside the executable (or, where the
// user may not write there, in the user's data folder: list_file_folder), replacing what the
// file held. Nothing is reported; a save that fails leaves the old file whole.
#pragma once

#include "app/controls.hpp"
#include "app/files.hpp"

namespace proxylist {

void save_list(Controls& controls, const FilePath& run_directory);

}  // namespace proxylist
