// A file that takes the place of another only once it has been written whole: the bytes go to
// a new file beside the target, which replaces the target in one step on commit. Until then,
// and whenever anything fails, the target keeps its old contents.
#pragma once

#include <memory>
#include <string_view>

#include "app/files.hpp"

namespace proxylist {

class ReplacingFile {
  public:
    // Nothing when the file cannot be written (no such folder, no right to write there, or a
    // target that is marked read-only).
    [[nodiscard]] static std::unique_ptr<ReplacingFile> create(const FilePath& path);

    // Removes the new file unless it has been committed.
    virtual ~ReplacingFile() = default;

    // Appends the bytes; false when not all of them reached the file.
    virtual bool write(std::string_view bytes) = 0;
    // Puts the new file in the target's place, or removes it when it cannot.
    virtual bool commit() = 0;
};

}  // namespace proxylist
