#include "app/save_command.hpp"

#include "app/open_files.hpp"

namespace proxylist {

void save_list(Controls& controls, const FilePath& run_directory) {
    const FilePath path = list_file_path(list_file_folder(run_directory));
    OpenFiles files;
    const FileNumber file = files.file_open(path);
    // Read whatever the open gave: with 0 the write and the close simply do nothing.
    const Text list = controls.edit_text(ControlId::编辑框4);
    files.file_write_text(file, list);
    files.file_close(file);
}

}  // namespace proxylist
