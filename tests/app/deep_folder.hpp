// A chain of nested folders whose path is longer than PATH_MAX. It is made and removed through
// folder descriptors: the path calls refuse such a path, and std::filesystem::remove_all
// gives up on it.
#pragma once

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

namespace proxylist::testing {

class DeepFolder {
  public:
    // Made inside `parent`, which must be a folder of its own: all that is in it goes with
    // this.
    explicit DeepFolder(const std::filesystem::path& parent)
        : parent_(::open(parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)),
          path_(parent.string()) {
        const std::string step(200, 'd');
        int at = ::dup(parent_);
        while (at >= 0 && path_.size() <= PATH_MAX + 512) {
            ::mkdirat(at, step.c_str(), 0755);
            const int next = ::openat(at, step.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            ::close(at);
            at = next;
            path_ += "/" + step;
        }
        leaf_ = at;
    }
    ~DeepFolder() {
        ::close(leaf_);
        remove_inside(parent_);
        ::close(parent_);
    }
    DeepFolder(const DeepFolder&) = delete;
    DeepFolder& operator=(const DeepFolder&) = delete;

    // The full path, past PATH_MAX.
    [[nodiscard]] const std::string& path() const { return path_; }
    // The innermost folder, open.
    [[nodiscard]] int leaf() const { return leaf_; }
    [[nodiscard]] bool made() const { return leaf_ >= 0 && path_.size() > PATH_MAX; }

    [[nodiscard]] std::vector<std::string> leaf_entries() const { return entries(leaf_); }

  private:
    static std::vector<std::string> entries(int folder) {
        std::vector<std::string> names;
        DIR* listing = ::fdopendir(::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (listing == nullptr) {
            return names;
        }
        while (const dirent* entry = ::readdir(listing)) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..") {
                names.push_back(name);
            }
        }
        ::closedir(listing);
        return names;
    }

    static void remove_inside(int folder) {
        for (const auto& name : entries(folder)) {
            if (::unlinkat(folder, name.c_str(), 0) == 0) {
                continue;
            }
            const int inner =
                ::openat(folder, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            if (inner >= 0) {
                remove_inside(inner);
                ::close(inner);
                ::unlinkat(folder, name.c_str(), AT_REMOVEDIR);
            }
        }
    }

    int parent_;
    std::string path_;
    int leaf_ = -1;
};

}  // namespace proxylist::testing
