// The table of files the save command has open, by file number. 0 is never the number of an
// open file; a number that is not open is recognised as such and ignored.
#pragma once

#include <cstdint>
#include <map>
#include <memory>

#include "app/files.hpp"
#include "app/replacing_file.hpp"
#include "text/text.hpp"

namespace proxylist {

using FileNumber = std::int32_t;

class OpenFiles {
  public:
    OpenFiles() = default;
    // A file still open here is given up: its target keeps its old contents.
    ~OpenFiles() = default;
    OpenFiles(const OpenFiles&) = delete;
    OpenFiles& operator=(const OpenFiles&) = delete;

    // Opens path for writing from empty; 0 when that cannot be done (an empty path included).
    [[nodiscard]] FileNumber file_open(const FilePath& path);
    // Writes the text's bytes; false for a number that is not open or a write that failed.
    bool file_write_text(FileNumber file, const Text& text);
    // Closes the file. Its text replaces the target only if every write reached it whole; a
    // failed save leaves the old file as it was.
    void file_close(FileNumber file);

  private:
    struct Entry {
        std::unique_ptr<ReplacingFile> file;
        bool all_written = true;
    };
    std::map<FileNumber, Entry> open_;
    FileNumber next_ = 1;
};

}  // namespace proxylist
