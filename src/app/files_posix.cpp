#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include <cerrno>
#include <random>
#include <string>

#include "app/files.hpp"
#include "app/replacing_file.hpp"

namespace proxylist {

FilePath run_directory() {
    // Linux paths are UTF-8, so the cut is a plain search for the last '/', not a walk by
    // code page 936 characters (which could take a UTF-8 byte for a lead byte).
    std::string path(4096, '\0');
    for (;;) {
        const ssize_t n = ::readlink("/proc/self/exe", path.data(), path.size());
        if (n < 0) {
            return {};
        }
        if (static_cast<std::size_t>(n) < path.size()) {
            path.resize(static_cast<std::size_t>(n));
            break;
        }
        path.resize(path.size() * 2);
    }
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) {
        return {};
    }
    return {.bytes = Text(std::string_view(path).substr(0, slash)), .wide = {}};
}

namespace {

// The user's data folder (XDG base directories): $XDG_DATA_HOME when it is an absolute path,
// else the home folder's .local/share. Empty when there is no home to be found.
std::string user_data_folder() {
    const char* data_home = std::getenv("XDG_DATA_HOME");
    if (data_home != nullptr && data_home[0] == '/') {
        return data_home;
    }
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] != '/') {
        const passwd* entry = ::getpwuid(::getuid());
        home = entry != nullptr ? entry->pw_dir : nullptr;
    }
    if (home == nullptr || home[0] != '/') {
        return {};
    }
    return std::string(home) + "/.local/share";
}

// Makes the folder and its parents where missing; the leaf is the user's alone.
void make_folders(const std::string& path) {
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
        ::mkdir(path.substr(0, slash).c_str(), 0755);
    }
    ::mkdir(path.c_str(), 0700);
}

}  // namespace

FilePath list_file_folder(const FilePath& run_directory) {
    if (!run_directory.empty() && ::access(run_directory.bytes.c_str(), W_OK) == 0) {
        return run_directory;
    }
    const std::string data = user_data_folder();
    if (data.empty()) {
        return run_directory;
    }
    const std::string folder = data + "/proxy-list-tool";
    make_folders(folder);
    return {Text(folder), {}};
}

FilePath list_file_path(const FilePath& folder) {
    return {.bytes = text_join(folder.bytes, "/ip.txt"), .wide = {}};
}

namespace {

class PosixReplacingFile final : public ReplacingFile {
  public:
    PosixReplacingFile(std::string target, std::string temporary, int fd)
        : target_(std::move(target)), temporary_(std::move(temporary)), fd_(fd) {}

    ~PosixReplacingFile() override {
        if (fd_ >= 0) {
            ::close(fd_);
        }
        if (!committed_) {
            ::unlink(temporary_.c_str());
        }
    }
    PosixReplacingFile(const PosixReplacingFile&) = delete;
    PosixReplacingFile& operator=(const PosixReplacingFile&) = delete;

    bool write(std::string_view bytes) override {
        while (!bytes.empty()) {
            const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                return false;
            }
            bytes.remove_prefix(static_cast<std::size_t>(n));
        }
        return true;
    }

    bool commit() override {
        // The bytes must be on the disk before the name points at them, or a crash could
        // leave an empty ip.txt where the old list was.
        const bool synced = ::fsync(fd_) == 0;
        const bool closed = ::close(fd_) == 0;
        fd_ = -1;
        if (!synced || !closed || ::rename(temporary_.c_str(), target_.c_str()) != 0) {
            return false;
        }
        committed_ = true;
        return true;
    }

  private:
    std::string target_;
    std::string temporary_;
    int fd_;
    bool committed_ = false;
};

std::string temporary_name_for(const std::string& target) {
    static constexpr char hex[] = "0123456789abcdef";
    std::random_device entropy;
    std::string name = target + ".tmp-" + std::to_string(::getpid()) + "-";
    for (unsigned bits = entropy(), i = 0; i < 8; ++i, bits >>= 4) {
        name.push_back(hex[bits & 0xF]);
    }
    return name;
}

}  // namespace

std::unique_ptr<ReplacingFile> ReplacingFile::create(const FilePath& path) {
    const std::string target = path.bytes.to_string();
    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    // A target that nobody may write to is read-only by intent: keep it, for every user (root
    // included), as the other platform does.
    if (exists && (S_ISDIR(existing.st_mode) || (existing.st_mode & 0222) == 0)) {
        return nullptr;
    }
    for (int attempt = 0; attempt < 16; ++attempt) {
        std::string temporary = temporary_name_for(target);
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST) {
                continue;
            }
            return nullptr;
        }
        if (exists) {
            ::fchmod(fd, existing.st_mode & 07777);
        }
        return std::make_unique<PosixReplacingFile>(target, std::move(temporary), fd);
    }
    return nullptr;
}

}  // namespace proxylist
