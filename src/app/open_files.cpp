#include "app/open_files.hpp"

namespace proxylist {

FileNumber OpenFiles::file_open(const FilePath& path) {
    if (path.empty()) {
        return 0;
    }
    auto file = ReplacingFile::create(path);
    if (!file) {
        return 0;
    }
    const FileNumber number = next_++;
    open_.emplace(number, Entry{std::move(file)});
    return number;
}

bool OpenFiles::file_write_text(FileNumber file, const Text& text) {
    const auto it = open_.find(file);
    if (it == open_.end()) {
        return false;
    }
    if (text.empty()) {
        return true;
    }
    const bool written = it->second.file->write(text.view());
    it->second.all_written = it->second.all_written && written;
    return written;
}

void OpenFiles::file_close(FileNumber file) {
    const auto it = open_.find(file);
    if (it == open_.end()) {
        return;
    }
    if (it->second.all_written) {
        it->second.file->commit();
    }
    open_.erase(it);  // an uncommitted file is removed here
}

}  // namespace proxylist
